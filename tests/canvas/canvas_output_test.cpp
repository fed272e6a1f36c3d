// What the panel paints and flattens: JPEG streams and files, the clipboard
// bitmap, and no GDI objects or memory left behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "canvas/pixel_buffer.h"
#include "canvas/pointer_item_factory.h"
#include "canvas/simple_item_factories.h"
#include "canvas/text_item.h"
#include "canvas_harness.h"
#include "resource.h"
#include "support/gdi_objects.h"
#include "support/test_window.h"

using namespace canvas_test;

namespace {

constexpr COLORREF kPicture = RGB(90, 120, 150);
constexpr COLORREF kBlock = RGB(20, 160, 60);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A JPEG decoded by GDI+.
struct Decoded {
    gfx::Bitmap bitmap;
    int width = 0;
    int height = 0;
    COLORREF At(int x, int y) const {
        Gdiplus::ARGB argb = 0;
        gfx::api::GdipBitmapGetPixel(bitmap.get(), x, y, &argb);
        return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    }
};

Decoded Decode(Gdiplus::GpBitmap* raw) {
    Decoded decoded;
    decoded.bitmap.reset(raw);
    if (raw) {
        decoded.width = decoded.bitmap.Width();
        decoded.height = decoded.bitmap.Height();
    }
    return decoded;
}

Decoded DecodeStream(IStream* stream) {
    const LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    Gdiplus::GpBitmap* raw = nullptr;
    gfx::api::GdipCreateBitmapFromStream(stream, &raw);
    return Decode(raw);
}

struct Stream {
    Stream() { ::CreateStreamOnHGlobal(nullptr, TRUE, &stream); }
    ~Stream() {
        if (stream)
            stream->Release();
    }
    ULONGLONG Size() const {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        return stat.cbSize.QuadPart;
    }
    IStream* stream = nullptr;
};

// A 400 x 300 picture with a green block, a red highlight frame
// (50, 50)-(150, 120), a blue arrow (200, 220)-(350, 220) and a crop
// (20, 20)-(380, 260).
class CanvasOutputTest : public testing::Test {
protected:
    void SetUp() override {
        fw::GdiBitmap picture = MakePicture(400, 300, kPicture);
        FillBlock(picture.get(), RECT{200, 40, 300, 140}, kBlock);
        canvas.Panel().SetBitmap(std::move(picture));
    }

    // Drags out a text box and types the text into its popup; typing ends
    // with the next press.
    void TypeBox(int x1, int y1, int x2, int y2, const wchar_t* text) {
        canvas.SelectTool<CTextItemFactory>();
        canvas.Drag(x1, y1, x2, y2);
        canvas.Pump();
        TypeIntoShownPopup(text);
    }
    void TypeIntoShownPopup(const wchar_t* text) {
        HWND popup = nullptr;
        do
            popup = ::FindWindowExW(canvas.Surface(), popup, L"#32770", nullptr);
        while (popup && !::IsWindowVisible(popup));
        ASSERT_TRUE(popup);
        ::SetDlgItemTextW(popup, IDC_TEXT_EDIT, text);
    }

    void DrawScene() {
        canvas.SelectTool<CHighlightItemFactory>();
        canvas.SetColor(kRed);
        canvas.Drag(50, 50, 150, 120);
        canvas.SelectTool<CArrowItemFactory>();
        canvas.SetColor(kBlue);
        canvas.Drag(200, 220, 350, 220);
        canvas.SelectTool<CCropItemFactory>();
        canvas.Drag(20, 20, 380, 260);
    }

