// The yardstick for start-up: a bare Win32 program that shows the panel's dialog template at the
// same size and does nothing else.
#include <windows.h>

namespace {

INT_PTR CALLBACK BareProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowTextW(dialog, L"Bare dialog");
        return TRUE;
    case WM_CLOSE:
        ::EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return static_cast<int>(::DialogBoxParamW(instance, MAKEINTRESOURCEW(102), nullptr, BareProc, 0));
}
