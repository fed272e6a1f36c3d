#include "support/message_box_catcher.h"

#include "framework/handles.h"
#include "framework/picture.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr int kMessageTextId = 0xFFFF;

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The icon drawn into a small 32-bit bitmap: handles differ between
// processes, pictures do not.
std::vector<std::uint32_t> IconPixels(HICON icon) {
    constexpr int kSize = 32;
    const BITMAPINFO info = fw::TopDownDibFormat(kSize, kSize);
    void* bits = nullptr;
    fw::GdiBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || !bits)
        return {};
    {
        fw::SelectionGuard select(dc.get(), bitmap.get());
        ::DrawIconEx(dc.get(), 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
    }
    const auto* first = static_cast<const std::uint32_t*>(bits);
    return std::vector<std::uint32_t>(first, first + kSize * kSize);
}

MessageBoxIcon IdentifyIcon(HWND box) {
    // The icon is the one static control with SS_ICON.
    HICON shown = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child && !shown;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            shown = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    }
    if (!shown)
        return MessageBoxIcon::None;
    const std::vector<std::uint32_t> picture = IconPixels(shown);
    const std::array<std::pair<const wchar_t*, MessageBoxIcon>, 4> known{{
        {IDI_ERROR, MessageBoxIcon::Error},
        {IDI_WARNING, MessageBoxIcon::Warning},
        {IDI_INFORMATION, MessageBoxIcon::Information},
        {IDI_QUESTION, MessageBoxIcon::Question},
    }};
    for (const auto& [id, kind] : known) {
        HICON system = ::LoadIconW(nullptr, id);
        if (system == shown || (!picture.empty() && IconPixels(system) == picture))
            return kind;
    }
    return MessageBoxIcon::Other;
}

} // namespace

MessageBoxCatcher::MessageBoxCatcher(std::wstring caption, int button, DWORD timeoutMs, Scope scope)
    : m_caption(std::move(caption)), m_button(button), m_timeoutMs(timeoutMs), m_scope(scope),
      m_thread([this] { Run(); }) {}

MessageBoxCatcher::~MessageBoxCatcher() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

const CaughtMessageBox& MessageBoxCatcher::Wait() {
    if (m_thread.joinable())
        m_thread.join();
    return m_caught;
}

HWND MessageBoxCatcher::FindBox() const {
    struct Search {
        const MessageBoxCatcher* self;
        HWND found;
    } search{this, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            wchar_t className[16]{};
            ::GetClassNameW(window, className, 16);
            if (std::wstring_view(className) != L"#32770" || !::IsWindowVisible(window) ||
                !::GetDlgItem(window, kMessageTextId))
                return TRUE;
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (s.self->m_scope == Scope::ThisProcess && process != ::GetCurrentProcessId())
                return TRUE;
            if (!s.self->m_caption.empty() && WindowText(window) != s.self->m_caption)
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void MessageBoxCatcher::Run() {
    const ULONGLONG deadline = ::GetTickCount64() + m_timeoutMs;
    while (!m_stop && ::GetTickCount64() < deadline) {
        if (HWND box = FindBox()) {
            m_caught.found = true;
            m_caught.caption = WindowText(box);
            m_caught.text = WindowText(::GetDlgItem(box, kMessageTextId));
            m_caught.icon = IdentifyIcon(box);
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(m_button, BN_CLICKED), 0);
            return;
        }
        ::Sleep(10);
    }
}
