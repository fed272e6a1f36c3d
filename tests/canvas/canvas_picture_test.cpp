// What the surface shows while each item kind is dragged out and after its
// release, at actual size and fitted. The pictures are kept under
// build/pictures for people to look at.
#include <gtest/gtest.h>

#include <string>

#include "canvas/pointer_item_factory.h"
#include "canvas/simple_item_factories.h"
#include "canvas_harness.h"

using namespace canvas_test;

namespace {

constexpr COLORREF kSteelBlue = RGB(0xB0, 0xC4, 0xDE);
constexpr COLORREF kDesk = RGB(236, 236, 240);

// Something like a capture: a desktop with a window and some text.
fw::GdiBitmap MakeCapture() {
    fw::GdiBitmap picture = MakePicture(800, 600, kDesk);
    FillBlock(picture.get(), RECT{60, 40, 740, 560}, RGB(255, 255, 255));
    FillBlock(picture.get(), RECT{60, 40, 740, 72}, RGB(40, 80, 150));
    FillBlock(picture.get(), RECT{100, 120, 380, 300}, RGB(120, 170, 90));
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::SelectionGuard select(dc.get(), picture.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    RECT text{420, 120, 720, 520};
    ::DrawTextW(dc.get(),
                L"Quarterly figures\n\nThe line on the left shows the orders of the "
                L"last twelve weeks. Annotate what matters.",
                -1, &text, DT_WORDBREAK);
    return picture;
}

struct Stroke {
    const char* name;
    POINT from;
    POINT to;
};

class CanvasPictureTest : public testing::TestWithParam<float> {
protected:
    // Drags half way, takes a picture, finishes the drag, takes another.
    template <typename Tool>
    std::pair<Picture, Picture> DrawAndShoot(CanvasHarness& canvas, const Stroke& stroke) {
        canvas.SelectTool<Tool>();
        canvas.Press(stroke.from.x, stroke.from.y);
        const int steps = 6;
        for (int i = 1; i <= steps; ++i) {
            canvas.Move(stroke.from.x + (stroke.to.x - stroke.from.x) * i / steps,
                        stroke.from.y + (stroke.to.y - stroke.from.y) * i / steps +
                            (i % 2) * 12); // a wobble, for the pen
        }
        canvas.Pump();
        Picture dragging = CaptureClient(canvas.Surface());
        canvas.Release(stroke.to.x, stroke.to.y);
        canvas.Pump();
        Picture released = CaptureClient(canvas.Surface());
        const std::wstring prefix = GetParam() == 1.0f ? L"canvas_actual_" : L"canvas_fit_";
        const std::wstring name(stroke.name,
                                stroke.name + std::char_traits<char>::length(stroke.name));
        SavePicture(dragging, (prefix + name + L"_dragging").c_str());
        SavePicture(released, (prefix + name + L"_released").c_str());
        return {std::move(dragging), std::move(released)};
    }
};

TEST_P(CanvasPictureTest, EachKindWhileDraggedAndAfterRelease) {
    const float zoom = GetParam();
    CanvasHarness canvas(SIZE{640, 480});
    canvas.Panel().SetBitmap(MakeCapture());
    canvas.Panel().SetZoom(zoom, zoom);
    canvas.SetColor(RGB(220, 30, 30));

    // View points; at the fit zoom the picture is 640 x 480.
    auto [highlighting, highlighted] =
        DrawAndShoot<CHighlightItemFactory>(canvas, {"highlight", POINT{80, 90}, POINT{300, 260}});
    EXPECT_TRUE(ColorsClose(highlighting.At(80, 180), kSteelBlue, 30)) << "outline while dragged";
    EXPECT_TRUE(ColorsClose(highlighted.At(80, 180), RGB(220, 30, 30), 40))
        << "frame after release";

    canvas.SetColor(RGB(30, 30, 220));
    auto [arDrag, arDone] =
        DrawAndShoot<CArrowItemFactory>(canvas, {"arrow", POINT{360, 380}, POINT{520, 380}});
    EXPECT_TRUE(ColorsClose(arDrag.At(420, 380), kSteelBlue, 50)) << "arrow while dragged";
    EXPECT_TRUE(ColorsClose(arDone.At(420, 380), RGB(30, 30, 220), 60)) << "arrow after release";

    canvas.SetColor(RGB(20, 140, 20));
    auto [penning, penned] =
        DrawAndShoot<CPenItemFactory>(canvas, {"pen", POINT{350, 100}, POINT{560, 160}});
    EXPECT_TRUE(ColorsClose(penning.At(420, 120), RGB(20, 140, 20), 40)) << "stroke while dragged";
    EXPECT_TRUE(ColorsClose(penning.At(350, 100), RGB(20, 140, 20), 40))
        << "no handle while dragged";
    EXPECT_TRUE(ColorsClose(penned.At(490, 140), RGB(20, 140, 20), 40)) << "stroke after release";
    EXPECT_EQ(penned.At(350, 100), RGB(0, 0, 0)) << "first point's handle after release";
    EXPECT_EQ(penned.At(560, 160), RGB(0, 0, 0)) << "last point's handle after release";
    EXPECT_NE(penned.At(420, 110), RGB(20, 140, 20)) << "nothing beside the stroke";

    auto [cropDrag, cropped] =
        DrawAndShoot<CCropItemFactory>(canvas, {"crop", POINT{40, 60}, POINT{600, 430}});
    EXPECT_GT(GetRValue(cropDrag.At(450, 300)), 200) << "white while dragged";
    EXPECT_LT(GetRValue(cropped.At(20, 20)), 100) << "darkened around the crop";
    EXPECT_TRUE(ColorsClose(cropped.At(80, 180), RGB(220, 30, 30), 40)) << "the frame stays";

    // The pointer moves the highlight: mid-way the screen shows what a whole
    // repaint would; after, its eight handles show on it.
    canvas.SelectTool<CPointerItemFactory>();
    canvas.Press(82, 180);
    for (int step = 1; step <= 4; ++step)
        canvas.Move(82 + step * 5, 180 + step * 5 / 2);
    const Picture moving = CaptureClient(canvas.Surface());
    const Picture whole = ReadPixels(PrintSurface(canvas.Surface()).get());
    EXPECT_EQ(DifferingPixels(moving, whole, 40), 0) << "pixels left behind by the move";
    canvas.Release(102, 190);
    canvas.Pump();
    SavePicture(CaptureClient(canvas.Surface()),
                zoom == 1.0f ? L"canvas_actual_selected" : L"canvas_fit_selected");
}

std::string ZoomName(const testing::TestParamInfo<float>& param) {
    return param.param == 1.0f ? "Actual" : "Fit";
}

INSTANTIATE_TEST_SUITE_P(Zooms, CanvasPictureTest, testing::Values(1.0f, 0.8f), ZoomName);

} // namespace
