#include "framework/handles.h"
#include "framework/system_library.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <cwchar>
#include <memory>
#include <string>
#include <thread>

// GetGuiResources is a stub under Wine (it answers 0), so these tests see a
// release through the handle itself: GetObjectType answers 0 for a deleted
// GDI object, other kinds report an invalid handle.
namespace {

bool GdiObjectAlive(HGDIOBJ object) {
    return ::GetObjectType(object) != 0;
}

TEST(Handles, EachGdiOwnerDeletesItsObject) {
    HBITMAP bitmap = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HPEN pen = nullptr;
    HRGN region = nullptr;
    HDC dc = nullptr;
    {
        fw::GdiBitmap ownedBitmap(::CreateBitmap(4, 4, 1, 32, nullptr));
        fw::GdiBrush ownedBrush(::CreateSolidBrush(RGB(1, 2, 3)));
        fw::GdiFont ownedFont(
            ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
        fw::GdiPen ownedPen(::CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        fw::GdiRegion ownedRegion(::CreateRectRgn(0, 0, 4, 4));
        fw::MemoryDc ownedDc(::CreateCompatibleDC(nullptr));
        bitmap = ownedBitmap.get();
        brush = ownedBrush.get();
        font = ownedFont.get();
        pen = ownedPen.get();
        region = ownedRegion.get();
        dc = ownedDc.get();
        for (HGDIOBJ object :
             {static_cast<HGDIOBJ>(bitmap), static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(font),
              static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(region), static_cast<HGDIOBJ>(dc)})
            ASSERT_TRUE(GdiObjectAlive(object));
    }
    EXPECT_FALSE(GdiObjectAlive(bitmap));
    EXPECT_FALSE(GdiObjectAlive(brush));
    EXPECT_FALSE(GdiObjectAlive(font));
    EXPECT_FALSE(GdiObjectAlive(pen));
    EXPECT_FALSE(GdiObjectAlive(region));
    EXPECT_FALSE(GdiObjectAlive(dc));
}

TEST(Handles, MoveTransfersOwnershipAndReleaseGivesItUp) {
    fw::GdiBrush first(::CreateSolidBrush(RGB(1, 1, 1)));
    HBRUSH firstHandle = first.get();

    fw::GdiBrush moved(std::move(first));
    EXPECT_FALSE(first); // NOLINT(bugprone-use-after-move): the point of the test
    EXPECT_EQ(moved.get(), firstHandle);

    // Assigning over an owner releases what it held.
    fw::GdiBrush second(::CreateSolidBrush(RGB(2, 2, 2)));
    HBRUSH secondHandle = second.get();
    moved = std::move(second);
    EXPECT_FALSE(GdiObjectAlive(firstHandle));
    EXPECT_EQ(moved.get(), secondHandle);

    // Self-assignment keeps the object.
    fw::GdiBrush& alias = moved;
    moved = std::move(alias);
    EXPECT_TRUE(GdiObjectAlive(secondHandle));

    HBRUSH released = moved.release();
    EXPECT_FALSE(moved);
    EXPECT_EQ(released, secondHandle);
    moved.reset();
    EXPECT_TRUE(GdiObjectAlive(released));
    ::DeleteObject(released);

    // put() lets a creating function fill the owner, releasing the old one.
    fw::GdiBrush filled(::CreateSolidBrush(RGB(3, 3, 3)));
    HBRUSH old = filled.get();
    *filled.put() = ::CreateSolidBrush(RGB(4, 4, 4));
    EXPECT_FALSE(GdiObjectAlive(old));
    EXPECT_TRUE(filled);
}

TEST(Handles, SelectionGuardRestoresThePreviousObject) {
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::GdiPen pen(::CreatePen(PS_SOLID, 3, RGB(9, 9, 9)));
    fw::GdiPen other(::CreatePen(PS_SOLID, 5, RGB(8, 8, 8)));
    const HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_PEN);
    {
        fw::SelectionGuard outer(dc.get(), pen.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
        {
            fw::SelectionGuard inner(dc.get(), other.get());
            EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), other.get());
        }
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), original);
    {
        // A failed selection leaves nothing to restore.
        fw::SelectionGuard failed(dc.get(), nullptr);
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), original);
    {
        // Moved, the guard restores once, when its new owner goes.
        auto first = std::make_unique<fw::SelectionGuard>(dc.get(), pen.get());
        fw::SelectionGuard moved(std::move(*first));
        first.reset();
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), original);
}

TEST(Handles, WindowAndPaintDcsAreReleased) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = nullptr;
    {
        fw::WindowDc owned(window);
        ASSERT_TRUE(owned);
        dc = owned.get();
    }
    // ReleaseDC answers 0 for a device context that is no longer in use.
    EXPECT_EQ(::ReleaseDC(window, dc), 0);

    // Moved, a device context is released once, by its new owner; one
    // assigned over is released at once.
    HDC second = nullptr;
    {
        auto first = std::make_unique<fw::WindowDc>(window);
        dc = first->get();
        fw::WindowDc moved(std::move(*first));
        first.reset();
        EXPECT_EQ(moved.get(), dc);
        fw::WindowDc other(window);
        second = other.get();
        moved = std::move(other);
        EXPECT_EQ(::ReleaseDC(window, dc), 0);
        EXPECT_EQ(moved.get(), second);
    }
    EXPECT_EQ(::ReleaseDC(window, second), 0);

    ::InvalidateRect(window, nullptr, TRUE);
    HDC paintDc = nullptr;
    {
        auto paint = std::make_unique<fw::PaintDc>(window);
        paintDc = paint->get();
        EXPECT_NE(paintDc, nullptr);
        fw::PaintDc moved(std::move(*paint));
        paint.reset();
        EXPECT_EQ(moved.get(), paintDc);
    }
    EXPECT_EQ(::ReleaseDC(window, paintDc), 0);
    EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE));
    ::DestroyWindow(window);
}

