#pragma once
// Plays the user at a dialog of this process: waits for a visible window with the caption,
// remembers a control's text, and presses a button by posting its command.
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>

namespace lhltest {

class DialogDriver {
public:
    DialogDriver(std::wstring caption, int readControl, int pressCommand)
        : m_caption(std::move(caption)), m_read(readControl), m_press(pressCommand), m_thread([this] { Run(); }) {}
    ~DialogDriver() {
        m_stop = true;
        m_thread.join();
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    bool Seen() const { return m_seen; }
    std::wstring ReadText() const { return m_seen ? m_text : std::wstring(); }

private:
    void Run() {
        while (!m_stop && !m_seen) {
            HWND dialog = ::FindWindowW(L"#32770", m_caption.c_str());
            DWORD pid = 0;
            if (dialog) ::GetWindowThreadProcessId(dialog, &pid);
            if (dialog && pid == ::GetCurrentProcessId() && ::IsWindowVisible(dialog)) {
                wchar_t buffer[8192] = {};
                ::GetDlgItemTextW(dialog, m_read, buffer, 8192);
                m_text = buffer;
                m_seen = true;
                ::PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(m_press), 0);
            }
            ::Sleep(15);
        }
    }

    std::wstring m_caption;
    int m_read;
    int m_press;
    std::wstring m_text;
    std::atomic<bool> m_seen{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace lhltest
