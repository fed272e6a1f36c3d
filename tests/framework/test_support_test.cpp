// The shared test helpers, tried against the real platform, so that a test
// built on them fails for its own reasons.
#include "support/message_box_catcher.h"
#include "support/message_pump.h"
#include "support/picture.h"
#include "support/test_resources.h"

#include "framework/handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Two resource scripts are linked into each test program: the program's and
// the tests' own. Both must be found.
TEST(TestResources, AreLinkedBesideTheProgramsOwn) {
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    EXPECT_NE(::FindResourceW(module, MAKEINTRESOURCEW(IDD_TEST_HIDDEN), RT_DIALOG), nullptr);
    EXPECT_NE(::FindResourceW(module, MAKEINTRESOURCEW(IDD_TEST_PANEL), RT_DIALOG), nullptr);
    wchar_t text[64]{};
    EXPECT_GT(::LoadStringW(module, 101, text, 64), 0) << "the program's About entry";
}

TEST(MessageBoxCatcher, CatchesReadsAndDismissesABoxOfThisThread) {
    MessageBoxCatcher catcher(L"Error");
    const int answer = ::MessageBoxW(nullptr, L"There was a problem while uploading.", L"Error",
                                     MB_OK | MB_ICONERROR);
    const CaughtMessageBox& box = catcher.Wait();
    EXPECT_EQ(answer, IDOK);
    EXPECT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"Error");
    EXPECT_EQ(box.text, L"There was a problem while uploading.");
    EXPECT_EQ(box.icon, MessageBoxIcon::Error);
}

TEST(MessageBoxCatcher, PressesTheChosenButtonAndTellsIcons) {
    struct Case {
        UINT style;
        int button;
        MessageBoxIcon icon;
    };
    const Case cases[] = {
        {MB_YESNO | MB_ICONQUESTION, IDNO, MessageBoxIcon::Question},
        {MB_OKCANCEL | MB_ICONINFORMATION, IDCANCEL, MessageBoxIcon::Information},
        {MB_OK | MB_ICONWARNING, IDOK, MessageBoxIcon::Warning},
        {MB_OK, IDOK, MessageBoxIcon::None},
    };
    for (const Case& c : cases) {
        MessageBoxCatcher catcher(L"Question", c.button);
        EXPECT_EQ(::MessageBoxW(nullptr, L"Really?", L"Question", c.style), c.button);
        EXPECT_EQ(catcher.Wait().icon, c.icon) << c.style;
    }
}

TEST(MessageBoxCatcher, OnlyTakesTheCaptionItWaitsFor) {
    MessageBoxCatcher wanted(L"Wanted");
    MessageBoxCatcher other(L"Other", IDCANCEL);
    EXPECT_EQ(::MessageBoxW(nullptr, L"not this one", L"Other", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(::MessageBoxW(nullptr, L"this one", L"Wanted", MB_OKCANCEL), IDOK);
    EXPECT_EQ(other.Wait().text, L"not this one");
    EXPECT_EQ(wanted.Wait().text, L"this one");

    MessageBoxCatcher unanswered(L"Never shown", IDOK, 100);
    EXPECT_FALSE(unanswered.Wait().found);
}

TEST(MessagePump, PumpsUntilTheConditionHoldsOrTheTimeIsUp) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    // The default handling of a posted WM_CLOSE destroys the window.
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(window); }, 5000));
    EXPECT_FALSE(PumpUntil([] { return false; }, 30));

    ::PostQuitMessage(2);
    EXPECT_FALSE(PumpUntil([] { return false; }, 1000));
    int code = 0;
    EXPECT_TRUE(TakeQuitMessage(&code)) << "the quit message stays for the test";
    EXPECT_EQ(code, 2);
}

TEST(Picture, ReadsComparesAndSavesABitmap) {
    fw::WindowDc screen(nullptr);
    fw::GdiBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 20, 10));
    {
        fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
        fw::SelectionGuard select(dc.get(), bitmap.get());
        fw::GdiBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
        fw::GdiBrush blue(::CreateSolidBrush(RGB(0, 0, 255)));
        const RECT left{0, 0, 10, 10};
        const RECT right{10, 0, 20, 10};
        ::FillRect(dc.get(), &left, red.get());
        ::FillRect(dc.get(), &right, blue.get());
    }
    const Picture picture = ReadPixels(bitmap.get());
    ASSERT_EQ(picture.width, 20);
    ASSERT_EQ(picture.height, 10);
    EXPECT_EQ(picture.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(picture.At(19, 9), RGB(0, 0, 255));
    EXPECT_EQ(picture.Count(RGB(255, 0, 0)), 100);
    EXPECT_EQ(picture.Count(RGB(250, 5, 0), 5, RECT{5, 0, 15, 10}), 50);
    EXPECT_TRUE(ColorsClose(RGB(10, 20, 30), RGB(12, 18, 30), 2));
    EXPECT_FALSE(ColorsClose(RGB(10, 20, 30), RGB(13, 20, 30), 2));

    wchar_t folder[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"lumvex_picture_test.png";
    ASSERT_TRUE(SavePng(bitmap.get(), path));
    char signature[8]{};
    {
        std::ifstream file(std::filesystem::path(path), std::ios::binary);
        ASSERT_TRUE(file.read(signature, sizeof(signature)));
    }
    ::DeleteFileW(path.c_str());
    EXPECT_EQ(std::string(signature, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

} // namespace
