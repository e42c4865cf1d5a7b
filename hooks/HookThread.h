#pragma once
// The thread the library's hooks live on. Windows runs a low-level hook's callback on the thread
// that set it, through that thread's messages, and holds every input event of the system until
// it returns; a thread that also does other work (the launcher's panel loading thousands of
// items, opening an item on a share that does not answer) would stall the whole system's mouse,
// and after LowLevelHooksTimeout a few times Windows removes the hook for good, silently. So
// this thread does nothing but pump messages: requests come to its message-only window, and the
// hooks only ever post what they decided.
#include <windows.h>

namespace qt {

class CHookThread {
public:
    // Runs on the thread, for each request sent to its window.
    using Handler = LRESULT (*)(UINT request, WPARAM wParam, LPARAM lParam);

    // Starts the thread once and waits until its window exists; true when it runs. The thread
    // holds a reference to the library, so unloading it can never pull code from under a hook.
    bool Start(HINSTANCE instance, Handler handler);
    // Runs a request on the thread and returns its answer; 0 when the thread does not run.
    LRESULT Call(UINT request, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Ends the thread and waits for it; Windows removes whatever hooks it still held.
    void Stop();
    // Where other processes send their requests (to release a hook); null when not running.
    HWND Window() const { return m_window; }

private:
    static DWORD WINAPI Main(void* self);
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND MakeWindow();

    HINSTANCE m_instance = nullptr;
    Handler m_handler = nullptr;
    HANDLE m_thread = nullptr;
    HANDLE m_ready = nullptr;
    HWND m_window = nullptr;
};

// The requests the window understands; other processes send them too, so they lie above WM_APP
// where no marshalling applies.
constexpr UINT kRequestFirst = WM_APP + 0x51;

} // namespace qt
