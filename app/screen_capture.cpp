#include "app/screen_capture.h"

#include "framework/handles.h"

HBITMAP CaptureScreen() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    fw::WindowDc screen(::GetDesktopWindow());
    fw::MemoryDc memory(::CreateCompatibleDC(screen.get()));
    fw::GdiBitmap picture(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !picture)
        return nullptr;
    {
        fw::SelectionGuard select(memory.get(), picture.get());
        // The result of the copy is not examined: a locked desktop still
        // gives a picture, of whatever the bitmap holds.
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT);
    }
    return picture.release();
}