    CanvasHarness canvas;
};

TEST_F(CanvasOutputTest, TheFlatPictureIsTheCropWithFramesAndArrowsOnly) {
    DrawScene();
    // Select the frame: its handles show on screen, never in the output.
    canvas.Panel().SetSelectedItem(canvas.Panel().GetItems().at(0).get());
    // A highlight being dragged out is pending: on screen, not in the output.
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Press(250, 160);
    canvas.Move(330, 200);

    const fw::GdiBitmap flat = canvas.Panel().GetFlattenedBitmap();
    const Picture out = ReadPixels(flat.get());
    ASSERT_EQ(out.width, 360);
    ASSERT_EQ(out.height, 240);
    // Image point (x, y) is output point (x - 20, y - 20).
    EXPECT_EQ(out.At(51 - 20, 80 - 20), kRed) << "frame border";
    EXPECT_EQ(out.At(100 - 20, 85 - 20), kPicture) << "inside the frame";
    EXPECT_EQ(out.At(100 - 20, 48 - 20), kPicture) << "no handle";
    EXPECT_TRUE(ColorsClose(out.At(260 - 20, 220 - 20), kBlue, 60)) << "arrow shaft";
    EXPECT_EQ(out.At(250 - 20, 100 - 20), kBlock);
    EXPECT_EQ(out.At(300 - 20, 180 - 20), kPicture) << "no pending item";
    EXPECT_EQ(out.At(0, 0), kPicture) << "no darkening";

    const Picture screen = ReadPixels(PrintSurface(canvas.Surface()).get());
    EXPECT_EQ(screen.At(100, 48), RGB(0, 0, 0)) << "handle on screen";
    EXPECT_TRUE(ColorsClose(screen.At(300, 180), RGB(172, 187, 202), 8))
        << "pending item on screen";
    EXPECT_TRUE(ColorsClose(screen.At(10, 10), RGB(68, 72, 76), 8)) << "darkened outside the crop";
    EXPECT_EQ(screen.At(100, 85), kPicture) << "crop inside untouched";
    canvas.Release(330, 200);
}

TEST_F(CanvasOutputTest, WithoutACropTheWholePictureIsOutput) {
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(50, 50, 150, 120);
    const Picture out = ReadPixels(canvas.Panel().GetFlattenedBitmap().get());
    EXPECT_EQ(out.width, 400);
    EXPECT_EQ(out.height, 300);
    EXPECT_EQ(out.At(51, 80), kRed);
}

TEST_F(CanvasOutputTest, ACropPastThePictureKeepsItsSizeAndIsBlackOutside) {
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(330, 230, 450, 290); // a frame crossing the picture's edge
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(300, 200, 500, 400);
    const Picture out = ReadPixels(canvas.Panel().GetFlattenedBitmap().get());
    ASSERT_EQ(out.width, 200);
    ASSERT_EQ(out.height, 200);
    EXPECT_EQ(out.At(20, 20), kPicture);
    EXPECT_EQ(out.At(150, 150), RGB(0, 0, 0));
    EXPECT_EQ(out.At(31, 60), kRed) << "frame inside the picture";
    EXPECT_EQ(out.At(60, 89), kRed) << "frame inside the picture";
    EXPECT_EQ(out.At(148, 75), RGB(0, 0, 0)) << "the frame ends at the picture's edge";
}

TEST_F(CanvasOutputTest, OnlyTheNewerOfTwoCropsCutsTheOutputUntilItIsUndone) {
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(10, 10, 110, 60);
    canvas.Drag(50, 50, 250, 200);
    EXPECT_EQ(ReadPixels(canvas.Panel().GetFlattenedBitmap().get()).width, 200);
    const Picture screen = ReadPixels(PrintSurface(canvas.Surface()).get());
    EXPECT_EQ(screen.At(60, 100), kPicture) << "inside the newer crop";
    EXPECT_NE(screen.At(30, 30), kPicture) << "the older crop's inside is darkened";
    canvas.Panel().Undo();
    EXPECT_EQ(ReadPixels(canvas.Panel().GetFlattenedBitmap().get()).width, 100);
}

TEST_F(CanvasOutputTest, AClickWithTheCropToolDarkensNothing) {
    canvas.SelectTool<CCropItemFactory>();
    canvas.Press(100, 100);
    canvas.Release(100, 100);
    const Picture screen = ReadPixels(PrintSurface(canvas.Surface()).get());
    EXPECT_EQ(screen.At(50, 50), kPicture);
    EXPECT_EQ(screen.At(100, 100), kPicture);
}

TEST_F(CanvasOutputTest, AFlatCropGivesNoOutput) {
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(10, 10, 200, 10);
    ASSERT_EQ(canvas.Panel().GetItems().size(), 1u);
    EXPECT_FALSE(canvas.Panel().GetFlattenedBitmap());
    Stream jpeg;
    EXPECT_FALSE(canvas.Panel().SaveJpegToStream(jpeg.stream));
    EXPECT_EQ(jpeg.Size(), 0u);
}

TEST_F(CanvasOutputTest, NoPictureNoOutput) {
    canvas.Panel().SetBitmap(fw::GdiBitmap());
    Stream jpeg;
    EXPECT_FALSE(canvas.Panel().SaveJpegToStream(jpeg.stream));
    EXPECT_FALSE(canvas.Panel().GetFlattenedBitmap());
}

TEST_F(CanvasOutputTest, TheJpegStreamDecodesToTheCropWithItsColours) {
    DrawScene();
    Stream jpeg;
    ASSERT_TRUE(canvas.Panel().SaveJpegToStream(jpeg.stream));
    const Decoded decoded = DecodeStream(jpeg.stream);
    ASSERT_TRUE(decoded.bitmap);
    EXPECT_EQ(decoded.width, 360);
    EXPECT_EQ(decoded.height, 240);
    EXPECT_TRUE(ColorsClose(decoded.At(250 - 20, 90 - 20), kBlock, 30));
    EXPECT_TRUE(ColorsClose(decoded.At(100 - 20, 85 - 20), kPicture, 30));
    EXPECT_TRUE(ColorsClose(decoded.At(5, 200), kPicture, 30));
    EXPECT_GT(GetRValue(decoded.At(51 - 20, 85 - 20)), 150) << "frame border";
}

TEST_F(CanvasOutputTest, TheJpegFileDecodesToThePicture) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"lumvex_canvas_test.jpg";
    ::DeleteFileW(path.c_str());
    ASSERT_TRUE(canvas.Panel().SaveJpegToFile(path.c_str()));
    Gdiplus::GpBitmap* raw = nullptr;
    gfx::api::GdipCreateBitmapFromFile(path.c_str(), &raw);
    {
        const Decoded decoded = Decode(raw);
        EXPECT_EQ(decoded.width, 400);
        EXPECT_EQ(decoded.height, 300);
        EXPECT_TRUE(ColorsClose(decoded.At(250, 90), kBlock, 30));
    }
    EXPECT_TRUE(::DeleteFileW(path.c_str()));
}

