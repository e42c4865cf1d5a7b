#pragma once
// A real panel in this test process, on chosen settings, and a bare page store on a plain
// parent window for geometry checks.
#include "IndexButton.h"
#include "LanternhopDlg.h"
#include "TestSupport.h"
#include <memory>

namespace lhltest {

// Settings the panel tests start from: a 4 x 4 grid, no sounds, and unless asked neither the hot
// key nor Ctrl twice, so a panel in the test never competes with a launcher started beside it.
void WriteTestSettings(int unitsPerRow = 4, bool showingKeys = false);

class PanelTest : public CleanLauncherState {
protected:
    void SetUp() override;
    void TearDown() override;

    // Closes the panel and opens a new one on the same files, as a restart would.
    void Restart();
    // Settings reach the file when the panel closes; the restart reads them as a user's start would.
    template <typename Change>
    void RestartWith(Change change) {
        change(Config().Settings());
        Restart();
    }
    // Switches to a 1-based page as a tab does, and lets the panel settle.
    void SwitchTo(uint32_t number);
    // Removes the page files and the registry key, keeping the test settings.
    void EmptyData();
    void OpenPanel();
    void ClosePanel();

    lhl::PageStore& Store() { return *m_panel->Store(); }
    lhl::LauncherConfig& Config() { return m_panel->Config(); }
    HWND PanelWindow() const { return m_panel->m_hWnd; }
    // The client-coordinate centre of a 1-based cell.
    POINT CellCentre(uint32_t cell);
    // What Windows does when the panel comes onto a screen of another scaling: WM_DPICHANGED
    // with the new DPI and a rectangle at (left, top) of the size the panel had there.
    void ChangeDpi(UINT dpi, int left, int top);
    // Handles posted messages (the buttons' rebuild) so the panel settles.
    void Settle();
    std::wstring MakeFile(const std::wstring& name); // a real file in the data folder's "items"
    // Presses and releases a key on the panel, Ctrl held when asked: the key messages are posted
    // and taken from the queue as the panel's own modal loop takes them (its key handling first,
    // then the dialog manager, then dispatch). Posted keys do not move the keyboard state, so Ctrl
    // is set there for the while.
    void PressKey(WORD key, bool ctrl = false);
    void SettleThroughPanelLoop();

    std::unique_ptr<lhl::CLanternhopDlg> m_panel;
};

// A page store on a plain window: tab strip from (0, 0) to (300, 20), End marker 50 wide.
class BareStore {
public:
    explicit BareStore(int gridLeft = 0, int gridTop = 20, int gridRight = 300, int gridBottom = 320);
    ~BareStore();
    lhl::PageStore& Store() { return *m_store; }
    lhl::LauncherConfig& Config() { return *m_config; }

private:
    HWND m_parent = nullptr;
    std::unique_ptr<lhl::LauncherConfig> m_config;
    lhl::CIndexButton m_firstTab;
    std::unique_ptr<lhl::PageStore> m_store;
};

} // namespace lhltest
