#pragma once
// Answers the message boxes this process shows, as a user would, and remembers what they said.
// A helper thread watches for them while the test's own thread sits in the box's modal loop.
#include <windows.h>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lhltest {

struct SeenBox {
    std::wstring caption;
    std::wstring text;
};

class MessageBoxAnswerer {
public:
    // answer: IDYES, IDNO or IDOK.
    explicit MessageBoxAnswerer(int answer);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    std::vector<SeenBox> Seen() const;
    size_t Count() const { return Seen().size(); }
    // The text of the only box seen; empty when none or several were shown.
    std::wstring OnlyText() const;

private:
    void Watch();
    void AnswerOpenBoxes();

    int m_answer;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::vector<SeenBox> m_seen;
    std::vector<HWND> m_answered;
    std::thread m_thread;
};

} // namespace lhltest
