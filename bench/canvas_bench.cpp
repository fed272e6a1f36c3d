#include "bench/canvas_bench.h"

#include "bench/bench_clock.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <windows.h>
#include <objidl.h>

#include "canvas/arrow_item.h"
#include "canvas/canvas_panel.h"
#include "canvas/crop_item.h"
#include "canvas/drawing_static.h"
#include "canvas/highlight_item.h"
#include "canvas/pen_item.h"
#include "canvas/pointer_item_factory.h"
#include "canvas/simple_item_factories.h"
#include "canvas/text_item.h"
#include "resource.h"
#include "tests/canvas/canvas_panel_test_driver.h"

namespace {

// About the canvas area the main window leaves on a 1920 x 1080 screen.
constexpr int kSurfaceWidth = 1600;
constexpr int kSurfaceHeight = 960;
constexpr int kItems = 100;
constexpr wchar_t kWindowClass[] = L"LumvexBenchWindow";

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        work();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

LPARAM PointParam(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// With the button held: the median time of a mouse move to and fro by 8
// pixels around a point, each painted at once; then the release there.
double MovesThenReleaseMs(HWND surface, POINT at) {
    int step = 0;
    const double ms = MedianMs(31, [&] {
        ++step;
        const int d = step % 2 == 0 ? 0 : 8;
        ::SendMessageW(surface, WM_MOUSEMOVE, MK_LBUTTON, PointParam(at.x + d, at.y + d));
    });
    ::SendMessageW(surface, WM_LBUTTONUP, 0, PointParam(at.x, at.y));
    return ms;
}

// The main window's part: the arrow tool, red, the window as menu owner.
class BenchHost : public ICanvasHost {
public:
    BenchHost() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        ::RegisterClassExW(&wc);
        m_window = ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Lumvex bench",
                                     WS_POPUP | WS_VISIBLE, 0, 0, kSurfaceWidth, kSurfaceHeight,
                                     nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        m_surface.Create(WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                         RECT{0, 0, kSurfaceWidth, kSurfaceHeight}, m_window, 1034);
        m_panel = std::make_unique<CCanvasPanel>(m_surface, *this);
        m_panel->StartGraphics();
        m_panel->Connect(nullptr);
        m_factory = std::make_unique<CArrowItemFactory>(m_panel.get());
    }
    ~BenchHost() {
        m_factory.reset();
        m_panel.reset();
        ::DestroyWindow(m_window);
    }
    BenchHost(const BenchHost&) = delete;
    BenchHost& operator=(const BenchHost&) = delete;

    CCanvasPanel& Panel() { return *m_panel; }
    template <typename Factory> void SelectTool() {
        m_factory = std::make_unique<Factory>(m_panel.get());
    }
    HWND Surface() const { return m_surface.Hwnd(); }

    CCanvasItemFactory* GetCurrentFactory() override { return m_factory.get(); }
    COLORREF GetCurrentColor() override { return RGB(255, 0, 0); }
    HWND GetMenuOwner() override { return m_window; }

    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }

private:
    HWND m_window = nullptr;
    CDrawingStatic m_surface;
    std::unique_ptr<CCanvasPanel> m_panel;
    std::unique_ptr<CCanvasItemFactory> m_factory;
};

// A capture-like picture: bands of colour with blocks on them.
fw::GdiBitmap MakePicture(int width, int height) {
    fw::WindowDc screen(nullptr);
    fw::GdiBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    fw::SelectionGuard select(dc.get(), bitmap.get());
    for (int y = 0; y < height; y += 40) {
        fw::GdiBrush band(::CreateSolidBrush(RGB(200 + (y / 40) % 40, 210, 220)));
        const RECT r{0, y, width, y + 40};
        ::FillRect(dc.get(), &r, band.get());
    }
    for (int x = 0; x < width; x += 300) {
        fw::GdiBrush block(::CreateSolidBrush(RGB(40, 90 + x % 100, 160)));
        const RECT r{x + 20, 60, x + 220, height - 60};
        ::FillRect(dc.get(), &r, block.get());
    }
    return bitmap;
}

// Items made by their own gestures, without a panel to repaint.
template <typename Item> std::unique_ptr<CCanvasItem> Drawn(POINT from, POINT to) {
    auto item = std::make_unique<Item>(nullptr);
    item->OnLButtonDown(from, from);
    item->OnMouseMove(to, to);
    item->OnLButtonUp(to, to);
    return item;
}

