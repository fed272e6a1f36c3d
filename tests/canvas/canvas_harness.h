// A small top-level window holding a drawing surface and a canvas panel, so
// that tests drive the canvas through real window messages. It plays the main
// window's part: current tool, current colour, owner of the context menu.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "canvas/canvas_item_factory.h"
#include "canvas/canvas_panel.h"
#include "canvas/drawing_static.h"
#include "canvas_panel_test_driver.h"
#include "framework/handles.h"
#include "support/picture.h"
#include "support/test_window.h"

namespace canvas_test {

// The context menu as it showed: the command of each of its items (0 for a
// separator), and where its window was on the screen.
struct ShownMenu {
    std::vector<UINT> commands;
    RECT window{};
};

class CanvasHarness : public ICanvasHost {
public:
    explicit CanvasHarness(SIZE surfaceSize = SIZE{640, 480});
    ~CanvasHarness();
    CanvasHarness(const CanvasHarness&) = delete;
    CanvasHarness& operator=(const CanvasHarness&) = delete;

    HWND Window() const { return m_window; }
    HWND Surface() const { return m_surface.Hwnd(); }
    CDrawingStatic& SurfaceControl() { return m_surface; }
    CCanvasPanel& Panel() { return m_panel; }
    CCanvasPanelTestDriver Driver() { return CCanvasPanelTestDriver(m_panel); }
    PaintCounter& Paints() { return m_paints; }

    template <typename Factory> Factory& SelectTool() {
        m_factory = std::make_unique<Factory>(&m_panel);
        return static_cast<Factory&>(*m_factory);
    }
    void ClearTool() { m_factory.reset(); }
    void SetColor(COLORREF color) { m_color = color; }

    // Mouse messages sent to the surface, in view coordinates.
    void Press(int x, int y);
    void Move(int x, int y);
    void Release(int x, int y);
    // The second press of a quick double click (WM_LBUTTONDBLCLK).
    void PressAgain(int x, int y);
    // Press, release, second press, release: a double click as it arrives.
    void DoubleClick(int x, int y);
    // Press, `steps` moves along the line, release at the end.
    void Drag(int x1, int y1, int x2, int y2, int steps = 4);
    // Right button down and up; the context menu that opens is read and
    // answered by a helper thread with the given keys (VK_ESCAPE: nothing).
    ShownMenu RightClick(int x, int y, const std::vector<WPARAM>& keys = {VK_ESCAPE});

    // The cursor the surface sets when the mouse rests on a point of it.
    HCURSOR CursorAt(int x, int y);

    // Processes the window messages waiting for this thread.
    void Pump();
    // Commands the context menu sent to the owner window.
    const std::vector<WORD>& Commands() const { return m_commands; }

    // ICanvasHost
    CCanvasItemFactory* GetCurrentFactory() override { return m_factory.get(); }
    COLORREF GetCurrentColor() override { return m_color; }
    HWND GetMenuOwner() override { return m_window; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    CDrawingStatic m_surface;
    PaintCounter m_paints;
    CCanvasPanel m_panel{m_surface, *this};
    std::unique_ptr<CCanvasItemFactory> m_factory;
    COLORREF m_color = RGB(255, 0, 0);
    std::vector<WORD> m_commands;
};

// A device-dependent bitmap filled with one colour, with optional blocks of
// other colours.
fw::GdiBitmap MakePicture(int width, int height, COLORREF color);
void FillBlock(HBITMAP bitmap, const RECT& rect, COLORREF color);
// A new bitmap of the surface's client size, grey, with what paint draws on
// it (given the client rectangle).
fw::GdiBitmap PaintOnGrey(HWND surface, const std::function<void(HDC, const RECT&)>& paint);
// Draws the surface through WM_PRINTCLIENT into a new bitmap.
fw::GdiBitmap PrintSurface(HWND surface);
// Saves a picture as PNG under <build>/pictures; answers the path.
std::wstring SavePicture(const Picture& picture, const wchar_t* name);

} // namespace canvas_test
