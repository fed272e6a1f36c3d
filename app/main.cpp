#include "app/lumvex_app.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    CLumvexApp app;
    return app.Run(instance, commandLine);
}
