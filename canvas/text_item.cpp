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

// 14-point Arial at the vertical resolution of the window's screen, scaled.
fw::GdiFont MakeFont(HWND window, float scale = 1.0f) {
    fw::WindowDc dc(window);
    const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    const int height = std::max(
        1,
        static_cast<int>(std::lround(static_cast<float>(::MulDiv(kFontPoints, dpi, 72)) * scale)));
    return fw::GdiFont(::CreateFontW(-height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
}

// Word breaks, with the line handling of an edit control: the box wraps its
// text as the popup did while it was typed.
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EDITCONTROL;

// Draws text with GDI into a rectangle of the graphics' world, as DrawTextW
// lays it out, in one colour over whatever the graphics holds.
//
// GDI knows nothing of the graphics' transform, and its anti-aliasing blends
// with what the device context holds, which for a graphics over a bitmap is
// not the picture (Wine hands out a scratch bitmap). So the text is laid out
// through the same transform, at the target's own resolution, black on white
// in a bitmap of ours (the box is white: edges come out as they would on it),
// and that coverage becomes the alpha of the colour, drawn pixel for pixel
// onto the target. The text then sits where the graphics would put it, at
// its scale, whatever bitmap, offset and zoom the graphics stands for. (On
// screen the panel keeps the box's pixels, so this runs when the box
// changes, not on every paint.)
// https://learn.microsoft.com/en-us/windows/win32/api/gdiplusgraphics/nf-gdiplusgraphics-graphics-gethdc
void DrawTextOver(gfx::Graphics& graphics, RECT rect, const wchar_t* text, HFONT font,
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
        ::DrawTextW(dc.get(), text, -1, &rect, kTextFormat);
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

CTextItem::CTextItem(CCanvasPanel* owner) : CCanvasItem(owner, 8, true) {
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
    HWND popup = m_popup.Hwnd();
    if (!popup)
        return 0;
    RECT rect = GetViewRect();
    ::InflateRect(&rect, -1, -1);
    m_popup.SetTextColor(m_color);
    // The popup shows the text at the size the box will: it wraps the same
    // way and the box grows with it to what the text needs.
    const float zoom = m_owner ? m_owner->GetTransform().ZoomY() : 1.0f;
    if (zoom != m_editorZoom) {
        fw::GdiFont font = zoom == 1.0f ? fw::GdiFont() : MakeFont(SurfaceWindow(), zoom);
        m_popup.SetFont(font ? font.get() : m_font.get());
        m_editorFont = std::move(font); // the edit has let go of the old one
        m_editorZoom = zoom;
    }
    ::MoveWindow(popup, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    ::ShowWindow(popup, SW_SHOW);
    return 0;
}

POINT CTextItem::GetHandlePoint(int handle) const {
    return GetRectHandlePoint(handle);
}

HCURSOR CTextItem::GetHandleCursor(int handle) const {
    return GetRectHandleCursor(handle);
}

bool CTextItem::HitTestBody(int x, int y) {
    const RECT box = GetImageRect();
    return ::PtInRect(&box, POINT{x, y}) != FALSE;
}

void CTextItem::Offset(int dx, int dy, int viewDx, int viewDy) {
    if (!IsEditing())
        OffsetPoints(dx, dy, viewDx, viewDy);
}

void CTextItem::MoveHandle(int x, int y, int viewX, int viewY, int handle) {
    if (!IsEditing())
        MoveRectHandle(x, y, viewX, viewY, handle);
}

void CTextItem::BeginEdit() {
    if (m_hiddenWindow)
        ::SendMessageW(m_hiddenWindow.get(), WM_TEXT_ITEM_SHOW_EDITOR, 0, 0);
}

void CTextItem::EndEdit() {
    m_popup.EndTyping();
}

void CTextItem::OnLButtonUp(POINT view, POINT image) {
    // A click without motion asks for the popup too, though nothing is
    // committed.
    if (m_tracking && m_hiddenWindow)
        ::PostMessageW(m_hiddenWindow.get(), WM_TEXT_ITEM_SHOW_EDITOR, 0, 0);
    CCanvasItem::OnLButtonUp(view, image);
}

void CTextItem::OnTextHidden() {
    m_text = m_popup.GetText();
    if (FitHeightToPopup())
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
    RECT client{};
    ::GetClientRect(popup, &client);
    const int height = client.bottom + 2;
    const RECT view = GetViewRect();
    if (view.bottom - view.top == height)
        return false;
    // The lower of the two points moves: a box dragged upwards keeps its top
    // under the popup as well.
    const bool secondIsLower = m_viewPoint2.y >= m_viewPoint1.y;
    POINT& lowerView = secondIsLower ? m_viewPoint2 : m_viewPoint1;
    POINT& lowerImage = secondIsLower ? m_point2 : m_point1;
    lowerView.y = view.top + height;
    lowerImage.y = m_owner ? m_owner->ViewToImage(lowerView).y : lowerView.y;
    RepaintSurface(nullptr, true);
    return true;
}

void CTextItem::Draw(gfx::Graphics& graphics) {
    if (m_tracking) {
        DrawTrackingBox(graphics, kTrackingFill);
        return;
    }
    // The popup shows the text while it is typed.
    if (m_text.empty() || IsEditing())
        return;
    m_text = m_popup.GetText();
    const wchar_t* shown = m_text.empty() ? L"<<Empty>>" : m_text.c_str();

    gfx::Pen border(kBoxBorder, 2.0f);
    border.SetLineJoin(Gdiplus::LineJoinRound);
    border.SetMiterLimit(10.0f);
    border.SetAlignment(Gdiplus::PenAlignmentInset);
    DrawBox(graphics, kBoxFill, border);

    // Rectangle and font are in image pixels, like the box.
    RECT box = GetImageRect();
    ::InflateRect(&box, -1, -1);
    DrawTextOver(graphics, box, shown, m_font.get(), m_color);
}

void CTextItem::DrawFeedback(gfx::Graphics&) {}

void CTextItem::AppendAppearance(std::vector<std::int64_t>& appearance) const {
    CCanvasItem::AppendAppearance(appearance);
    // Draw shows the popup's committed text once the item has any.
    const std::wstring& text = m_popup.GetText();
    appearance.insert(appearance.end(), {IsEditing() ? 1 : 0, m_text.empty() ? 1 : 0,
                                         reinterpret_cast<std::intptr_t>(m_font.get()),
                                         static_cast<std::int64_t>(text.size())});
    appearance.insert(appearance.end(), text.begin(), text.end());
}