TEST_F(CanvasOutputTest, TheFlattenedBitmapIsTheCallersToKeep) {
    DrawScene();
    fw::GdiBitmap kept = canvas.Panel().GetFlattenedBitmap();
    ASSERT_TRUE(kept);
    EXPECT_EQ(::GetObjectType(kept.get()), static_cast<DWORD>(OBJ_BITMAP));
    canvas.Panel().Undo();
    canvas.Panel().Undo();
    canvas.Panel().SetBitmap(MakePicture(50, 50, RGB(0, 0, 0)));
    const Picture later = ReadPixels(kept.get());
    EXPECT_EQ(later.width, 360);
    EXPECT_EQ(later.At(51 - 20, 80 - 20), kRed);
}

TEST_F(CanvasOutputTest, PaintingShowsThePictureThroughZoomAndOffsetsAndNothingBeyondIt) {
    canvas.Panel().SetZoom(2.0f, 2.0f);
    CLumvexDlgEvents& scroll = canvas.Panel();
    scroll.OnScrollHorz(nullptr, 100);
    scroll.OnScrollVert(nullptr, -40); // before the picture's start: kept at it
    EXPECT_EQ(canvas.Panel().GetTransform().OffsetX(), 100);
    EXPECT_EQ(canvas.Panel().GetTransform().OffsetY(), 0);
    // The green block (200, 40)-(300, 140) shows at (300, 80)-(500, 280).
    const Picture view = ReadPixels(PrintSurface(canvas.Surface()).get());
    EXPECT_EQ(view.At(400, 180), kBlock);
    EXPECT_EQ(view.At(295, 180), kPicture);
    EXPECT_EQ(view.At(400, 75), kPicture);
    // Never past the picture's end: its far edges stop at the surface's.
    scroll.OnScrollHorz(nullptr, 5000);
    scroll.OnScrollVert(nullptr, 5000);
    RECT client{};
    ::GetClientRect(canvas.Surface(), &client);
    EXPECT_EQ(canvas.Panel().GetTransform().OffsetX(), 800 - client.right);
    EXPECT_EQ(canvas.Panel().GetTransform().OffsetY(), 600 - client.bottom);
    // Smaller than the surface, the picture does not scroll, and beside it
    // the background stays.
    canvas.Panel().SetZoom(0.5f, 0.5f);
    scroll.OnScrollHorz(nullptr, 50);
    EXPECT_EQ(canvas.Panel().GetTransform().OffsetX(), 0);
    const Picture small = ReadPixels(PrintSurface(canvas.Surface()).get());
    EXPECT_EQ(small.At(125, 45), kBlock);
    EXPECT_EQ(small.At(95, 45), kPicture);
    EXPECT_EQ(small.At(75, 160), RGB(128, 128, 128));
    EXPECT_EQ(small.At(210, 85), RGB(128, 128, 128));
}

