#pragma once
// Plays the user at a dialog that this process opens while the test's own thread waits in the
// dialog's modal loop: waits for a visible dialog with the caption, then does what the test
// asks from this helper thread (messages to the dialog are handled by the waiting thread).
#include <windows.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace lhltest {

// A visible dialog of this process with the caption, or null.
inline HWND FindOwnDialog(const std::wstring& caption) {
    HWND dialog = ::FindWindowW(L"#32770", caption.c_str());
    DWORD pid = 0;
    if (dialog) ::GetWindowThreadProcessId(dialog, &pid);
    return dialog && pid == ::GetCurrentProcessId() && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

class DialogUser {
public:
    DialogUser(std::wstring caption, std::function<void(HWND)> act, DWORD timeoutMs = 10000)
        : m_caption(std::move(caption)), m_act(std::move(act)), m_timeout(timeoutMs), m_thread([this] { Run(); }) {}
    ~DialogUser() { Finish(); }
    DialogUser(const DialogUser&) = delete;
    DialogUser& operator=(const DialogUser&) = delete;
    // Waits until the act is done (or the dialog never came); true when it was seen.
    bool Finish() {
        if (m_thread.joinable()) m_thread.join();
        return m_seen;
    }

private:
    void Run() {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < m_timeout) {
            if (HWND dialog = FindOwnDialog(m_caption)) {
                m_seen = true;
                m_act(dialog);
                return;
            }
            ::Sleep(15);
        }
    }

    std::wstring m_caption;
    std::function<void(HWND)> m_act;
    DWORD m_timeout;
    std::atomic<bool> m_seen{false};
    std::thread m_thread;
};

// Pumps nothing: lets the dialog's own thread get on while this helper thread waits.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(15);
    }
    return true;
}

} // namespace lhltest
