// QuenvidTools.dll: the system-wide keyboard hook (Ctrl twice) and the low-level mouse hook (the
// right-button gesture) that tell the launcher's panel to show itself. A hook procedure runs
// inside other programs, or holds up every mouse event of the system: it only feeds its state
// machine and posts, never throws, never waits, and always passes the input on.
#include "Gestures.h"
#include <windows.h>

namespace {

constexpr UINT kTrayNotify = WM_USER + 294;    // 0x0526
constexpr UINT kShowAtCursor = WM_USER + 296;  // 0x0528

// A process as the shared data records it. A process id alone can come back for a later
// process, so its creation time goes with it.
struct ProcessMark {
    DWORD id;
    FILETIME created;
};

// Shared by every process the keyboard hook maps this library into. The section outlives the
// launcher whenever other programs still hold the library, so every handle in it may be stale.
struct SharedData {
    HHOOK keyboardHook;
    HHOOK mouseHook;
    HWND target;
    ProcessMark keyboardOwner; // the process that installed each hook: only it removes the hook
    ProcessMark mouseOwner;
};
__attribute__((section("ShareDat"), shared)) SharedData g_shared = {};

HINSTANCE g_instance = nullptr;
ProcessMark g_self = {};
qt::CtrlTwiceDetector g_ctrl;
qt::GestureDetector g_gesture;

ProcessMark CurrentProcessMark() {
    ProcessMark mark{::GetCurrentProcessId(), {}};
    FILETIME exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &mark.created, &exited, &kernel, &user);
    return mark;
}

bool IsThisProcess(const ProcessMark& mark) {
    return mark.id == g_self.id && ::CompareFileTime(&mark.created, &g_self.created) == 0;
}

void Unhook(HHOOK& hook) {
    if (!hook) return;
    ::UnhookWindowsHookEx(hook); // fails harmlessly on the handle of a hook that is already gone
    hook = nullptr;
}

// The hook runs in the program the user works in, which may give the foreground away: the launcher
// that installed the hook gets it, and its panel takes the keys as it shows. The window recorded
// as the target may be stale, its id long since another process's; the owner's mark is not.
void LetOwnerTakeForeground(const ProcessMark& owner) {
    if (owner.id) ::AllowSetForegroundWindow(owner.id);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM key, LPARAM flags) {
    const bool released = (static_cast<DWORD>(flags) & 0x80000000u) != 0;
    // Posted: a sent message would hold up the program that has the focus until the launcher
    // answered, and a launcher that hangs would freeze it.
    if (code == HC_ACTION && released && g_ctrl.OnKeyRelease(key == VK_CONTROL, ::GetTickCount()) && g_shared.target) {
        LetOwnerTakeForeground(g_shared.keyboardOwner);
        ::PostMessageW(g_shared.target, kTrayNotify, 0, WM_LBUTTONDOWN);
    }
    return ::CallNextHookEx(g_shared.keyboardHook, code, key, flags);
}

// Windows drops a low-level hook whose callback overruns LowLevelHooksTimeout, for the rest of
// the session and without a word, and every mouse event waits on the callback meanwhile; so the
// panel is shown from the launcher's message loop, never from in here.
LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && data) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        const qt::StrokePoint point{info->pt.x, info->pt.y};
        if (message == WM_MOUSEMOVE) g_gesture.OnMove(point);
        else if (message == WM_RBUTTONDOWN) g_gesture.OnRightDown(point);
        else if (message == WM_RBUTTONUP && g_gesture.OnRightUp() && g_shared.target) {
            LetOwnerTakeForeground(g_shared.mouseOwner);
            ::PostMessageW(g_shared.target, kShowAtCursor, 0, 0);
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
    g_shared.keyboardOwner = {};
    return 1;
}

__declspec(dllexport) int RegisterMenuSentToMe() { return 1; }

__declspec(dllexport) int SetMouseCapture(HWND window, BOOL on) {
    // A low-level hook lives and dies with the thread that set it: a handle found here from an
    // earlier launcher is stale, and one of this process's own is replaced, never doubled.
    Unhook(g_shared.mouseHook);
    g_shared.mouseOwner = {};
    if (on) {
        ClaimTarget(window);
        g_shared.mouseHook = ::SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_instance, 0);
        if (g_shared.mouseHook) g_shared.mouseOwner = g_self;
    }
    return 1;
}

// 1 when this process owns the keyboard hook (installed now or before), 0 when installing it
// failed: then Ctrl twice does not work and the launcher must not offer it.
__declspec(dllexport) int SetUseOtherHotKey(HWND window) {
    ClaimTarget(window);
    if (g_shared.keyboardHook && IsThisProcess(g_shared.keyboardOwner)) return 1;
    // A handle recorded by another process is stale when that launcher ended or was killed
    // (Windows took its hook with it, but the programs its hook entered keep this data alive);
    // and a live one must not go on beside a second hook, or every Ctrl release would count
    // twice. Either way the caller becomes the one owner.
    Unhook(g_shared.keyboardHook);
    g_shared.keyboardOwner = {};
    HHOOK hook = ::SetWindowsHookExW(WH_KEYBOARD, KeyboardProc, g_instance, 0);
    if (!hook) return 0;
    g_shared.keyboardHook = hook;
    g_shared.keyboardOwner = g_self;
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        g_self = CurrentProcessMark();
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // Every program the keyboard hook entered unloads this library when it ends; only the
        // owner's own unload may take a hook away, or any program's exit would stop it. When the
        // owner is ending as a whole (reserved set), Windows removes its hooks itself and user32
        // is no longer to be called: the handles are only forgotten.
        const bool freed = reserved == nullptr;
        if (IsThisProcess(g_shared.keyboardOwner)) {
            if (freed) Unhook(g_shared.keyboardHook);
            g_shared.keyboardHook = nullptr;
            g_shared.keyboardOwner = {};
        }
        if (IsThisProcess(g_shared.mouseOwner)) {
            if (freed) Unhook(g_shared.mouseHook);
            g_shared.mouseHook = nullptr;
            g_shared.mouseOwner = {};
        }
    }
    return TRUE;
}

} // extern "C"
