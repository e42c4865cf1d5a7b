// The hook library as the launcher uses it: loaded by name, driven through its exports, and
// reporting to a window when real input is synthesised; and what another process that held
// the library before leaves behind.
#include "Program.h"
#include "TestSupport.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr UINT kTrayNotify = WM_USER + 294;
constexpr UINT kShowAtCursor = WM_USER + 296;

using SetUseFn = int(__cdecl*)(HWND);
using CaptureFn = int(__cdecl*)(HWND, BOOL);
using DisableFn = int(__cdecl*)();

struct Received {
    int ctrlTwice = 0;
    int gestures = 0;
    int queued = 0; // of those, the ones that came through this thread's queue
};
Received g_received;

LRESULT CALLBACK RecorderProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTrayNotify && wParam == 0 && lParam == WM_LBUTTONDOWN) ++g_received.ctrlTwice;
    if (msg == kShowAtCursor) ++g_received.gestures;
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

HWND MakeRecorder() {
    static ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecorderProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LhlHookRecorder";
        return ::RegisterClassW(&wc);
    }();
    (void)atom;
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST, L"LhlHookRecorder", L"recorder", WS_POPUP | WS_VISIBLE, 50, 50,
                                    200, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetForegroundWindow(window);
    ::SetFocus(window);
    return window;
}

template <typename Fn>
Fn Entry(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

// Installs system-wide hooks and synthesises keys and clicks: only where that harms nobody.
class HookLibraryTest : public lhltest::ThrowawayPrefixOnly {
protected:
    void SetUp() override {
        g_received = {};
        m_library = ::LoadLibraryW(L"QuenvidTools.dll");
        ASSERT_NE(m_library, nullptr);
        m_setUse = Entry<SetUseFn>(m_library, "SetUseOtherHotKey");
        m_capture = Entry<CaptureFn>(m_library, "SetMouseCapture");
        m_disable = Entry<DisableFn>(m_library, "DisableUseOtherHotKey");
        ASSERT_TRUE(m_setUse && m_capture && m_disable);
        m_window = MakeRecorder();
    }
    void TearDown() override {
        if (m_disable) m_disable();
        if (m_capture) m_capture(m_window, FALSE);
        if (m_window) ::DestroyWindow(m_window);
        if (m_library) ::FreeLibrary(m_library);
    }
    // Handles messages for a while, noting which notifications were posted: a notification
    // that never passes through the queue was sent from inside a hook callback.
    void Settle(DWORD ms = 300) {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == m_window && (msg.message == kTrayNotify || msg.message == kShowAtCursor))
                    ++g_received.queued;
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    HMODULE m_library = nullptr;
    SetUseFn m_setUse = nullptr;
    CaptureFn m_capture = nullptr;
    DisableFn m_disable = nullptr;
    HWND m_window = nullptr;
};

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

void TapKey(WORD vk) {
    SendKey(vk, false);
    SendKey(vk, true);
}

void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
}

// A right-button stroke of `points` moves from (x0, y0) by (dx, dy) each.
void Stroke(int x0, int y0, int dx, int dy, int points) {
    SendMouse(MOUSEEVENTF_MOVE, x0, y0);
    SendMouse(MOUSEEVENTF_RIGHTDOWN, x0, y0);
    for (int i = 1; i <= points; ++i) SendMouse(MOUSEEVENTF_MOVE, x0 + dx * i, y0 + dy * i);
    SendMouse(MOUSEEVENTF_RIGHTUP, x0 + dx * points, y0 + dy * points);
}

const IMAGE_SECTION_HEADER* SharedSection(HMODULE library) {
    const auto* base = reinterpret_cast<const BYTE*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
        if (std::memcmp(section[i].Name, "ShareDat", 8) == 0) return &section[i];
    return nullptr;
}

// The two hook handles at the start of the shared data, keyboard then mouse, as every process
// that maps the library sees them.
const HHOOK* SharedHooks(HMODULE library) {
    const IMAGE_SECTION_HEADER* section = SharedSection(library);
    return section ? reinterpret_cast<const HHOOK*>(reinterpret_cast<const BYTE*>(library) + section->VirtualAddress)
                   : nullptr;
}

} // namespace

TEST(HookLibraryFile, ExportsHaveTheirOrdinalsAndRemoveIsRegister) {
    HMODULE library = ::LoadLibraryW((lhltest::BinFolder() + L"QuenvidTools.dll").c_str());
    ASSERT_NE(library, nullptr);
    const char* names[] = {"DisableUseOtherHotKey", "RegisterMenuSentToMe", "RemoveMenuSentToMe", "SetMouseCapture",
                           "SetUseOtherHotKey"};
    for (int ordinal = 1; ordinal <= 5; ++ordinal) {
        FARPROC byOrdinal = ::GetProcAddress(library, MAKEINTRESOURCEA(ordinal));
        EXPECT_NE(byOrdinal, nullptr) << "ordinal " << ordinal;
        EXPECT_EQ(byOrdinal, ::GetProcAddress(library, names[ordinal - 1])) << names[ordinal - 1];
    }
    EXPECT_EQ(::GetProcAddress(library, MAKEINTRESOURCEA(2)), ::GetProcAddress(library, MAKEINTRESOURCEA(3)));
    ::FreeLibrary(library);
}

