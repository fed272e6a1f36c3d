#include "controls/button_rgn.h"

#include "controls/owner_draw.h"

#include "controls/caption_layout.h"
#include "controls/focus_cue.h"
#include "controls/mask_region.h"
#include "controls/window_text.h"
#include "framework/application.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {

fw::GdiBitmap LoadBitmapResource(HINSTANCE instance, UINT id) {
    if (id == 0)
        return {};
    return fw::GdiBitmap(static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

// The focus cue's distance from the edge, clear of the pictures' rounded
// corners.
constexpr int kAutoInsetAt96 = 3;

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

// The screen position of a mouse message's client coordinates.
POINT MessagePointOnScreen(HWND window, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(window, &point);
    return point;
}

// Saves a device context's state and restores it when it goes.
class DcStateGuard {
public:
    explicit DcStateGuard(HDC dc) noexcept : m_dc(dc), m_saved(::SaveDC(dc)) {}
    ~DcStateGuard() {
        if (m_saved)
            ::RestoreDC(m_dc, m_saved);
    }
    DcStateGuard(const DcStateGuard&) = delete;
    DcStateGuard& operator=(const DcStateGuard&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// Buttons draw with their parent's clipping (CS_PARENTDC), which ignores a
// window region: clip to the shape ourselves.
void ClipToWindowShape(HWND window, HDC dc) {
    fw::GdiRegion shape(::CreateRectRgn(0, 0, 0, 0));
    if (!shape || ::GetWindowRgn(window, shape.get()) == ERROR)
        return;
    // The shape is relative to the window, the device context to the client
    // area.
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    POINT client{0, 0};
    ::ClientToScreen(window, &client);
    ::OffsetRgn(shape.get(), bounds.left - client.x, bounds.top - client.y);
    ::ExtSelectClipRgn(dc, shape.get(), RGN_AND);
}

void FillButtonFace(HDC dc, const RECT& rect) {
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace

CButtonRgn::CButtonRgn() : m_captionColor(::GetSysColor(COLOR_BTNTEXT)) {}

void CButtonRgn::SetBitmaps(HINSTANCE instance, UINT normal, UINT pressed, UINT hover,
                            UINT disabled, UINT mask) {
    if (!instance)
        instance = fw::ResourceInstance();
    // The old pictures go before the new ones are loaded.
    SetBitmaps(ButtonBitmaps{});
    ButtonBitmaps bitmaps;
    bitmaps.normal = LoadBitmapResource(instance, normal);
    bitmaps.pressed = LoadBitmapResource(instance, pressed);
    bitmaps.hover = LoadBitmapResource(instance, hover);
    bitmaps.disabled = LoadBitmapResource(instance, disabled != 0 ? disabled : normal);
    bitmaps.mask = LoadBitmapResource(instance, mask);
    SetBitmaps(std::move(bitmaps));
}

void CButtonRgn::SetBitmaps(ButtonBitmaps bitmaps) {
    m_normal = std::move(bitmaps.normal);
    m_pressed = std::move(bitmaps.pressed);
    m_hoverPicture = std::move(bitmaps.hover);
    m_disabled = std::move(bitmaps.disabled);
    m_mask = std::move(bitmaps.mask);
    m_edgeMode = kNoEdge;
    m_placement = kOwnSize;
    // The focus inset stays: a button that changes its picture (a tool
    // chosen) must still show the keyboard where it is.

    if (m_mask && Hwnd()) {
        fw::GdiRegion region = RegionFromMask(m_mask.get());
        // The window owns the region once it is applied.
        if (region && ::SetWindowRgn(Hwnd(), region.get(), TRUE))
            region.release();
        // Pictures are drawn at their own size: the button takes the mask's.
        const SIZE size = BitmapSize(m_mask.get());
        ::SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Repaint();
}

void CButtonRgn::SetDrawsCaption(bool draws) {
    m_drawsCaption = draws;
    Repaint();
}

void CButtonRgn::SetCaptionColor(COLORREF colour) {
    m_captionColor = colour;
    Repaint();
}

void CButtonRgn::OnAttached() {
    if (MakeOwnerDrawn(Hwnd()))
        Repaint();
}

bool CButtonRgn::OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void CButtonRgn::DrawItem(const DRAWITEMSTRUCT& item) {
    // While the left button is held, the look follows the pointer; changing
    // it repaints the button.
    POINT cursor;
    if (m_tracking && ::GetCapture() == Hwnd() && ::GetCursorPos(&cursor) && FollowPointer(cursor))
        return;

    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    DcStateGuard state(dc);
    ClipToWindowShape(Hwnd(), dc);
    const std::wstring caption = m_drawsCaption ? WindowText(Hwnd()) : std::wstring();
    ::SetBkMode(dc, TRANSPARENT);
    fw::SelectionGuard font(dc, CaptionFont(dc));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const POINT origin = CaptionOrigin(rect.right - rect.left, rect.bottom - rect.top,
                                       static_cast<int>(caption.size()), metrics);
    const int x = rect.left + origin.x;
    const int y = rect.top + origin.y;

    if (item.itemState & ODS_DISABLED) {
        if (m_disabled)
            DrawPicture(dc, rect, m_disabled.get());
        else
            FillButtonFace(dc, rect);
        if (m_edgeMode == kEdgeByState)
            ::DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
        // Embossed caption.
        ::SetTextColor(dc, ::GetSysColor(COLOR_3DHILIGHT));
        ::TextOutW(dc, x + 1, y + 1, caption.c_str(), static_cast<int>(caption.size()));
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
        ::TextOutW(dc, x, y, caption.c_str(), static_cast<int>(caption.size()));
        return;
    }

    if (item.itemState & ODS_SELECTED) {
        if (m_pressed)
            DrawPicture(dc, rect, m_pressed.get());
        else
            FillButtonFace(dc, rect);
        if (m_edgeMode == kEdgeByState)
            ::DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT);
    } else {
        HBITMAP picture = m_hover && m_hoverPicture ? m_hoverPicture.get() : m_normal.get();
        if (picture)
            DrawPicture(dc, rect, picture);
        else
            FillButtonFace(dc, rect);
        if (m_edgeMode != kNoEdge)
            ::DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    }

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) &&
        ShowsFocusCue(Hwnd()))
        DrawFocus(dc, rect);
    ::SetTextColor(dc, m_captionColor);
    ::TextOutW(dc, x, y, caption.c_str(), static_cast<int>(caption.size()));
}

void CButtonRgn::DrawFocus(HDC dc, const RECT& rect) const {
    if (m_focusInset == 0)
        return;
    if (m_focusInset == kAutoFocusInset) {
        DrawFocusCue(dc, rect, kAutoInsetAt96);
        return;
    }
    RECT focus = rect;
    ::InflateRect(&focus, -m_focusInset, -m_focusInset);
    ::DrawFocusRect(dc, &focus);
}

void CButtonRgn::DrawPicture(HDC dc, const RECT& rect, HBITMAP picture) const {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const SIZE pictureSize = BitmapSize(picture);
    fw::MemoryDc pictureDc(::CreateCompatibleDC(dc));
    if (!pictureDc || width <= 0 || height <= 0)
        return;
    fw::SelectionGuard selectPicture(pictureDc.get(), picture);

    if (m_placement == kTile) {
        DrawTiled(dc, rect, pictureDc.get(), pictureSize);
        return;
    }
    const bool stretch = m_placement == kStretch;
    // Copies a picture onto a target at the button's size or the picture's.
    auto blit = [&](HDC target, int left, int top, HDC source, SIZE sourceSize, DWORD rop) {
        if (stretch) {
            ::SetStretchBltMode(target, COLORONCOLOR);
            ::StretchBlt(target, left, top, width, height, source, 0, 0, sourceSize.cx,
                         sourceSize.cy, rop);
        } else {
            ::BitBlt(target, left, top, std::min<int>(width, sourceSize.cx),
                     std::min<int>(height, sourceSize.cy), source, 0, 0, rop);
        }
    };
    if (!m_mask) {
        blit(dc, rect.left, rect.top, pictureDc.get(), pictureSize, SRCCOPY);
        return;
    }

    // Black mask pixels show the picture, white ones what is under the
    // button: background ^ picture, & mask, ^ picture.
    fw::MemoryDc work(::CreateCompatibleDC(dc));
    fw::GdiBitmap workBitmap(::CreateCompatibleBitmap(dc, width, height));
    fw::MemoryDc maskDc(::CreateCompatibleDC(dc));
    if (!work || !workBitmap || !maskDc)
        return;
    fw::SelectionGuard selectWork(work.get(), workBitmap.get());
    fw::SelectionGuard selectMask(maskDc.get(), m_mask.get());
    ::BitBlt(work.get(), 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
    blit(work.get(), 0, 0, pictureDc.get(), pictureSize, SRCINVERT);
    blit(work.get(), 0, 0, maskDc.get(), BitmapSize(m_mask.get()), SRCAND);
    blit(work.get(), 0, 0, pictureDc.get(), pictureSize, SRCINVERT);
    ::BitBlt(dc, rect.left, rect.top, width, height, work.get(), 0, 0, SRCCOPY);
}

void CButtonRgn::DrawTiled(HDC dc, const RECT& rect, HDC pictureDc, SIZE pictureSize) const {
    if (pictureSize.cx <= 0 || pictureSize.cy <= 0)
        return;
    for (int top = rect.top; top < rect.bottom; top += pictureSize.cy) {
        const int rowHeight = std::min<int>(pictureSize.cy, rect.bottom - top);
        for (int left = rect.left; left < rect.right; left += pictureSize.cx) {
            const int columnWidth = std::min<int>(pictureSize.cx, rect.right - left);
            ::BitBlt(dc, left, top, columnWidth, rowHeight, pictureDc, 0, 0, SRCCOPY);
        }
    }
}

bool CButtonRgn::FollowPointer(POINT screen) {
    const bool over = ::WindowFromPoint(screen) == Hwnd();
    const bool pushed = (::SendMessageW(Hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    if (over == pushed)
        return false;
    ::SendMessageW(Hwnd(), BM_SETSTATE, over ? TRUE : FALSE, 0);
    return true;
}

HFONT CButtonRgn::CaptionFont(HDC dc) {
    if (m_captionFont)
        return m_captionFont.get();

    auto controlFont = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    if (!controlFont)
        controlFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW base{};
    ::GetObjectW(controlFont, sizeof(base), &base);
    ::lstrcpynW(base.lfFaceName, L"Arial", LF_FACESIZE);
    base.lfWidth = 0;
    const int pixelsPerInch = ::GetDeviceCaps(dc, LOGPIXELSY);
    auto fontAt = [&](int pointSize) {
        LOGFONTW font = base;
        font.lfHeight = -::MulDiv(pointSize, pixelsPerInch, 72);
        return fw::GdiFont(::CreateFontIndirectW(&font));
    };

    const std::wstring caption = m_drawsCaption ? WindowText(Hwnd()) : std::wstring();
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    m_fittedPointSize =
        FitCaptionPointSize(m_pointSize, window.right - window.left, [&](int pointSize) {
            fw::GdiFont font = fontAt(pointSize);
            fw::SelectionGuard select(dc, font.get());
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
            return static_cast<int>(extent.cx);
        });
    m_captionFont = fontAt(m_fittedPointSize);
    return m_captionFont.get();
}

bool CButtonRgn::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Enter on a focused button is that button's click: an owner-drawn button
    // never becomes the default, and the dialog manager would press IDOK.
    // (Space is the button class's own.)
    if (HandleClickKeys(
            message, wParam, lParam, false, [&] { return DefaultProc(message, wParam, lParam); },
            [this] {
                if (::IsWindowEnabled(Hwnd()))
                    ::SendMessageW(::GetParent(Hwnd()), WM_COMMAND,
                                   MAKEWPARAM(::GetDlgCtrlID(Hwnd()), BN_CLICKED),
                                   reinterpret_cast<LPARAM>(Hwnd()));
            },
            result))
        return true;
    switch (message) {
    case WM_MOUSEMOVE:
        RelayToToolTip(message, wParam, lParam);
        if (m_tracking && ::GetCapture() == Hwnd()) {
            // Our test honours the window's shape; the class's own test uses
            // the client rectangle and would fight it.
            FollowPointer(MessagePointOnScreen(Hwnd(), lParam));
            result = 0;
            return true;
        }
        if (!m_hover) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
            if (::TrackMouseEvent(&track)) {
                m_hover = true;
                Repaint();
            }
        }
        return false;
    case WM_LBUTTONDOWN:
        OnLButtonDown(wParam, lParam);
        return false;
    case WM_LBUTTONDBLCLK:
        // A double click is a second press, so it clicks twice.
        OnLButtonDown(wParam, lParam);
        result = DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
        return true;
    case WM_LBUTTONUP:
        RelayToToolTip(message, wParam, lParam);
        m_tracking = false;
        return false;
    case WM_MOUSELEAVE:
        m_hover = false;
        Repaint();
        result = 0;
        return true;
    case WM_KILLFOCUS:
        if (::GetCapture() == Hwnd()) {
            ::ReleaseCapture();
            m_tracking = false;
        }
        return false;
    case WM_SETCURSOR:
        if (!m_cursor)
            return false;
        ::SetCursor(m_cursor);
        result = TRUE;
        return true;
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_UPDATEUISTATE:
        // The focus cue comes or goes.
        result = DefaultProc(message, wParam, lParam);
        Repaint();
        return true;
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_SIZE:
        // Fit the caption again at the next paint.
        m_captionFont.reset();
        m_fittedPointSize = m_pointSize;
        return false;
    default:
        return false;
    }
}

void CButtonRgn::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    RelayToToolTip(WM_LBUTTONDOWN, wParam, lParam);
    if (m_hover) {
        TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | TME_LEAVE, Hwnd(), 0};
        ::TrackMouseEvent(&cancel);
        m_hover = false;
    }
    m_tracking = true;
}

void CButtonRgn::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!m_tooltip)
        return;
    const DWORD position = ::GetMessagePos();
    MSG relayed{Hwnd(),
                message,
                wParam,
                lParam,
                static_cast<DWORD>(::GetMessageTime()),
                {GET_X_LPARAM(position), GET_Y_LPARAM(position)}};
    ::SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CButtonRgn::Repaint() const {
    if (Hwnd())
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
}
