#include "LanternhopApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    lhl::CLanternhopApp app;
    return app.WinMain(instance, cmdLine);
}
