#include "LHLConfigDelPersonalDataApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    CLHLConfigDelPersonalDataApp app;
    return app.WinMain(instance, cmdLine);
}
