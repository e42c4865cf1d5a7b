#pragma once
// Windows to show and to hide, all in one move of the window manager rather than one each.
#include <windows.h>
#include <utility>
#include <vector>

namespace lhl {

class ShowBatch {
public:
    void Show(HWND window) { m_windows.emplace_back(window, true); }
    void Hide(HWND window) { m_windows.emplace_back(window, false); }
    // Does what was asked, and forgets it.
    void Apply();

private:
    std::vector<std::pair<HWND, bool>> m_windows;
};

} // namespace lhl