// One copy of the hook handles and the target for every process the library is mapped into.
TEST(HookLibraryFile, ShareDatSectionIsSharedReadWrite) {
    HMODULE library = ::LoadLibraryW(L"QuenvidTools.dll");
    ASSERT_NE(library, nullptr);
    const IMAGE_SECTION_HEADER* shared = SharedSection(library);
    ASSERT_NE(shared, nullptr);
    const DWORD wanted = IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE;
    EXPECT_EQ(shared->Characteristics & wanted, wanted);
    EXPECT_GE(shared->Misc.VirtualSize, 16u) << "two hooks, the target and the installer";
    ::FreeLibrary(library);
}

TEST_F(HookLibraryTest, CtrlPressedTwiceNotifiesTheTarget) {
    EXPECT_EQ(m_setUse(m_window), 1) << "the keyboard hook was not reported as installed";
    EXPECT_EQ(m_setUse(m_window), 1) << "a second call of the owner reported a failure";
    Settle(100);
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 0) << "one Ctrl counted as two: the hook is installed twice";
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1);
    EXPECT_EQ(g_received.queued, 1) << "the notification was sent from inside the hook, not posted";

    TapKey(VK_CONTROL);
    TapKey('A');
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1) << "another key in between starts over";

    m_disable();
    TapKey(VK_CONTROL);
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1) << "switched off";
}

TEST_F(HookLibraryTest, SecondWindowDoesNotTakeTheNotifications) {
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    m_setUse(m_window);
    m_setUse(other);
    m_capture(other, TRUE);
    ::SetForegroundWindow(m_window);
    ::SetFocus(m_window);
    Settle(100);
    TapKey(VK_CONTROL);
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1);
    ::DestroyWindow(other);
}

// A launcher that ended leaves its window handle behind in the shared data; the next one must
// still get the notifications.
TEST_F(HookLibraryTest, WindowThatNoLongerExistsGivesWayToTheNext) {
    m_setUse(m_window);
    ::DestroyWindow(m_window);
    m_window = MakeRecorder();
    m_setUse(m_window);
    Settle(100);
    TapKey(VK_CONTROL);
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1);
}

TEST_F(HookLibraryTest, RightStrokeDownRightNotifiesOnceEvenWhenCapturedTwice) {
    m_capture(m_window, TRUE);
    m_capture(m_window, TRUE);
    Settle(100);
    Stroke(300, 300, 2, 1, 40);
    Settle();
    EXPECT_EQ(g_received.gestures, 1);
    // Showing the panel inside the low-level hook would hold up every mouse event meanwhile.
    EXPECT_EQ(g_received.queued, 1) << "the gesture was sent from inside the mouse hook, not posted";

    Stroke(300, 300, -2, 0, 40);
    Stroke(300, 300, 0, -2, 40);
    Settle();
    EXPECT_EQ(g_received.gestures, 1) << "left and up are not gestures";

    m_capture(m_window, FALSE);
    Stroke(300, 300, 2, 2, 40);
    Settle();
    EXPECT_EQ(g_received.gestures, 1) << "capture off";
}

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A user drawing the gesture from another thread, each event timed from its injection until
// the system let it go on, which it does once every low-level hook answered.
class TimedStroke {
public:
    TimedStroke() : m_thread([this] { Run(); }) {}
    ~TimedStroke() { m_thread.join(); }
    bool Done() const { return m_done; }
    const std::vector<double>& Times() const { return m_times; }

private:
    void Timed(DWORD flags, int x, int y) {
        LARGE_INTEGER before, after;
        ::QueryPerformanceCounter(&before);
        SendMouse(flags, x, y);
        ::QueryPerformanceCounter(&after);
        m_times.push_back(Milliseconds(before, after));
    }
    void Run() {
        Timed(MOUSEEVENTF_MOVE, 300, 300);
        Timed(MOUSEEVENTF_RIGHTDOWN, 300, 300);
        for (int i = 1; i <= 40; ++i) Timed(MOUSEEVENTF_MOVE, 300 + 2 * i, 300 + i);
        Timed(MOUSEEVENTF_RIGHTUP, 380, 340);
        m_done = true;
    }
    std::vector<double> m_times;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

} // namespace

