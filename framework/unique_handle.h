// Owners for Windows handles: one release function per kind, move-only.
#pragma once

#include <type_traits>
#include <utility>

namespace fw {

// Owns one Handle and gives it to Close when done. Invalid is the value
// that means "none": null, or an integer for the kinds whose failure value
// is not (CreateFileW's INVALID_HANDLE_VALUE is -1). Every owner is one line:
//
//     using GdiBrush = UniqueHandle<HBRUSH, decltype(&::DeleteObject), ::DeleteObject>;
template <typename Handle, typename CloseFunction, CloseFunction Close, auto Invalid = nullptr>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != None(); }

    Handle release() noexcept { return std::exchange(m_handle, None()); }

    void reset(Handle handle = None()) noexcept {
        Handle old = std::exchange(m_handle, handle);
        if (old != None())
            Close(old);
    }

    // For out-parameters of creating functions: releases what is held first.
    Handle* put() noexcept {
        reset();
        return &m_handle;
    }

private:
    static Handle None() noexcept {
        if constexpr (std::is_null_pointer_v<decltype(Invalid)>)
            return Handle{};
        else
            return reinterpret_cast<Handle>(Invalid);
    }

    Handle m_handle = None();
};

// Owns a handle whose release needs the value it came with (the window a
// device context belongs to, the device context an object was selected
// into); null means "none". Move-only like UniqueHandle: a moved-from owner
// releases nothing.
template <typename Context, typename Handle, void (*Release)(Context, Handle) noexcept>
class ContextHandle {
public:
    ContextHandle(Context context, Handle handle) noexcept : m_context(context), m_handle(handle) {}
    ~ContextHandle() { reset(); }

    ContextHandle(const ContextHandle&) = delete;
    ContextHandle& operator=(const ContextHandle&) = delete;

    ContextHandle(ContextHandle&& other) noexcept
        : m_context(other.m_context), m_handle(std::exchange(other.m_handle, Handle{})) {}
    ContextHandle& operator=(ContextHandle&& other) noexcept {
        if (this != &other) {
            reset();
            m_context = other.m_context;
            m_handle = std::exchange(other.m_handle, Handle{});
        }
        return *this;
    }

    Handle get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Handle{}; }

    void reset() noexcept {
        if (Handle old = std::exchange(m_handle, Handle{}))
            Release(m_context, old);
    }

private:
    Context m_context;
    Handle m_handle;
};

} // namespace fw
