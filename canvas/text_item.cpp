#include "canvas/text_item.h"

#include <algorithm>
#include <cmath>

#include "canvas/canvas_panel.h"
#include "canvas/pixel_buffer.h"
#include "resource.h"

namespace {

constexpr wchar_t kHiddenWindowClass[] = L"LumvexTextItemWindow";
constexpr wchar_t kHiddenWindowTitle[] = L"Text_Item_Hidden_Window";
constexpr int kFontPoints = 14;
constexpr gfx::Argb kTrackingFill = 0x80FFFFFF;
constexpr gfx::Argb kBoxFill = 0xF0FFFFFF;
constexpr gfx::Argb kBoxBorder = 0xFF000000;
// Repainted around the box when its text changes: the border and handles.
constexpr int kRepaintMargin = 6;

void RegisterHiddenWindowClass(WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kHiddenWindowClass;
    ::RegisterClassExW(&wc); // fails harmlessly once registered
}

// A click opens a box this wide on the screen.
constexpr float kDefaultViewWidth = 200.0f;

// 14-point Arial at the vertical resolution of the window's screen.
fw::GdiFont MakeFont(HWND window) {
    fw::WindowDc dc(window);
    const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return fw::GdiFont(::CreateFontW(-::MulDiv(kFontPoints, dpi, 72), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                     0, 0, L"Arial"));
}

// Draws a text's layout with GDI into a rectangle of the graphics' world, in
// one colour over whatever the graphics holds.
//
// GDI knows nothing of the graphics' transform, and its anti-aliasing blends
// with what the device context holds, which for a graphics over a bitmap is
// not the picture (Wine hands out a scratch bitmap). So the text is drawn
// through the same transform, at the target's own resolution, black on white
// in a bitmap of ours (the box is white: edges come out as they would on it),
// and that coverage becomes the alpha of the colour, drawn pixel for pixel
// onto the target. The text then sits where the graphics would put it, at
// its scale, whatever bitmap, offset and zoom the graphics stands for. (On
// screen the panel keeps the box's pixels, so this runs when the box
// changes, not on every paint.)
// https://learn.microsoft.com/en-us/windows/win32/api/gdiplusgraphics/nf-gdiplusgraphics-graphics-gethdc
void DrawTextOver(gfx::Graphics& graphics, RECT rect, const CTextLayout& layout, HFONT font,
                  COLORREF color) {
    const gfx::Matrix world = graphics.GetTransform();
    float m[6] = {};
    if (!world || world.GetElements(m) != Gdiplus::Ok)
        return;
    // Only what the graphics may still change: a partial repaint of a big
    // box at a high zoom needs a small bitmap.
    const RECT clip = graphics.GetClipBounds();
    RECT visible{};
    if (!::IntersectRect(&visible, &rect, &clip))
        return;
    ::InflateRect(&visible, 1, 1); // the rounding of fractional zooms
    const RECT target = world.TransformRect(visible);
    if (::IsRectEmpty(&target))
        return;
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;

    const CPixelBuffer coverage(width, height);
    if (!coverage)
        return;
    {
        CBitmapDc dc(coverage.Handle());
        if (!dc)
            return;
        fw::SelectionGuard selectFont(dc.get(), font);
        ::PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
        ::SetGraphicsMode(dc.get(), GM_ADVANCED);
        const XFORM toBitmap{m[0],
                             m[1],
                             m[2],
                             m[3],
                             m[4] - static_cast<float>(target.left),
                             m[5] - static_cast<float>(target.top)};
        ::SetWorldTransform(dc.get(), &toBitmap);
        ::SetTextColor(dc.get(), RGB(0, 0, 0));
        ::SetBkMode(dc.get(), TRANSPARENT);
        layout.Draw(dc.get(), rect);
        ::GdiFlush();
    }
    // Grey or sub-pixel coverage alike: the mean of the channels.
    const DWORD rgb = (static_cast<DWORD>(GetRValue(color)) << 16) |
                      (static_cast<DWORD>(GetGValue(color)) << 8) | GetBValue(color);
    DWORD* pixel = coverage.Pixels();
    for (int i = 0; i < width * height; ++i, ++pixel) {
        const DWORD p = *pixel;
        const DWORD alpha = 255 - (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
        *pixel = (alpha << 24) | rgb;
    }
    graphics.DrawOnDevicePixels(
        gfx::Bitmap::OverArgbPixels(width, height, width * 4, coverage.Pixels()), target);
}

} // namespace

CTextItem::CTextItem(CCanvasPanel* owner) : CRectItem(owner) {
    RegisterHiddenWindowClass(&CTextItem::HiddenWindowProc);
    m_hiddenWindow.reset(::CreateWindowExW(0, kHiddenWindowClass, kHiddenWindowTitle,
                                           WS_OVERLAPPEDWINDOW, 2000, 2000, 200, 200, nullptr,
                                           nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (m_hiddenWindow)
        ::SetWindowLongPtrW(m_hiddenWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    HWND surface = SurfaceWindow();
    m_font = MakeFont(surface);
    m_popup.AddListener(this);
    m_popup.SetTextColor(m_color);
    m_popup.SetFont(m_font.get());
    if (surface)
        m_popup.Create(surface);
}

CTextItem::~CTextItem() {
    m_popup.RemoveListener(this);
    if (m_hiddenWindow)
        ::SetWindowLongPtrW(m_hiddenWindow.get(), GWLP_USERDATA, 0);
    // The popup's window goes first, then the hidden window, then the font.
}

LRESULT CALLBACK CTextItem::HiddenWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept {
    if (message == WM_TEXT_ITEM_SHOW_EDITOR) {
        auto* self = reinterpret_cast<CTextItem*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        try {
            return self ? self->ShowEditor() : 0;
        } catch (...) {
            return 0; // nothing may unwind into user32
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CTextItem::ShowEditor() {
    if (!m_popup.Hwnd())
        return 0;
    m_popup.SetTextColor(m_color);
    PlacePopup(true);
    ::ShowWindow(m_popup.Hwnd(), SW_SHOW);
    return 0;
}

void CTextItem::PlacePopup(bool resize) {
    HWND popup = m_popup.Hwnd();
    if (!popup)
        return;
    // At the picture's size the editor wraps the text as the box and the
    // output will show it, whatever the zoom.
    const RECT view = GetViewRect();
    const RECT image = GetImageRect();
    const LONG width = std::max(0L, image.right - image.left - 2);
    // Wider than the box when the view is zoomed out: a box near the
    // surface's right edge would hide the ends of the lines typed, so the
    // editor moves left as far as it reaches past both.
    RECT surface{};
    ::GetClientRect(::GetParent(popup), &surface);
    const LONG left = std::min(view.left + 1, std::max(surface.right, view.right - 1) - width);
    ::SetWindowPos(popup, nullptr, left, view.top + 1, width,
                   std::max(0L, image.bottom - image.top - 2),
                   SWP_NOZORDER | SWP_NOACTIVATE | (resize ? 0 : SWP_NOSIZE));
}

void CTextItem::UpdateViewCoords(const CViewTransform& transform) {
    CCanvasItem::UpdateViewCoords(transform);
    // Scrolling leaves the keyboard in the popup: typing goes on there.
    if (IsEditing())
        PlacePopup(false);
}

bool CTextItem::HitTestBody(int x, int y) {
    const RECT box = GetImageRect();
    return ::PtInRect(&box, POINT{x, y}) != FALSE;
}

void CTextItem::Offset(int dx, int dy, int viewDx, int viewDy) {
    if (!IsEditing())
        CRectItem::Offset(dx, dy, viewDx, viewDy);
}

void CTextItem::MoveHandle(int x, int y, int viewX, int viewY, int handle) {
    if (IsEditing())
        return;
    const RECT before = GetImageRect();
    CRectItem::MoveHandle(x, y, viewX, viewY, handle);
    const RECT after = GetImageRect();
    if (!::EqualRect(&before, &after))
        LayOutText();
}

void CTextItem::BeginEdit() {
    if (m_hiddenWindow)
        ::SendMessageW(m_hiddenWindow.get(), WM_TEXT_ITEM_SHOW_EDITOR, 0, 0);
}

void CTextItem::EndEdit() {
    m_popup.EndTyping();
}

void CTextItem::OnLButtonUp(POINT view, POINT image) {
    if (m_tracking) {
        // What is typed is seen: an editor of no size would take the keys
        // and show nothing.
        GiveRoomToType();
        if (m_hiddenWindow)
            ::PostMessageW(m_hiddenWindow.get(), WM_TEXT_ITEM_SHOW_EDITOR, 0, 0);
    }
    CCanvasItem::OnLButtonUp(view, image);
}

void CTextItem::GiveRoomToType() {
    const CViewTransform transform = m_owner ? m_owner->GetTransform() : CViewTransform();
    if (m_point1.x == m_point2.x)
        m_point2.x = m_point1.x + std::max(1L, std::lround(kDefaultViewWidth / transform.ZoomX()));
    const RECT image = GetImageRect();
    const int oneLine = LineHeightOf(m_font.get()) + 2;
    if (image.bottom - image.top < oneLine) {
        POINT& lower = m_point2.y >= m_point1.y ? m_point2 : m_point1;
        lower.y = image.top + oneLine;
    }
    CCanvasItem::UpdateViewCoords(transform);
}

void CTextItem::OnTextHidden() {
    m_text = m_popup.GetText();
    const bool resized = FitHeightToPopup();
    if (LayOutText() || resized)
        return; // repainted whole
    // The box was not drawn while the popup showed: its border reaches past
    // the popup, so more than the popup's place needs painting.
    RECT around = GetViewRect();
    ::InflateRect(&around, kRepaintMargin, kRepaintMargin);
    RepaintSurface(&around, true);
}

void CTextItem::OnTextResized() {
    FitHeightToPopup();
}

bool CTextItem::FitHeightToPopup() {
    HWND popup = m_popup.Hwnd();
    if (!popup)
        return false;
    // The popup is at the picture's size: its pixels are image pixels.
    RECT client{};
    ::GetClientRect(popup, &client);
    return SetImageHeight(client.bottom + 2);
}

bool CTextItem::SetImageHeight(int height) {
    const RECT image = GetImageRect();
    if (image.bottom - image.top == height)
        return false;
    // The lower of the two points moves: a box dragged upwards keeps its top
    // under the popup as well.
    const bool secondIsLower = m_point2.y >= m_point1.y;
    POINT& lowerImage = secondIsLower ? m_point2 : m_point1;
    POINT& lowerView = secondIsLower ? m_viewPoint2 : m_viewPoint1;
    lowerImage.y = image.top + height;
    lowerView = m_owner ? m_owner->GetTransform().ToView(lowerImage) : lowerImage;
    RepaintSurface(nullptr, true);
    return true;
}

bool CTextItem::LayOutText() {
    HWND popup = m_popup.Hwnd();
    if (!popup) {
        m_layout = CTextLayout();
        return false;
    }
    // The popup's edit wraps the text; hidden, it does so at the width it is
    // given.
    if (!IsEditing()) {
        const RECT image = GetImageRect();
        ::SetWindowPos(popup, nullptr, 0, 0, std::max(0L, image.right - image.left - 2),
                       std::max(0L, image.bottom - image.top - 2),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_layout = CTextLayout(m_font.get(), m_popup.Lines());
    // Never shorter than its lines: no line the user typed is cut.
    const RECT image = GetImageRect();
    const int needed = m_layout.Height() + 2;
    return image.bottom - image.top < needed && SetImageHeight(needed);
}

void CTextItem::Draw(gfx::Graphics& graphics) {
    if (m_tracking) {
        DrawTrackingBox(graphics, kTrackingFill);
        return;
    }
    // The popup shows the text while it is typed.
    if (m_text.empty() || IsEditing())
        return;

    gfx::Pen border(kBoxBorder, 2.0f);
    border.SetLineJoin(Gdiplus::LineJoinRound);
    border.SetMiterLimit(10.0f);
    border.SetAlignment(Gdiplus::PenAlignmentInset);
    DrawBox(graphics, kBoxFill, border);

    // Rectangle, font and layout are in image pixels, like the box.
    RECT box = GetImageRect();
    ::InflateRect(&box, -1, -1);
    DrawTextOver(graphics, box, m_layout, m_font.get(), m_color);
}

void CTextItem::AppendAppearance(std::vector<std::int64_t>& appearance) const {
    CCanvasItem::AppendAppearance(appearance);
    // Draw shows the popup's committed text once the item has any.
    const std::wstring& text = m_popup.GetText();
    appearance.insert(appearance.end(), {IsEditing() ? 1 : 0, m_text.empty() ? 1 : 0,
                                         reinterpret_cast<std::intptr_t>(m_font.get()),
                                         static_cast<std::int64_t>(text.size())});
    appearance.insert(appearance.end(), text.begin(), text.end());
}
