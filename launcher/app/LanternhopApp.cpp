#include "LanternhopApp.h"
#include "CommandLine.h"
#include "HandOff.h"
#include "LanternhopDlg.h"
#include "Module.h"
#include "PanelLookup.h"
#include "PanelMessages.h"
#include "RegKey.h"
#include "resource.h"
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

namespace lhl {
namespace {

constexpr REGSAM kKeyAccess = 0x2001F; // KEY_READ | KEY_WRITE
// How often a second instance looks for the running panel while that one is still building it.
constexpr DWORD kPanelLookInterval = 50;
// The exit code of a second start whose path did not reach the running panel.
constexpr int kNotHandedOver = 1;

void SayNotHandedOver(const std::wstring& path) {
    const std::wstring text = L"The path could not be handed over to the running Lanternhop Launcher:\n\n" + path;
    ::MessageBoxW(nullptr, text.c_str(), kProductTitle, MB_OK | MB_ICONWARNING);
}

} // namespace

bool EnsureRegistryKey() {
    fw::CRegKey key;
    return key.Open(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) == ERROR_SUCCESS ||
           key.Create(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) == ERROR_SUCCESS;
}

BOOL CLanternhopApp::InitInstance() {
    CLanternhopDlg panel; // builds the settings, which create the data folders
    m_bOleInitialised = SUCCEEDED(::OleInitialize(nullptr));

    // The tail of the command line is one path, blanks and all.
    const std::wstring path = PathFromCommandLine(m_lpCmdLine ? m_lpCmdLine : L"", fw::ModulePath());
    switch (HandOverToRunningInstance(path, panel.Config().DataFolder())) {
    case HandOver::Done:
        return FALSE;
    case HandOver::Failed:
        m_nExitCode = kNotHandedOver;
        SayNotHandedOver(path);
        return FALSE;
    case HandOver::OnlyInstance:
        break;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    SetRegistryKey(kProductTitle);
    if (!EnsureRegistryKey()) return FALSE;

    m_pMainWnd = &panel;
    panel.SetPendingPath(path);
    panel.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

// Instances take turns from deleting the file to the panel's answer, so none removes or
// overwrites a path the panel has not taken yet.
CLanternhopApp::HandOver CLanternhopApp::HandOverToRunningInstance(const std::wstring& path,
                                                                    const std::wstring& dataFolder) {
    HandOffTurn turn;
    HandOffFile handOff(fw::ModuleFolder(), dataFolder);
    handOff.Delete();
    const bool written = !path.empty() && handOff.Write(path);

    m_hMutex = ::CreateMutexW(nullptr, TRUE, kProductTitle);
    if (!m_hMutex || ::GetLastError() != ERROR_ALREADY_EXISTS) return HandOver::OnlyInstance;
    ::ReleaseMutex(m_hMutex);
    if (path.empty()) return HandOver::Done;
    if (!written) return HandOver::Failed;
    return SendToRunningPanel();
}

// The running instance may still be building its panel, or ending: this instance waits for a
// panel as long as that instance holds the single-instance mutex, and becomes the only instance
// when it lets go. Sent, not posted: the panel has read the file before the next turn.
CLanternhopApp::HandOver CLanternhopApp::SendToRunningPanel() {
    for (;;) {
        if (HWND running = FindLauncherPanel()) {
            if (::SendMessageW(running, UM_HANDOVER, 0, 0) == kHandOverTaken) return HandOver::Done;
            // The panel went, or began to end, while the message was on its way: look again.
            if (!::IsWindow(running) || !::GetPropW(running, kPanelProperty)) continue;
            return HandOver::Failed;
        }
        const DWORD waited = ::WaitForSingleObject(m_hMutex, kPanelLookInterval);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return HandOver::OnlyInstance;
        if (waited == WAIT_FAILED) return HandOver::Failed;
    }
}

void CLanternhopApp::ReleaseInstanceMutex() {
    if (!m_hMutex) return;
    ::ReleaseMutex(m_hMutex);
    ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
}

int CLanternhopApp::ExitInstance() {
    ReleaseInstanceMutex();
    if (m_bOleInitialised) ::OleUninitialize();
    m_bOleInitialised = false;
    fw::CWinApp::ExitInstance();
    return m_nExitCode;
}

void CLanternhopApp::OnHelp() {
    const std::wstring page = fw::ModuleFolder() + fw::LoadResString(IDS_HELP_FILE);
    ::ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOW);
}

} // namespace lhl
