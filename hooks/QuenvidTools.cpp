// QuenvidTools.dll: the system-wide keyboard hook (Ctrl twice) and the low-level mouse hook (the
// right-button gesture) that tell the launcher's panel to show itself. A hook procedure runs
// inside other programs: it never throws, never blocks, and always passes the input on.
#include "Gestures.h"
#include <windows.h>

namespace {

constexpr UINT kTrayNotify = WM_USER + 294;    // 0x0526
constexpr UINT kShowAtCursor = WM_USER + 296;  // 0x0528

// Shared by every process the keyboard hook maps this library into.
struct SharedData {
    HHOOK keyboardHook;
    HHOOK mouseHook;
    HWND target;
    DWORD installer; // the process that installed the hooks: only it removes them on unload
};
__attribute__((section("ShareDat"), shared)) SharedData g_shared = {nullptr, nullptr, nullptr, 0};

HINSTANCE g_instance = nullptr;
qt::CtrlTwiceDetector g_ctrl;
qt::GestureDetector g_gesture;

void Unhook(HHOOK& hook) {
    if (!hook) return;
    ::UnhookWindowsHookEx(hook);
    hook = nullptr;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM key, LPARAM flags) {
    const bool released = (static_cast<DWORD>(flags) & 0x80000000u) != 0;
    if (code == HC_ACTION && released && g_ctrl.OnKeyRelease(key == VK_CONTROL, ::GetTickCount()) && g_shared.target)
        ::SendMessageW(g_shared.target, kTrayNotify, 0, WM_LBUTTONDOWN);
    return ::CallNextHookEx(g_shared.keyboardHook, code, key, flags);
}

LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && data) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        const qt::StrokePoint point{info->pt.x, info->pt.y};
        try {
            if (message == WM_MOUSEMOVE) g_gesture.OnMove(point);
            else if (message == WM_RBUTTONDOWN) g_gesture.OnRightDown(point);
            else if (message == WM_RBUTTONUP && g_gesture.OnRightUp() && g_shared.target)
                ::SendMessageW(g_shared.target, kShowAtCursor, 0, 0);
        } catch (...) {
            // Out of memory for the stroke: this stroke is simply not a gesture.
        }
    }
    return ::CallNextHookEx(g_shared.mouseHook, code, message, data);
}

// The first window to ask keeps the notifications; a window that no longer exists (a launcher
// that ended while other programs still held this library) gives its place to the next one.
void ClaimTarget(HWND window) {
    if (window && (!g_shared.target || !::IsWindow(g_shared.target))) g_shared.target = window;
}

} // namespace

extern "C" {

__declspec(dllexport) int DisableUseOtherHotKey() {
    Unhook(g_shared.keyboardHook);
    return 1;
}

__declspec(dllexport) int RegisterMenuSentToMe() { return 1; }

__declspec(dllexport) int SetMouseCapture(HWND window, BOOL on) {
    if (on) {
        ClaimTarget(window);
        Unhook(g_shared.mouseHook);
        g_shared.mouseHook = ::SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_instance, 0);
        g_shared.installer = ::GetCurrentProcessId();
    } else {
        Unhook(g_shared.mouseHook);
    }
    return 1;
}

__declspec(dllexport) int SetUseOtherHotKey(HWND window) {
    ClaimTarget(window);
    if (!g_shared.keyboardHook) {
        g_shared.keyboardHook = ::SetWindowsHookExW(WH_KEYBOARD, KeyboardProc, g_instance, 0);
        g_shared.installer = ::GetCurrentProcessId();
    }
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && g_shared.installer == ::GetCurrentProcessId()) {
        // Every program the keyboard hook entered unloads this library when it ends; only the
        // launcher's own unload may take the hooks away, or any program's exit would stop them.
        Unhook(g_shared.keyboardHook);
        Unhook(g_shared.mouseHook);
    }
    return TRUE;
}

} // extern "C"
