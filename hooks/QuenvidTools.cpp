// QuenvidTools.dll: the system-wide keyboard hook (Ctrl twice) and the low-level mouse hook (the
// right-button gesture) that tell the launcher's panel to show itself. A hook procedure runs
// inside other programs, or holds up every mouse event of the system: it only feeds its state
// machine and posts, never throws, never waits, and always passes the input on. Both hooks are
// set on the library's own thread (HookThread.h), never on the caller's.
#include "Gestures.h"
#include "HookThread.h"
#include <windows.h>

namespace {

constexpr UINT kTrayNotify = WM_USER + 294;    // 0x0526
constexpr UINT kShowAtCursor = WM_USER + 296;  // 0x0528

// Requests to a process's hook thread. kRelease also comes from the next launcher that takes
// the hook over: an owner removes its own hook, as Windows lets no other process do.
enum Request : UINT { kInstall = qt::kRequestFirst, kRemove, kRelease, kHoldsAny };
enum Which : WPARAM { kKeyboard, kMouse };

// Waits of one launcher on another: taking the hand-over's turn, and the owner's answer.
constexpr DWORD kTurnWaitMs = 5000;
constexpr DWORD kReleaseWaitMs = 3000;

// A process as the shared data records it. A process id alone can come back for a later
// process, so its creation time goes with it.
struct ProcessMark {
    DWORD id;
    FILETIME created;
};

// What the shared data records of one hook: its handle, the process that set it (only that one
// may remove it) and the window of that process's hook thread, where it is asked to.
struct HookRecord {
    HHOOK hook;
    ProcessMark owner;
    HWND ownerThread;
};

// Shared by every process the keyboard hook maps this library into. The section outlives the
// launcher whenever other programs still hold the library, so every handle in it may be stale.
// The two hook handles come first, then the target, as other tools read them.
struct SharedData {
    HHOOK keyboardHook;
    HHOOK mouseHook;
    HWND target;
    ProcessMark keyboardOwner;
    ProcessMark mouseOwner;
    HWND keyboardThread;
    HWND mouseThread;
};
__attribute__((section("ShareDat"), shared)) SharedData g_shared = {};

HINSTANCE g_instance = nullptr;
ProcessMark g_self = {};
qt::CtrlTwiceDetector g_ctrl;
qt::GestureDetector g_gesture; // touched on the hook thread only
qt::CHookThread g_thread;      // started and stopped from the launcher's thread only

ProcessMark CurrentProcessMark() {
    ProcessMark mark{::GetCurrentProcessId(), {}};
    FILETIME exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &mark.created, &exited, &kernel, &user);
    return mark;
}

bool SameProcess(const ProcessMark& a, const ProcessMark& b) {
    return a.id && a.id == b.id && ::CompareFileTime(&a.created, &b.created) == 0;
}

// The fields of one hook in the shared data, by reference.
struct HookFields {
    HHOOK& hook;
    ProcessMark& owner;
    HWND& ownerThread;
};

HookFields Fields(WPARAM which) {
    if (which == kKeyboard) return {g_shared.keyboardHook, g_shared.keyboardOwner, g_shared.keyboardThread};
    return {g_shared.mouseHook, g_shared.mouseOwner, g_shared.mouseThread};
}

void Forget(const HookFields& fields) {
    fields.hook = nullptr;
    fields.owner = {};
    fields.ownerThread = nullptr;
}

// The hook runs in the program the user works in: that program has the foreground and may
// hand it on to the panel's process, which then takes the keys as it shows. From anywhere else
// (the low-level mouse hook runs in the launcher itself) a grant would be refused.
void LetPanelTakeForeground(HWND panel) {
    DWORD panelProcess = 0, foregroundProcess = 0;
    ::GetWindowThreadProcessId(panel, &panelProcess);
    if (HWND foreground = ::GetForegroundWindow()) ::GetWindowThreadProcessId(foreground, &foregroundProcess);
    if (const DWORD grantee = qt::ForegroundGrantee(foregroundProcess, g_self.id, panelProcess))
        ::AllowSetForegroundWindow(grantee);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM key, LPARAM flags) {
    const bool released = (static_cast<DWORD>(flags) & 0x80000000u) != 0;
    // Posted: a sent message would hold up the program that has the focus until the launcher
    // answered, and a launcher that hangs would freeze it.
    if (code == HC_ACTION && released && g_ctrl.OnKeyRelease(key == VK_CONTROL, ::GetTickCount()) && g_shared.target) {
        LetPanelTakeForeground(g_shared.target);
        ::PostMessageW(g_shared.target, kTrayNotify, 0, WM_LBUTTONDOWN);
    }
    return ::CallNextHookEx(g_shared.keyboardHook, code, key, flags);
}

// Runs on the hook thread and answers at once, whatever the panel is doing; the panel shows
// itself from its own message loop once it gets to the posted decision.
LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && data) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        const qt::StrokePoint point{info->pt.x, info->pt.y};
        if (message == WM_MOUSEMOVE) g_gesture.OnMove(point);
        else if (message == WM_RBUTTONDOWN) g_gesture.OnRightDown(point);
        else if (message == WM_RBUTTONUP && g_gesture.OnRightUp() && g_shared.target)
            ::PostMessageW(g_shared.target, kShowAtCursor, 0, 0);
    }
    return ::CallNextHookEx(g_shared.mouseHook, code, message, data);
}

