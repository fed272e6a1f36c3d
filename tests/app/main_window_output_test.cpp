// The main window's keyboard shortcuts, clipboard and saving, driven with
// real keyboard input and the system's own save dialog.
#include "main_window_driver.h"

#include "support/message_box_catcher.h"
#include "support/picture.h"
#include "support/test_window.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <algorithm>
#include <string>
#include <thread>

namespace {

using MainWindowOutput = MainWindowFixture;

Picture ClipboardPicture() {
    Picture picture;
    if (::OpenClipboard(nullptr)) {
        if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
            picture = ReadPixels(bitmap);
        ::CloseClipboard();
    }
    return picture;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
                text = chars;
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
    }
    return text;
}

bool PutClipboardText(const std::wstring& text) {
    if (!::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    bool put = false;
    if (memory) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(::GlobalLock(memory)));
        ::GlobalUnlock(memory);
        put = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!put)
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return put;
}

TEST_F(MainWindowOutput, ShortcutsActOnlyWithControlAndWithoutAlt) {
    Run([&](HWND window) {
        ShowWithCapture(window);
        Drag(window, {100, 100}, {500, 400}); // a crop of 400 x 300
        SendOrFail(window, WM_COMMAND, IDC_TOOL_PEN);
        Drag(window, {150, 150}, {400, 300});
        Drag(window, {150, 350}, {450, 200});
        ASSERT_EQ(m_driver.Canvas().GetItems().size(), 3u);

        PressKeys({'Z'});
        EXPECT_EQ(ItemsAfterKeys(window, {'D'}, 3), 3u) << "plain letters are no shortcuts";
        EXPECT_EQ(ItemsAfterKeys(window, {VK_CONTROL, 'Z'}, 2), 2u) << "Ctrl+Z undoes one item";
        EXPECT_EQ(ItemsAfterKeys(window, {VK_CONTROL, 'Y'}, 3), 3u) << "Ctrl+Y redoes it";
        // A redone item is not selected again; a new one is.
        Drag(window, {300, 150}, {300, 350});
        ASSERT_EQ(m_driver.Canvas().GetItems().size(), 4u);
        EXPECT_EQ(ItemsAfterKeys(window, {VK_CONTROL, 'D'}, 3), 3u)
            << "Ctrl+D deletes the selected item";

        ASSERT_TRUE(PressKeysUntil(
            {VK_CONTROL, 'C'}, [] { return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }));
        const Picture copied = ClipboardPicture();
        fw::GdiBitmap flattened = m_driver.Canvas().GetFlattenedBitmap();
        const Picture expected = ReadPixels(flattened.get());
        ASSERT_EQ(copied.width, 400);
        ASSERT_EQ(copied.height, 300);
        EXPECT_EQ(copied.pixels, expected.pixels) << "exactly the flattened, cropped picture";

        // Ctrl+Alt is AltGr, which types letters: no shortcut. Ctrl+Z then
        // brings the deleted item back, and the Delete key deletes it again.
        PressKeys({VK_CONTROL, VK_MENU, 'D'});
        EXPECT_EQ(ItemsAfterKeys(window, {VK_CONTROL, 'Z'}, 4), 4u)
            << "AltGr+D deleted, or Ctrl+Z did not bring the deleted item back";
        EXPECT_EQ(ItemsAfterKeys(window, {VK_DELETE}, 3), 3u) << "the Delete key deletes";
        // Later edits leave the copied picture as it was.
        EXPECT_EQ(ClipboardPicture().pixels, copied.pixels);
    });
}

TEST_F(MainWindowOutput, ABusyClipboardIsLeftAsItWas) {
    ASSERT_TRUE(PutClipboardText(L"kept"));
    Run([&](HWND window) {
        ShowWithCapture(window);
        // Another program holds the clipboard open while we copy.
        fw::KernelHandle opened(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        fw::KernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread holder([&] {
            const bool held = ::OpenClipboard(nullptr) != FALSE;
            ::SetEvent(opened.get());
            ::WaitForSingleObject(release.get(), 10000);
            if (held)
                ::CloseClipboard();
        });
        ::WaitForSingleObject(opened.get(), 10000);
        SendOrFail(window, WM_COMMAND, ID_CTX_COPY);
        ::SetEvent(release.get());
        holder.join();

        EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
        EXPECT_EQ(ClipboardText(), L"kept");
        // Once free, the same command copies.
        SendOrFail(window, WM_COMMAND, ID_CTX_COPY);
        EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    });
}

TEST_F(MainWindowOutput, ANameTypedWithoutExtensionSavesAJpegOfTheFlattenedPicture) {
    const std::wstring typed = TempFilePath(L"lumvex saved picture");
    const std::wstring written = typed + L".jpg";
    ::DeleteFileW(written.c_str());
    Run([&](HWND window) {
        ShowWithCapture(window);
        Drag(window, {200, 100}, {520, 340}); // a crop of 320 x 240
        SendOrFail(window, WM_COMMAND, IDC_TOOL_ARROW);
        Drag(window, {220, 120}, {480, 300});

        HWND dialog = nullptr;
        PressKeysUntil({VK_CONTROL, 'S'},
                       [&] { return (dialog = FindOwnedWindow(window)) != nullptr; });
        ASSERT_NE(dialog, nullptr) << "Ctrl+S opens the save dialog";
        // The file name box: a combo box on newer dialogs, an edit on older.
        HWND name = ::GetDlgItem(dialog, cmb13);
        if (!name)
            name = ::GetDlgItem(dialog, edt1);
        ASSERT_NE(name, nullptr);
        SendOrFail(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }, kDriverTimeoutMs));
        SendOrFail(window, WM_NULL);

        const Picture saved = ReadImageFile(written);
        fw::GdiBitmap flattened = m_driver.Canvas().GetFlattenedBitmap();
        const Picture expected = ReadPixels(flattened.get());
        ASSERT_EQ(saved.width, 320);
        ASSERT_EQ(saved.height, 240);
        // JPEG is lossy; a wrong area or a missing arrow differs by far more.
        EXPECT_LT(MeanDifference(saved, expected), 4.0);
    });
    EXPECT_TRUE(::DeleteFileW(written.c_str()));
}

TEST_F(MainWindowOutput, NothingToWriteOrNowhereToWriteShowsTheError) {
    Run([&](HWND window) {
        auto expectError = [&](const std::wstring& path) {
            MessageBoxCatcher catcher(L"Error");
            EXPECT_FALSE(m_dialog.SaveScreenshotTo(path));
            const CaughtMessageBox& box = catcher.Wait();
            EXPECT_TRUE(box.found);
            EXPECT_EQ(box.text, L"The screenshot could not be saved.");
            EXPECT_EQ(box.icon, MessageBoxIcon::Error);
            EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
        };
        const std::wstring file = TempFilePath(L"lumvex_unsaved.jpg");
        ::DeleteFileW(file.c_str());
        // No capture yet: there is no picture to write.
        expectError(file);

        ShowWithCapture(window);
        expectError(TempFilePath(L"no such folder\\picture.jpg"));

        // A crop dragged straight down has no width.
        Drag(window, {300, 100}, {300, 400});
        expectError(file);
    });
}

} // namespace
