#include "controls/bitmap_button.h"

#include "controls/owner_draw.h"

#include "controls/window_text.h"
#include "framework/application.h"

#include <commctrl.h>

namespace {

constexpr int kIconGap = 4;       // between icon and caption
constexpr int kMaxTipWidth = 400; // pixels before a tip wraps

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return {0, 0};
    // GetIconInfo hands us copies of the icon's bitmaps.
    fw::GdiBitmap colour(info.hbmColor);
    fw::GdiBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (colour) {
        ::GetObjectW(colour.get(), sizeof(bitmap), &bitmap);
        return {bitmap.bmWidth, bitmap.bmHeight};
    }
    // A monochrome icon: the mask holds AND and XOR halves.
    ::GetObjectW(mask.get(), sizeof(bitmap), &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight / 2};
}

fw::Icon LoadIconResource(HINSTANCE instance, UINT id, int size) {
    if (id == 0)
        return {};
    return fw::Icon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                    size, size, size == 0 ? LR_DEFAULTSIZE : 0)));
}

} // namespace

BitmapButton::BitmapButton() {
    m_colors.fill({::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT)});
}

void BitmapButton::SetColors(ColorState state, COLORREF background, COLORREF text) {
    Pair(state) = {background, text};
    Repaint();
}

COLORREF BitmapButton::GetBackgroundColor(ColorState state) const noexcept {
    return Pair(state).background;
}

COLORREF BitmapButton::GetTextColor(ColorState state) const noexcept {
    return Pair(state).text;
}

void BitmapButton::SetIcons(fw::Icon hover, fw::Icon normal) {
    m_hoverIcon = std::move(hover);
    m_normalIcon = std::move(normal);
    m_hoverIconSize = IconSize(m_hoverIcon.get());
    m_normalIconSize = IconSize(m_normalIcon.get());
    Repaint();
}

void BitmapButton::SetIcons(HINSTANCE instance, UINT hoverId, UINT normalId, int size) {
    if (!instance)
        instance = fw::ResourceInstance();
    SetIcons(LoadIconResource(instance, hoverId, size), LoadIconResource(instance, normalId, size));
}

void BitmapButton::SetTooltipText(const std::wstring& text) {
    if (!Hwnd())
        return;
    m_tooltipText = text;
    TOOLINFOW tool{};
    // The version 2 size is understood by every common-controls version.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(Hwnd());
    tool.uId = reinterpret_cast<UINT_PTR>(Hwnd());
    tool.lpszText = m_tooltipText.data();
    if (!m_tooltip) {
        m_tooltip.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(),
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr));
        if (!m_tooltip)
            return;
        ::SendMessageW(m_tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tooltip.get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
        return;
    }
    ::SendMessageW(m_tooltip.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void BitmapButton::OnAttached() {
    const LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    m_default = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    if (MakeOwnerDrawn(Hwnd()))
        Repaint();
}

bool BitmapButton::OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void BitmapButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const ColorPair& colours = Pair(pressed || m_hover ? ColorState::Hover
                                    : focused          ? ColorState::Focus
                                                       : ColorState::Normal);

    fw::GdiBrush background(::CreateSolidBrush(colours.background));
    ::FillRect(dc, &rect, background.get());

    HICON icon = m_hover && m_hoverIcon ? m_hoverIcon.get() : m_normalIcon.get();
    SIZE iconSize = m_hover && m_hoverIcon ? m_hoverIconSize : m_normalIconSize;
    if (!icon) {
        icon = m_hoverIcon.get();
        iconSize = m_hoverIconSize;
    }

    const std::wstring caption = WindowText(Hwnd());
    SIZE textSize{};
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
    const int gap = icon && !caption.empty() ? kIconGap : 0;
    const int contentWidth = (icon ? iconSize.cx : 0) + gap + textSize.cx;
    const int shift = pressed ? 1 : 0; // the content moves in when pressed
    int left = rect.left + (rect.right - rect.left - contentWidth) / 2 + shift;
    const int middle = (rect.top + rect.bottom) / 2 + shift;

    if (icon) {
        const int top = middle - iconSize.cy / 2;
        if (disabled)
            ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, left, top,
                         iconSize.cx, iconSize.cy, DST_ICON | DSS_DISABLED);
        else
            ::DrawIconEx(dc, left, top, icon, iconSize.cx, iconSize.cy, 0, nullptr, DI_NORMAL);
        left += iconSize.cx + gap;
    }
    if (!caption.empty()) {
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : colours.text);
        RECT text{left, rect.top + shift, rect.right, rect.bottom + shift};
        ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }

    if (pressed)
        ::DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    else if (m_hover)
        ::DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    if (m_default)
        ::FrameRect(dc, &rect, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    if (focused) {
        RECT focus = rect;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
}

bool BitmapButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (!m_hover) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
            if (::TrackMouseEvent(&track)) {
                m_hover = true;
                Repaint();
            }
        }
        return false;
    case WM_MOUSELEAVE:
        m_hover = false;
        Repaint();
        result = 0;
        return true;
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_GETDLGCODE:
        // Owner-drawn buttons are not default candidates for the dialog
        // manager; answer as the push button this one was.
        result = DefaultProc(message, wParam, lParam) |
                 (m_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return true;
    case BM_SETSTYLE:
        // The dialog manager moves the default look between buttons; keep
        // drawing it ourselves.
        m_default = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        result = DefaultProc(message, (wParam & ~WPARAM{BS_TYPEMASK}) | BS_OWNERDRAW, lParam);
        Repaint();
        return true;
    case WM_DESTROY:
        m_tooltip.reset();
        return false;
    default:
        return false;
    }
}

void BitmapButton::Repaint() const {
    if (Hwnd())
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
}
