#include "ShowBatch.h"

namespace lhl {

void ShowBatch::Apply() {
    if (m_windows.empty()) return;
    constexpr UINT kOnlyShowing = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(m_windows.size()));
    for (const auto& [window, show] : m_windows) {
        if (!batch) break;
        batch = ::DeferWindowPos(batch, window, nullptr, 0, 0, 0, 0, kOnlyShowing | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    // Without memory for the batch each window is shown or hidden on its own, never left out.
    if (!batch || !::EndDeferWindowPos(batch))
        for (const auto& [window, show] : m_windows) ::ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
    m_windows.clear();
}

} // namespace lhl
