// Listener lists. A class that reports events derives from CNotifier of its
// listener interface; every listener interface derives from
// CNotifierEventsBase.
//
// Threads: AddListener, RemoveListener and firing may run on any thread. One
// process-wide lock guards every list during add, remove and each step of a
// walk; it is never held while a listener runs, so a listener may add or
// remove listeners (itself included) while it is being called.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class CNotifierEventsBase {
public:
    static constexpr std::uint32_t kAliveMarker = 0xF0F0;

    CNotifierEventsBase() noexcept : m_marker(kAliveMarker) {}
    CNotifierEventsBase(const CNotifierEventsBase&) noexcept : m_marker(kAliveMarker) {}
    CNotifierEventsBase& operator=(const CNotifierEventsBase&) noexcept { return *this; }
    // A listener must unregister before it dies; the cleared marker only lets
    // a walk skip and drop one that did not.
    virtual ~CNotifierEventsBase() { m_marker = 0; }

    bool IsListenerAlive() const noexcept { return m_marker == kAliveMarker; }

private:
    volatile std::uint32_t m_marker;
};

class CNotifierBase {
public:
    bool IsFiringEnabled() const noexcept { return m_firingEnabled != 0; }
    void EnableFiring(bool enable) noexcept { m_firingEnabled = enable ? 1 : 0; }

protected:
    CNotifierBase() = default;
    ~CNotifierBase() = default;

    // The one lock shared by every notifier in the process.
    class Lock {
    public:
        Lock() noexcept;
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
    };

private:
    volatile std::int32_t m_firingEnabled = 1;
};

template <typename Events> class CNotifier : public CNotifierBase {
public:
    CNotifier() = default;
    CNotifier(const CNotifier&) = delete;
    CNotifier& operator=(const CNotifier&) = delete;

    // The index of the listener: the existing one when it is already listed.
    int AddListener(Events* listener) {
        Lock lock;
        for (std::size_t i = 0; i < m_listeners.size(); ++i) {
            if (m_listeners[i] == listener)
                return static_cast<int>(i);
        }
        m_listeners.push_back(listener);
        return static_cast<int>(m_listeners.size() - 1);
    }

    // The index the listener had, or -1 when it was not listed.
    int RemoveListener(Events* listener) {
        Lock lock;
        for (std::size_t i = 0; i < m_listeners.size(); ++i) {
            if (m_listeners[i] == listener) {
                EraseAt(i);
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::size_t ListenerCount() const {
        Lock lock;
        return m_listeners.size();
    }

    // Calls (listener->*operation)(args...) on every listener in registration
    // order, while firing is enabled. An exception from a listener is
    // swallowed and the walk goes on with the next one.
    template <typename Operation, typename... Args>
    void Fire(Operation operation, const Args&... args) {
        FireEach([&](Events& listener) { (listener.*operation)(args...); });
    }

    // The same with any callable taking the listener.
    template <typename Callback> void FireEach(Callback&& callback) {
        if (!IsFiringEnabled())
            return;
        Walk walk(*this);
        while (Events* listener = walk.Next()) {
            try {
                callback(*listener);
            } catch (...) {
                // A failing listener must not keep the others from hearing.
            }
        }
    }

private:
    // One walk through the list. Its cursor is registered with the notifier
    // so that removing an entry before it does not make the walk skip the
    // next listener.
    class Walk {
    public:
        explicit Walk(CNotifier& owner) : m_owner(owner) {
            Lock lock;
            m_owner.m_walks.push_back(this);
        }
        ~Walk() {
            Lock lock;
            auto& walks = m_owner.m_walks;
            for (std::size_t i = 0; i < walks.size(); ++i) {
                if (walks[i] == this) {
                    walks.erase(walks.begin() + static_cast<std::ptrdiff_t>(i));
                    break;
                }
            }
        }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;

        Events* Next() {
            Lock lock;
            auto& listeners = m_owner.m_listeners;
            while (cursor < listeners.size() && !listeners[cursor]->IsListenerAlive())
                m_owner.EraseAt(cursor);
            if (cursor >= listeners.size())
                return nullptr;
            return listeners[cursor++];
        }

        std::size_t cursor = 0;

    private:
        CNotifier& m_owner;
    };

    // Call with the lock held.
    void EraseAt(std::size_t index) {
        m_listeners.erase(m_listeners.begin() + static_cast<std::ptrdiff_t>(index));
        for (Walk* walk : m_walks) {
            if (walk->cursor > index)
                --walk->cursor;
        }
    }

    std::vector<Events*> m_listeners;
    std::vector<Walk*> m_walks;
};