// Windows runs a low-level mouse hook's callback through the messages of the thread that set
// it and holds every mouse event of the system until it returns; after LowLevelHooksTimeout has
// passed a few times it removes the hook for the session without a word. A panel busy for two
// seconds (loading thousands of items, an item on a share that does not answer) must therefore
// hold nothing: the hook answers from a thread of its own, and the panel sees the gesture when
// it is free again.
TEST_F(HookLibraryTest, WhileThePanelsThreadIsBusyTheGestureIsAnsweredAtOnceAndArrivesAfterwards) {
    m_capture(m_window, TRUE);
    Settle(100);
    bool doneWhileBusy = false;
    {
        TimedStroke user;
        ::Sleep(2000); // the panel's thread, busy: it handles no message meanwhile
        doneWhileBusy = user.Done();
        ASSERT_TRUE(lhltest::PumpUntil([&] { return user.Done(); }, 120000));
        std::vector<double> times = user.Times();
        std::sort(times.begin(), times.end());
        std::string all;
        for (double t : user.Times()) {
            char one[16];
            std::snprintf(one, sizeof(one), " %.1f", t);
            all += one;
        }
        std::printf("[ callback ] %zu mouse events with the panel's thread blocked: median %.2f ms, slowest %.2f ms\n"
                    "[ callback ] each (ms):%s\n",
                    times.size(), times[times.size() / 2], times.back(), all.c_str());
        EXPECT_LT(times.back(), 250.0) << "a mouse event waited on the panel's thread";
    }
    EXPECT_TRUE(doneWhileBusy) << "the stroke was held until the panel's thread was free";
    Settle();
    EXPECT_EQ(g_received.gestures, 1) << "the gesture did not arrive once the panel was free";
}

namespace {

// Another process that took the hooks for its own window, as an earlier launcher did.
class EarlierOwner {
public:
    explicit EarlierOwner(const wchar_t* mode) {
        const std::wstring name = L"LhlHookOwnerReady" + std::to_wstring(::GetCurrentProcessId());
        m_ready = ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
        m_started = m_process.Start(L"lhl_hook_owner.exe", name + L" " + mode);
    }
    ~EarlierOwner() { ::CloseHandle(m_ready); }
    // True once its hooks are in place.
    bool WaitUntilHooked() {
        return m_started && lhltest::PumpUntil([this] { return ::WaitForSingleObject(m_ready, 0) == WAIT_OBJECT_0; },
                                               20000);
    }
    // Ended without a chance to clean up, as when a launcher is killed.
    void Kill() { m_process.Kill(); }

private:
    lhltest::Program m_process;
    HANDLE m_ready = nullptr;
    bool m_started = false;
};

} // namespace

// A killed launcher leaves its hook handle in the shared data for as long as any program its
// hook entered still holds the library; the next launcher must get a hook of its own.
TEST_F(HookLibraryTest, AHookLeftByAKilledProcessIsReplaced) {
    EarlierOwner earlier(L"window");
    ASSERT_TRUE(earlier.WaitUntilHooked()) << "the other process did not take the hooks";
    const HHOOK* shared = SharedHooks(m_library);
    ASSERT_TRUE(shared && shared[0] && shared[1]) << "the other process's hooks are not in the shared data";
    const HHOOK keyboard = shared[0];
    const HHOOK mouse = shared[1];
    earlier.Kill();
    // Windows takes a thread's hooks away when it ends; Wine keeps a killed process's global
    // hook working, so here they are removed as Windows would. Their handles stay recorded.
    ::UnhookWindowsHookEx(keyboard);
    ::UnhookWindowsHookEx(mouse);
    EXPECT_EQ(m_setUse(m_window), 1);
    m_capture(m_window, TRUE);
    ::SetForegroundWindow(m_window);
    ::SetFocus(m_window);
    Settle(100);
    TapKey(VK_CONTROL);
    TapKey(VK_CONTROL);
    // Handled before the stroke's clicks outside the window take the focus away.
    Settle();
    Stroke(300, 300, 2, 2, 40);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1) << "Ctrl twice is dead after a killed owner";
    EXPECT_EQ(g_received.gestures, 1) << "the gesture is dead after a killed owner";
}

// An owner that is still running hands its hook over: the new owner's hook is the only one.
TEST_F(HookLibraryTest, ARunningEarlierOwnerHandsItsHookOver) {
    EarlierOwner earlier(L"nowindow");
    ASSERT_TRUE(earlier.WaitUntilHooked()) << "the other process did not take the hooks";
    EXPECT_EQ(m_setUse(m_window), 1);
    ::SetForegroundWindow(m_window);
    ::SetFocus(m_window);
    Settle(100);
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 0) << "one Ctrl counted as two: the earlier hook is still there";
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1) << "the notifications did not come to the new owner's window";
    earlier.Kill();
}

// The other way round: a later launcher took the hook over, and the earlier one, ending, turns
// its own Ctrl twice off; the later one's hook must stay.
TEST_F(HookLibraryTest, AnEarlierOwnerThatStopsLeavesTheHookItHandedOver) {
    EXPECT_EQ(m_setUse(m_window), 1);
    EarlierOwner later(L"window");
    ASSERT_TRUE(later.WaitUntilHooked()) << "the other process did not take the hooks";
    m_disable();
    ::SetForegroundWindow(m_window);
    ::SetFocus(m_window);
    Settle(100);
    TapKey(VK_CONTROL);
    TapKey(VK_CONTROL);
    Settle();
    EXPECT_EQ(g_received.ctrlTwice, 1) << "stopping here took the other process's hook away";
    later.Kill();
}