TEST(Handles, KernelFileAndRegistryOwnersClose) {
    HANDLE event = nullptr;
    {
        fw::KernelHandle owned(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(owned);
        event = owned.get();
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(event, &flags));

    // The file exists only while its handle is open.
    wchar_t folder[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"lumvex_handles_test.tmp";
    {
        fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        ASSERT_TRUE(file);
        EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    // Failure is INVALID_HANDLE_VALUE, which the owner holds as "none".
    fw::FileHandle missing(::CreateFileW(L"Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);

    HKEY key = nullptr;
    {
        fw::RegKey owned;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, owned.put()),
                  ERROR_SUCCESS);
        key = owned.get();
    }
    EXPECT_EQ(::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
}

TEST(Handles, InternetIconMenuAndModuleOwnersRelease) {
    HINTERNET internet = nullptr;
    {
        fw::InternetHandle owned(
            ::InternetOpenW(L"LumvexTest", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
        ASSERT_TRUE(owned);
        internet = owned.get();
    }
    DWORD type = 0;
    DWORD size = sizeof(type);
    EXPECT_FALSE(::InternetQueryOptionW(internet, INTERNET_OPTION_HANDLE_TYPE, &type, &size));

    HICON icon = nullptr;
    {
        fw::Icon owned(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
        ASSERT_TRUE(owned);
        icon = owned.get();
    }
    ICONINFO info{};
    EXPECT_FALSE(::GetIconInfo(icon, &info));

    HMENU menu = nullptr;
    {
        fw::Menu owned(::CreatePopupMenu());
        ASSERT_TRUE(owned);
        menu = owned.get();
    }
    EXPECT_FALSE(::IsMenu(menu));

    // A DLL nothing else in the test program loads.
    constexpr wchar_t kLibrary[] = L"cabinet.dll";
    if (::GetModuleHandleW(kLibrary))
        GTEST_SKIP() << "cabinet.dll is already loaded";
    {
        fw::Module owned(::LoadLibraryW(kLibrary));
        ASSERT_TRUE(owned);
        EXPECT_NE(::GetModuleHandleW(kLibrary), nullptr);
    }
    EXPECT_EQ(::GetModuleHandleW(kLibrary), nullptr);
}

TEST(Handles, ComOwnersReleaseAndTheComScopeEndsWhatItStarted) {
    IStream* raw = nullptr;
    {
        fw::Stream stream;
        ASSERT_TRUE(SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())));
        raw = stream.get();
        raw->AddRef();
    }
    EXPECT_EQ(raw->Release(), 0u) << "the owner kept its reference";

    // On a thread of its own, so that the test thread's COM state is left
    // alone: inside the scope the thread is single-threaded, after it free.
    std::thread([] {
        {
            fw::ComScope com;
            EXPECT_TRUE(com.Started());
            EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
        }
        const HRESULT again = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(again, S_OK) << "the scope left COM started";
        if (SUCCEEDED(again))
            ::CoUninitialize();
    }).join();

    GUID guid{};
    ASSERT_EQ(::CoCreateGuid(&guid), S_OK);
    fw::RpcString text;
    ASSERT_EQ(::UuidToStringW(&guid, text.put()), RPC_S_OK);
    EXPECT_EQ(std::wcslen(reinterpret_cast<const wchar_t*>(text.get())), 36u);
}

} // namespace

// A run-time bound DLL: what is missing is reported as missing and never
// called, and only the system folder is searched.
TEST(SystemLibrary, BindsWhatExistsAndReportsWhatIsMissing) {
    const fw::SystemLibrary kernel(L"kernel32.dll");
    ASSERT_TRUE(kernel);
    decltype(&::GetCurrentProcessId) processId = nullptr;
    ASSERT_TRUE(kernel.Bind(processId, "GetCurrentProcessId"));
    EXPECT_EQ(processId(), ::GetCurrentProcessId());
    EXPECT_FALSE(kernel.Bind(processId, "LumvexNoSuchExport"));
    EXPECT_EQ(processId, nullptr);

    const fw::SystemLibrary missing(L"lumvex_no_such_library.dll");
    EXPECT_FALSE(missing);
    processId = ::GetCurrentProcessId;
    EXPECT_FALSE(missing.Bind(processId, "GetCurrentProcessId"));
    EXPECT_EQ(processId, nullptr);
    // The test mail DLL lies beside this program: not a system DLL.
    EXPECT_FALSE(fw::SystemLibrary(L"lumvex_test_mapi.dll"));

    // Every function the save and upload commands call is there by its name.
    EXPECT_NE(fw::WinInet(), nullptr);
    EXPECT_NE(fw::CommonDialogs(), nullptr);
}