// The screen keeps each item's pixels from paint to paint. After items change
// in every way they can while not selected (zoomed away and back, typed
// again, moved and let go, recoloured), a whole paint shows what the output,
// which draws every item afresh, shows.
TEST_F(CanvasOutputTest, AfterItemsChangeTheScreenShowsWhatTheOutputShows) {
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(40, 40, 140, 110);
    canvas.SelectTool<CPenItemFactory>();
    canvas.Press(60, 200);
    for (const POINT p : {POINT{90, 170}, POINT{120, 230}, POINT{150, 180}})
        canvas.Move(p.x, p.y);
    canvas.Release(150, 180);
    canvas.SetColor(kBlue);
    TypeBox(180, 150, 330, 210, L"First");
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(300, 60, 200, 100);
    canvas.Panel().SetSelectedItem(nullptr);
    PrintSurface(canvas.Surface()); // every item's pixels kept

    canvas.Panel().SetZoom(0.8f, 0.8f);
    PrintSurface(canvas.Surface());
    canvas.Panel().SetZoom(1.0f, 1.0f);
    PrintSurface(canvas.Surface());

    const auto& items = canvas.Panel().GetItems();
    CCanvasItem* frame = items.at(0).get();
    CCanvasItem* box = items.at(2).get();
    box->BeginEdit();
    TypeIntoShownPopup(L"Fixed"); // as long: the box keeps its size
    canvas.SelectTool<CPointerItemFactory>();
    canvas.Drag(250, 80, 265, 120); // the arrow, moved
    canvas.Panel().SetSelectedItem(nullptr);
    frame->SetColor(kBlue);

    const Picture screen = ReadPixels(PrintSurface(canvas.Surface()).get());
    const Picture out = ReadPixels(canvas.Panel().GetFlattenedBitmap().get());
    ASSERT_EQ(out.width, 400);
    EXPECT_EQ(DifferingPixels(screen, out, 3), 0);
    EXPECT_EQ(dynamic_cast<CTextItem*>(box)->GetText(), L"Fixed");
}

// Drag repaints draw only the changed area: what they leave on screen is what
// a paint of the whole surface shows.
class PartialPaintTest : public CanvasOutputTest, public testing::WithParamInterface<float> {};