// On the hook thread: sets, removes or gives up this process's own hooks.
LRESULT OnRequest(UINT request, WPARAM which, LPARAM) {
    const HookFields fields = Fields(which);
    if (request == kHoldsAny)
        return SameProcess(g_shared.keyboardOwner, g_self) || SameProcess(g_shared.mouseOwner, g_self);
    if (request == kInstall) {
        HHOOK hook = which == kKeyboard ? ::SetWindowsHookExW(WH_KEYBOARD, KeyboardProc, g_instance, 0)
                                        : ::SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_instance, 0);
        if (!hook) return 0;
        fields.hook = hook;
        fields.owner = g_self;
        fields.ownerThread = g_thread.Window();
        return 1;
    }
    // kRemove from this process, kRelease from the next owner: only a hook of our own goes.
    if (!SameProcess(fields.owner, g_self)) return 1;
    ::UnhookWindowsHookEx(fields.hook);
    Forget(fields);
    return 1;
}

// Whether the process recorded as a hook's owner still runs its hook thread. A window handle
// and a process id can both come back for others, so the window must belong to that process,
// and the process (where it may be asked) must be the one recorded.
bool OwnerAlive(const HookFields& fields) {
    if (!fields.ownerThread || !::IsWindow(fields.ownerThread)) return false;
    DWORD process = 0;
    ::GetWindowThreadProcessId(fields.ownerThread, &process);
    if (process != fields.owner.id) return false;
    HANDLE handle = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle) return true; // another user's launcher: the window is all there is to go by
    ProcessMark mark{process, {}};
    FILETIME exited{}, kernel{}, user{};
    const bool known = ::GetProcessTimes(handle, &mark.created, &exited, &kernel, &user);
    ::CloseHandle(handle);
    return !known || SameProcess(mark, fields.owner);
}

// The named mutex that gives one launcher at a time its turn at the shared hook records, so two
// of them never both find a hook missing and both set one.
class HandOverTurn {
public:
    HandOverTurn() : m_mutex(::CreateMutexW(nullptr, FALSE, L"Local\\QuenvidTools.HookHandOver")) {
        const DWORD waited = m_mutex ? ::WaitForSingleObject(m_mutex, kTurnWaitMs) : WAIT_FAILED;
        m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~HandOverTurn() {
        if (m_held) ::ReleaseMutex(m_mutex);
        if (m_mutex) ::CloseHandle(m_mutex);
    }
    HandOverTurn(const HandOverTurn&) = delete;
    HandOverTurn& operator=(const HandOverTurn&) = delete;
    bool Held() const { return m_held; }

private:
    HANDLE m_mutex;
    bool m_held = false;
};

// Makes the shared record of a hook free for this process; false when a live owner would not
// give its hook up, which then stays the only one. Called with the hand-over's turn held.
bool ClearTheWay(WPARAM which) {
    const HookFields fields = Fields(which);
    switch (qt::ClaimHook(fields.hook != nullptr, SameProcess(fields.owner, g_self), OwnerAlive(fields))) {
    case qt::HookClaim::Install:
    case qt::HookClaim::AlreadyOurs:
        return true;
    case qt::HookClaim::ForgetStale:
        Forget(fields);
        return true;
    case qt::HookClaim::AskOwner:
        break;
    }
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(fields.ownerThread, kRelease, which, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, kReleaseWaitMs,
                          &answer);
    return fields.hook == nullptr;
}

// The first window to ask keeps the notifications; a window that no longer exists (a launcher
// that ended while other programs still held this library) gives its place to the next one.
void ClaimTarget(HWND window) {
    if (window && (!g_shared.target || !::IsWindow(g_shared.target))) g_shared.target = window;
}

// Sets a hook of this process on the hook thread; 1 when it is in place (set now or before).
int Hook(WPARAM which) {
    HandOverTurn turn;
    if (!turn.Held() || !ClearTheWay(which)) return 0;
    if (SameProcess(Fields(which).owner, g_self)) return 1;
    if (!g_thread.Start(g_instance, OnRequest)) return 0;
    return g_thread.Call(kInstall, which) ? 1 : 0;
}

// Takes this process's own hook away; the hook thread ends once it holds none. A hook that a
// later launcher took over stays: an earlier launcher that ends must not take it along.
void Unhook(WPARAM which) {
    HandOverTurn turn;
    g_thread.Call(kRemove, which);
    if (!g_thread.Call(kHoldsAny)) g_thread.Stop();
}

} // namespace

extern "C" {

__declspec(dllexport) int DisableUseOtherHotKey() {
    Unhook(kKeyboard);
    return 1;
}

__declspec(dllexport) int RegisterMenuSentToMe() { return 1; }

__declspec(dllexport) int SetMouseCapture(HWND window, BOOL on) {
    if (!on) {
        Unhook(kMouse);
        return 1;
    }
    ClaimTarget(window);
    Hook(kMouse);
    return 1;
}

// 1 when this process owns the keyboard hook (installed now or before), 0 when it could not be
// installed: then Ctrl twice does not work and the launcher must not offer it.
__declspec(dllexport) int SetUseOtherHotKey(HWND window) {
    ClaimTarget(window);
    return Hook(kKeyboard);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        g_self = CurrentProcessMark();
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // Every program the keyboard hook entered unloads this library when it ends, and none
        // of them owns a hook. The owner unloads it only after its hook thread ended (the
        // thread holds the library), or as the whole process ends: either way Windows took its
        // hooks away, and the records are only forgotten.
        if (SameProcess(g_shared.keyboardOwner, g_self)) Forget(Fields(kKeyboard));
        if (SameProcess(g_shared.mouseOwner, g_self)) Forget(Fields(kMouse));
    }
    return TRUE;
}

} // extern "C"
