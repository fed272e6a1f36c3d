#include "app/screen_capture.h"

#include "canvas/pixel_buffer.h"
#include "framework/handles.h"

HBITMAP CaptureScreen() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    fw::WindowDc screen(::GetDesktopWindow());
    fw::MemoryDc memory(::CreateCompatibleDC(screen.get()));
    // A top-down 32-bit DIB section: the canvas draws on these very pixels,
    // so the capture is held once, not once more in a converted copy.
    fw::GdiBitmap picture = CPixelBuffer(width, height).Release();
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