TEST_P(PartialPaintTest, DragRepaintsMatchAFullPaint) {
    const float zoom = GetParam();
    canvas.Panel().SetZoom(zoom, zoom);
    CLumvexDlgEvents& scroll = canvas.Panel();
    scroll.OnScrollHorz(nullptr, 13);
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(60, 60, 200, 150);
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Press(100, 200);
    for (int i = 1; i <= 12; ++i)
        canvas.Move(100 + i * 17, 200 - i * 9);
    canvas.Pump();
    const Picture onScreen = CaptureClient(canvas.Surface());
    const Picture full = ReadPixels(PrintSurface(canvas.Surface()).get());
    int differing = 0;
    int drawn = 0; // neither picture nor background: items and handles
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 400; ++x) {
            if (onScreen.At(x, y) != full.At(x, y))
                ++differing;
            if (!ColorsClose(full.At(x, y), kPicture, 8) && !ColorsClose(full.At(x, y), kBlock, 8))
                ++drawn;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(drawn, 300);
    canvas.Release(304, 92);
}

// A scene whose items cross the edges of the paint tiles (every 256 view
// pixels) and of the pieces a partial paint gets: painted piece by piece it
// must come out exactly as painted whole, shade, handles and all.
TEST_P(PartialPaintTest, PiecesThroughItemsMatchAWholePaint) {
    const float zoom = GetParam();
    const int edge = static_cast<int>(256 / zoom); // image x of the tile edge
    canvas.SelectTool<CPenItemFactory>();
    canvas.Press(edge - 60, 200);
    for (const POINT p :
         {POINT{edge + 40, 170}, POINT{edge - 30, 140}, POINT{edge + 35, 100}, POINT{edge - 5, 60}})
        canvas.Move(p.x, p.y);
    canvas.Release(edge - 5, 60);
    canvas.SelectTool<CArrowItemFactory>();
    canvas.SetColor(kBlue);
    canvas.Drag(edge - 150, 280, edge + 2, 230); // the head on the tile edge
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(edge - 40, 20, edge + 30, 75);
    canvas.SetColor(kRed);
    TypeBox(edge - 20, 240, edge + 60, 290, L"Tile edge"); // box and text across the edge
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(15, 12, 392, 292); // selected: its handles show
    canvas.Panel().SetZoom(zoom, zoom);

    const Picture whole = ReadPixels(PrintSurface(canvas.Surface()).get());
    const fw::GdiBitmap pieces = PaintOnGrey(canvas.Surface(), [&](HDC dc, const RECT& client) {
        const int xs[] = {0, 97, 203, 255, 259, 331, static_cast<int>(client.right)};
        const int ys[] = {0, 41, 77, 151, 190, 229, static_cast<int>(client.bottom)};
        for (std::size_t i = 1; i < std::size(ys); ++i)
            for (std::size_t j = 1; j < std::size(xs); ++j)
                canvas.Driver().PaintContent(dc, RECT{xs[j - 1], ys[i - 1], xs[j], ys[i]});
    });
    const Picture pieced = ReadPixels(pieces.get());
    int differing = 0;
    int drawn = 0;
    for (int y = 0; y < whole.height; ++y) {
        for (int x = 0; x < whole.width; ++x) {
            differing += pieced.At(x, y) != whole.At(x, y);
            drawn +=
                ColorsClose(whole.At(x, y), kRed, 40) || ColorsClose(whole.At(x, y), kBlue, 40);
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(drawn, 400) << "pen, arrow, frame and text";
    // The arrow keeps its head when zoomed out: more blue around the point
    // just behind the tip than a bare shaft gives.
    const float tipX = static_cast<float>(edge + 2) * zoom;
    const float tipY = 230.0f * zoom;
    const float dx = 152.0f * zoom;
    const float dy = -50.0f * zoom;
    const float length = std::hypot(dx, dy);
    const int cx = static_cast<int>(tipX - 3.0f * dx / length);
    const int cy = static_cast<int>(tipY - 3.0f * dy / length);
    int head = 0;
    for (int y = cy - 4; y <= cy + 4; ++y)
        for (int x = cx - 4; x <= cx + 4; ++x)
            head += ColorsClose(whole.At(x, y), kBlue, 100);
    EXPECT_GT(head, 14) << "arrow head";
    SavePicture(ReadPixels(pieces.get()),
                zoom == 1.0f ? L"canvas_pieces_actual" : L"canvas_pieces_fit");
}

std::string ZoomName(const testing::TestParamInfo<float>& param) {
    if (param.param == 1.0f)
        return "Actual";
    return param.param < 1.0f ? "Fit" : "Fractional";
}

INSTANTIATE_TEST_SUITE_P(Zooms, PartialPaintTest, testing::Values(1.0f, 1.37f, 0.8f), ZoomName);

// The fitted view shows the picture without seams: a picture of smooth
// gradients, fitted at three zooms, painted whole and in pieces, changes
// from any column (or row) of the screen to the next no more than its own
// slope explains. A stretch in separately clipped parts shows a line at
// every edge of the parts.
class FittedViewTest : public testing::TestWithParam<float> {};

TEST_P(FittedViewTest, NoColumnOrRowStandsOutOfTheGradients) {
    const float zoom = GetParam();
    CanvasHarness canvas(SIZE{1024, 768});
    constexpr int kWidth = 1920;
    constexpr int kHeight = 1080;
    // Three ramps along three diagonals: no level step of them lines up with
    // a column or a row, so neighbouring columns and rows differ by little
    // more than the ramps' slope, and a seam stands out.
    canvas.Panel().SetBitmap(MakeBitmap(kWidth, kHeight, [](int x, int y) {
        return RGB(30 + (x + y) * 190 / (kWidth + kHeight),
                   40 + (2 * x + (kHeight - y)) * 180 / (2 * kWidth + kHeight),
                   20 + (x + 3 * y) * 200 / (kWidth + 3 * kHeight));
    }));
    canvas.Panel().SetZoom(zoom, zoom);
    const Picture whole = ReadPixels(PrintSurface(canvas.Surface()).get());
    const int shownWidth = std::min(whole.width, static_cast<int>(std::lround(kWidth * zoom)));
    const int shownHeight = std::min(whole.height, static_cast<int>(std::lround(kHeight * zoom)));
    const fw::GdiBitmap pieces = PaintOnGrey(canvas.Surface(), [&](HDC dc, const RECT& client) {
        for (int top = 0; top < client.bottom; top += 97)
            for (int left = 0; left < client.right; left += 131)
                canvas.Driver().PaintContent(dc, RECT{left, top, left + 131, top + 97});
    });
    const Picture pieced = ReadPixels(pieces.get());
    auto step = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
               std::abs(GetBValue(a) - GetBValue(b));
    };
    // The mean change from each column (row) to the next, within the
    // picture, one pixel inside its edges. A seam repeats a column, or
    // jumps: far less or far more change than the ramps' slope gives the
    // columns around it.
    auto expectEven = [&](const Picture& view, bool columns, const char* how) {
        const int count = columns ? shownWidth : shownHeight;
        const int across = columns ? shownHeight : shownWidth;
        std::vector<double> change;
        for (int i = 1; i + 2 < count; ++i) {
            double sum = 0;
            for (int j = 1; j + 1 < across; ++j)
                sum += columns ? step(view.At(i, j), view.At(i + 1, j))
                               : step(view.At(j, i), view.At(j, i + 1));
            change.push_back(sum / (across - 2));
        }
        std::vector<double> sorted = change;
        std::sort(sorted.begin(), sorted.end());
        const double typical = sorted[sorted.size() / 2];
        ASSERT_GT(typical, 0.1) << "the ramps change too little to show a seam";
        for (size_t i = 0; i < change.size(); ++i) {
            EXPECT_TRUE(change[i] > 0.3 * typical && change[i] < 2.5 * typical)
                << how << ": " << (columns ? "columns " : "rows ") << i + 1 << " and " << i + 2
                << " differ by " << change[i] << " where " << typical << " is typical, at zoom "
                << zoom;
        }
    };
    expectEven(whole, true, "whole");
    expectEven(whole, false, "whole");
    expectEven(pieced, true, "in pieces");
    expectEven(pieced, false, "in pieces");
    SavePicture(ReadPixels(pieces.get()), L"canvas_fitted_gradient");
}

INSTANTIATE_TEST_SUITE_P(FitZooms, FittedViewTest,
                         testing::Values(1024.0f / 1920.0f, 0.6667f, 0.4267f), [](const auto& row) {
                             return "Percent" + std::to_string(std::lround(row.param * 100));
                         });

// A capture that already is a DIB section is kept as it is: painting and
// flattening need no second copy of it.
TEST(CanvasMemory, ACaptureIsHeldOnce) {
    CanvasHarness canvas(SIZE{640, 480});
    fw::GdiBitmap capture = CPixelBuffer(3840, 2160).Release();
    ASSERT_TRUE(capture);
    FillBlock(capture.get(), RECT{3000, 1600, 3001, 1601}, RGB(0x12, 0x34, 0x56));
    auto privateBytes = [] {
        PROCESS_MEMORY_COUNTERS_EX memory{};
        ::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
        return memory.PrivateUsage;
    };
    const HBITMAP given = capture.get();
    const SIZE_T before = privateBytes();
    canvas.Panel().SetBitmap(std::move(capture));
    canvas.Panel().SetZoom(1.0f, 1.0f);
    ::UpdateWindow(canvas.Surface());
    // 33 MB more would be a copy of the picture; a copy made in place of
    // the section would have released the section.
    EXPECT_LT(privateBytes(), before + 16u * 1024 * 1024);
    EXPECT_EQ(::GetObjectType(given), static_cast<DWORD>(OBJ_BITMAP));
    CLumvexDlgEvents& scroll = canvas.Panel();
    scroll.OnScrollHorz(nullptr, 3000 - 20);
    scroll.OnScrollVert(nullptr, 1600 - 20);
    EXPECT_EQ(ReadPixels(PrintSurface(canvas.Surface()).get()).At(20, 20), RGB(0x12, 0x34, 0x56));
}

// Painting and output leave no GDI objects and no memory behind.
TEST(CanvasResources, RepeatedPaintsAndFlattensLeakNothing) {
    CanvasHarness canvas(SIZE{640, 480});
    canvas.Panel().SetBitmap(MakePicture(1920, 1080, kPicture));
    canvas.SelectTool<CHighlightItemFactory>();
    canvas.Drag(50, 50, 150, 120);
    canvas.SelectTool<CArrowItemFactory>();
    canvas.Drag(200, 220, 350, 220);
    canvas.SelectTool<CPenItemFactory>();
    canvas.Drag(300, 300, 400, 340, 8);
    canvas.SelectTool<CCropItemFactory>();
    canvas.Drag(20, 20, 600, 400);

    auto round = [&] {
        ::InvalidateRect(canvas.Surface(), nullptr, TRUE);
        ::UpdateWindow(canvas.Surface());
        canvas.Press(100, 100);
        canvas.Move(120, 130);
        canvas.Move(140, 150);
        canvas.Release(140, 150);
        canvas.Panel().Undo();
        Stream jpeg;
        canvas.Panel().SaveJpegToStream(jpeg.stream);
        canvas.Panel().GetFlattenedBitmap();
        canvas.Pump();
    };
    round(); // caches and lazily made system objects
    const int gdiBefore = GdiObjectCount();
    ASSERT_GT(gdiBefore, 0) << "no way to count GDI objects here";
    PROCESS_MEMORY_COUNTERS_EX before{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before), sizeof(before));
    for (int i = 0; i < 20; ++i)
        round();
    const int gdiAfter = GdiObjectCount();
    PROCESS_MEMORY_COUNTERS_EX after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after), sizeof(after));

    EXPECT_LE(gdiAfter, gdiBefore);
    // One leaked flat picture per round would be 20 x 8 MB.
    EXPECT_LT(after.PrivateUsage, before.PrivateUsage + 32u * 1024 * 1024);
}

} // namespace
