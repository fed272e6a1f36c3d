#include "controls/color_static_st.h"

#include "controls/focus_cue.h"

CColorStaticST::CColorStaticST()
    : m_textColor(::GetSysColor(COLOR_BTNTEXT)), m_background(::GetSysColor(COLOR_BTNFACE)) {}

CColorStaticST::~CColorStaticST() {
    // The control may outlive us: give it back the font it had.
    if (Hwnd() && m_captionFont &&
        reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0)) == m_captionFont.get())
        ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_originalFont), FALSE);
}

void CColorStaticST::SetColors(ColorIndex which, COLORREF colour) {
    if (which == ColorIndex::Background) {
        m_background = colour;
        m_backgroundBrush.reset(::CreateSolidBrush(colour));
    } else {
        m_textColor = colour;
    }
    Repaint();
}

void CColorStaticST::SetColorField(bool field) {
    m_colorField = field;
    Repaint();
}

bool CColorStaticST::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC)
        return false;
    auto dc = reinterpret_cast<HDC>(wParam);
    const LONG_PTR type = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
        // The static restores its own font after painting.
        if (HFONT font = CaptionFont())
            ::SelectObject(dc, font);
    }
    ::SetTextColor(dc, m_textColor);
    ::SetBkColor(dc, m_background);
    result = reinterpret_cast<LRESULT>(BackgroundBrush());
    return true;
}

bool CColorStaticST::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // A focused link or swatch takes Enter and Space as a click.
    if (HandleClickKeys(
            message, wParam, lParam, true, [&] { return DefaultProc(message, wParam, lParam); },
            [this] { NotifyClicked(); }, result))
        return true;
    switch (message) {
    case WM_PAINT:
        // The static paints itself unless there is more to draw than it knows.
        if (!m_colorField && !ShowsFocusCue(Hwnd()))
            return false;
        OnPaint();
        result = 0;
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Repaint();
        return false;
    case WM_UPDATEUISTATE:
        result = DefaultProc(message, wParam, lParam);
        Repaint();
        return true;
    case WM_SETCURSOR:
        if (!m_cursor)
            return false;
        ::SetCursor(m_cursor);
        result = TRUE;
        return true;
    case WM_DESTROY:
        m_backgroundBrush.reset();
        return false;
    default:
        return false;
    }
}

HFONT CColorStaticST::CaptionFont() {
    if (m_captionFont)
        return m_captionFont.get();
    m_originalFont = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    // A static without a font of its own draws with the system font.
    HFONT controlFont =
        m_originalFont ? m_originalFont : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTW font{};
    if (::GetObjectW(controlFont, sizeof(font), &font) != sizeof(font))
        return nullptr;
    if (m_bold)
        font.lfWeight = FW_BOLD;
    if (m_underline)
        font.lfUnderline = TRUE;
    m_captionFont.reset(::CreateFontIndirectW(&font));
    // Some static controls (Wine's) select their own font after asking for
    // colours, so selecting ours into the DC is not enough: make it theirs.
    // https://learn.microsoft.com/en-us/windows/win32/controls/wm-ctlcolorstatic
    if (m_captionFont)
        ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_captionFont.get()), FALSE);
    return m_captionFont.get();
}

HBRUSH CColorStaticST::BackgroundBrush() {
    // Also after WM_DESTROY, should the object be bound again.
    if (!m_backgroundBrush)
        m_backgroundBrush.reset(::CreateSolidBrush(m_background));
    return m_backgroundBrush.get();
}

void CColorStaticST::OnPaint() {
    fw::PaintDc paint(Hwnd());
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    if (m_colorField)
        ::FillRect(paint.get(), &client, BackgroundBrush());
    else
        DefaultProc(WM_PAINT, reinterpret_cast<WPARAM>(paint.get()), 0);
    if (ShowsFocusCue(Hwnd()))
        DrawFocusCue(paint.get(), client, 0);
}

void CColorStaticST::NotifyClicked() const {
    // Only a static that reports clicks is one to click.
    if (!(::GetWindowLongPtrW(Hwnd(), GWL_STYLE) & SS_NOTIFY) || !::IsWindowEnabled(Hwnd()))
        return;
    ::SendMessageW(::GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(Hwnd()), STN_CLICKED),
                   reinterpret_cast<LPARAM>(Hwnd()));
}

void CColorStaticST::Repaint() const {
    if (Hwnd())
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
}
