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
// The running instance may still be building its panel when another one starts.
constexpr DWORD kPanelWait = 5000;

HWND WaitForRunningPanel() {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND panel = FindLauncherPanel()) return panel;
        if (::GetTickCount() - start >= kPanelWait) return nullptr;
        ::Sleep(50);
    }
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
    if (HandOverToRunningInstance(path, panel.Config().DataFolder())) return FALSE;

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

bool CLanternhopApp::HandOverToRunningInstance(const std::wstring& path, const std::wstring& dataFolder) {
    HandOffTurn turn;
    HandOffFile handOff(fw::ModuleFolder(), dataFolder);
    handOff.Delete();
    if (!path.empty()) handOff.Write(path);

    m_hMutex = ::CreateMutexW(nullptr, TRUE, kProductTitle);
    if (!m_hMutex || ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    ::ReleaseMutex(m_hMutex);
    if (path.empty()) return true;
    // Sent, not posted: the running panel has read the file before the next instance's turn.
    if (HWND running = WaitForRunningPanel()) ::SendMessageW(running, UM_HANDOVER, 0, 0);
    return true;
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
    return fw::CWinApp::ExitInstance();
}

void CLanternhopApp::OnHelp() {
    const std::wstring page = fw::ModuleFolder() + fw::LoadResString(IDS_HELP_FILE);
    ::ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOW);
}

} // namespace lhl
