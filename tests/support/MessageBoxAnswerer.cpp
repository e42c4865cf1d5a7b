#include "MessageBoxAnswerer.h"
#include <algorithm>

namespace lhltest {
namespace {

// The text control of a message box.
constexpr int kMessageTextId = 0xFFFF;

std::wstring TextOf(HWND hWnd) {
    wchar_t buffer[2048] = {};
    ::GetWindowTextW(hWnd, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

struct Search {
    DWORD pid;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    wchar_t cls[16] = {};
    ::GetClassNameW(hWnd, cls, 16);
    if (pid == search->pid && wcscmp(cls, L"#32770") == 0 && ::IsWindowVisible(hWnd) &&
        ::GetDlgItem(hWnd, kMessageTextId))
        search->boxes.push_back(hWnd);
    return TRUE;
}

} // namespace

MessageBoxAnswerer::MessageBoxAnswerer(int answer) : m_answer(answer), m_thread([this] { Watch(); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    m_stop = true;
    m_thread.join();
}

void MessageBoxAnswerer::Watch() {
    while (!m_stop) {
        AnswerOpenBoxes();
        ::Sleep(15);
    }
}

void MessageBoxAnswerer::AnswerOpenBoxes() {
    Search search{::GetCurrentProcessId(), {}};
    ::EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.boxes) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (std::find(m_answered.begin(), m_answered.end(), box) != m_answered.end()) continue;
            m_answered.push_back(box);
            m_seen.push_back(SeenBox{TextOf(box), TextOf(::GetDlgItem(box, kMessageTextId))});
        }
        // A box without the asked-for button (an OK box asked Yes) is answered with what it has.
        const int answer = ::GetDlgItem(box, m_answer) ? m_answer : (::GetDlgItem(box, IDOK) ? IDOK : IDCANCEL);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
    }
    // Forget boxes that are gone, so a later box that reuses a handle is answered too.
    std::lock_guard<std::mutex> guard(m_lock);
    std::erase_if(m_answered, [](HWND h) { return !::IsWindow(h); });
}

std::vector<SeenBox> MessageBoxAnswerer::Seen() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_seen;
}

std::wstring MessageBoxAnswerer::OnlyText() const {
    const std::vector<SeenBox> seen = Seen();
    return seen.size() == 1 ? seen[0].text : std::wstring();
}

} // namespace lhltest