std::unique_ptr<CCanvasItem> Stroke(std::mt19937& random, POINT start, int width, int height) {
    auto pen = std::make_unique<CPenItem>(nullptr);
    std::uniform_int_distribution<int> step(-12, 12);
    POINT p = start;
    pen->OnLButtonDown(p, p);
    for (int i = 0; i < 40; ++i) {
        p.x = std::clamp(p.x + step(random) + 6, 0L, static_cast<LONG>(width - 1));
        p.y = std::clamp(p.y + step(random), 0L, static_cast<LONG>(height - 1));
        pen->OnMouseMove(p, p);
    }
    pen->OnLButtonUp(p, p);
    return pen;
}

// A text box typed into through its popup, as the user does: dragged out at
// zoom 1, its popup opened by the release, the text set and typing ended.
std::unique_ptr<CCanvasItem>
TextBox(CCanvasPanel& panel, BenchHost& host, POINT from, POINT to,
        const wchar_t* text = L"Check the valve at the north pump before noon") {
    auto box = std::make_unique<CTextItem>(&panel);
    box->OnLButtonDown(from, from);
    box->OnMouseMove(to, to);
    box->OnLButtonUp(to, to);
    host.Pump();
    // Of the boxes' popups on the surface, the one shown.
    HWND popup = nullptr;
    do
        popup = ::FindWindowExW(host.Surface(), popup, L"#32770", nullptr);
    while (popup && !::IsWindowVisible(popup));
    ::SetDlgItemTextW(popup, IDC_TEXT_EDIT, text);
    box->EndEdit();
    return box;
}

// Beside the arrow the pointer moves, a hundred items in all spread over the
// whole picture: pens, arrows, highlights and text boxes, and one crop
// around most of it.
void AddItems(BenchHost& host, int width, int height) {
    CCanvasPanel& panel = host.Panel();
    CCanvasPanelTestDriver driver(panel);
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> xs(0, width - 400);
    std::uniform_int_distribution<int> ys(0, height - 300);
    std::uniform_int_distribution<int> size(40, 300);
    for (int i = 0; i < kItems - 2; ++i) {
        const POINT from{xs(random), ys(random)};
        const POINT to{from.x + size(random), from.y + size(random) * 2 / 3};
        switch (i % 4) {
        case 0:
            driver.AddItem(Stroke(random, from, width, height));
            break;
        case 1:
            driver.AddItem(Drawn<CArrowItem>(from, to));
            break;
        case 2:
            driver.AddItem(Drawn<CHighlightItem>(from, to));
            break;
        default:
            driver.AddItem(TextBox(panel, host, from, to));
            break;
        }
    }
    driver.AddItem(
        Drawn<CCropItem>(POINT{width / 20, height / 20}, POINT{width * 19 / 20, height * 19 / 20}));
}

} // namespace

void RunCanvasBench(int pictureWidth, int pictureHeight, std::FILE* out) {
    BenchHost host;
    CCanvasPanel& panel = host.Panel();
    CCanvasPanelTestDriver driver(panel);
    fw::GdiBitmap picture = MakePicture(pictureWidth, pictureHeight);
    // The bench's own copy of the picture, for the platform's blit.
    const fw::GdiBitmap copy(
        static_cast<HBITMAP>(::CopyImage(picture.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    panel.SetBitmap(std::move(picture));
    HWND surface = host.Surface();
    const float fit =
        std::min(static_cast<float>(kSurfaceWidth) / static_cast<float>(pictureWidth),
                 static_cast<float>(kSurfaceHeight) / static_cast<float>(pictureHeight));

    auto print = [&](const char* suffix, const char* name, double value) {
        std::fprintf(out, "%dx%d%s %s %.1f\n", pictureWidth, pictureHeight, suffix, name, value);
        std::fflush(out);
    };
    auto fullPaint = [&] {
        return MedianMs(7, [&] {
            ::InvalidateRect(surface, nullptr, FALSE);
            ::UpdateWindow(surface);
        });
    };

    struct Zoom {
        const char* suffix;
        float factor;
    };
    const Zoom zooms[] = {{"", 1.0f}, {"-fit", fit}};

    // The platform's own copy of the picture to the surface, as the panel
    // would need it at best.
    {
        fw::WindowDc screen(nullptr);
        fw::MemoryDc source(::CreateCompatibleDC(screen.get()));
        fw::SelectionGuard select(source.get(), copy.get());
        for (const Zoom& zoom : zooms) {
            const double blit = MedianMs(7, [&] {
                fw::WindowDc dc(surface);
                if (zoom.factor == 1.0f) {
                    ::BitBlt(dc.get(), 0, 0, kSurfaceWidth, kSurfaceHeight, source.get(), 0, 0,
                             SRCCOPY);
                } else {
                    ::SetStretchBltMode(dc.get(), HALFTONE);
                    ::SetBrushOrgEx(dc.get(), 0, 0, nullptr);
                    ::StretchBlt(dc.get(), 0, 0,
                                 static_cast<int>(static_cast<float>(pictureWidth) * zoom.factor),
                                 static_cast<int>(static_cast<float>(pictureHeight) * zoom.factor),
                                 source.get(), 0, 0, pictureWidth, pictureHeight, SRCCOPY);
                }
                ::GdiFlush();
            });
            print(zoom.suffix, "blit", blit);
        }
    }

    for (const Zoom& zoom : zooms) {
        panel.SetZoom(zoom.factor, zoom.factor);
        host.Pump();
        print(zoom.suffix, "full-paint-empty", fullPaint());
    }
    // Stretching the picture for the fit zoom, which happens once per zoom
    // (and capture), not per paint.
    const double rescale = MedianMs(5, [&] {
        panel.DropScaledPicture();
        panel.SetZoom(fit, fit);
    });
    host.Pump();
    print("", "fit-rescale", rescale);

    // The arrow the pointer moves, as large as the one dragged out below:
    // first, so that a press on it takes it whatever lies above.
    driver.AddItem(Drawn<CArrowItem>(POINT{700, 400}, POINT{800, 460}));
    panel.SetZoom(1.0f, 1.0f); // text boxes are dragged out in image pixels
    AddItems(host, pictureWidth, pictureHeight);
    for (const Zoom& zoom : zooms) {
        panel.SetZoom(zoom.factor, zoom.factor);
        host.Pump();
        print(zoom.suffix, "full-paint", fullPaint());
    }

    panel.SetZoom(1.0f, 1.0f);
    host.Pump();
    // An arrow dragged out in the middle of the surface: each mouse move
    // repaints the union of its old and new rectangles at once.
    ::SendMessageW(surface, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(900, 500));
    ::SendMessageW(surface, WM_MOUSEMOVE, MK_LBUTTON, PointParam(1000, 560));
    const double drag = MovesThenReleaseMs(surface, POINT{1000, 560});
    panel.Undo();
    host.Pump();
    print("", "drag-update-paint", drag);

    // The first arrow moved with the pointer: each mouse move repaints its
    // old and new rectangles.
    host.SelectTool<CPointerItemFactory>();
    ::SendMessageW(surface, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(750, 430));
    const double pointerMove = MovesThenReleaseMs(surface, POINT{750, 430});
    host.Pump();
    print("", "pointer-move-paint", pointerMove);

    // A text box of some 600 characters made narrower and wider by its
    // handle: each move wraps the text anew in the editor and lays it out.
    {
        std::wstring text;
        for (int i = 0; i < 12; ++i)
            text += L"Check the valve at the north pump before noon. ";
        std::unique_ptr<CCanvasItem> owned =
            TextBox(panel, host, POINT{100, 100}, POINT{500, 140}, text.c_str());
        CCanvasItem* box = owned.get();
        driver.AddItem(std::move(owned));
        int step = 0;
        const double relayout = MedianMs(7, [&] {
            const int x = ++step % 2 ? 420 : 500;
            box->MoveHandle(x, 120, x, 120, 4);
        });
        panel.Undo();
        host.Pump();
        print("", "text-resize-layout", relayout);
    }

    // The JPEG encoder alone, on a bitmap of what the flatten gives.
    {
        CLSID encoder{};
        gfx::FindEncoder(L"image/jpeg", encoder);
        const fw::GdiBitmap flat = panel.GetFlattenedBitmap();
        const gfx::Bitmap image = gfx::Bitmap::FromHbitmap(flat.get());
        const double encode = MedianMs(5, [&] {
            IStream* stream = nullptr;
            if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
                return;
            image.Save(stream, encoder, nullptr);
            stream->Release();
        });
        print("", "encode-only", encode);
    }

    const double flatten = MedianMs(5, [&] {
        IStream* stream = nullptr;
        if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
            return;
        panel.SaveJpegToStream(stream);
        stream->Release();
    });
    print("", "flatten-jpeg", flatten);
}
