#include "LanternhopApp.h"
#include "HandOff.h"
#include "LanternhopDlg.h"
#include "Module.h"
#include "PanelMessages.h"
#include "RegKey.h"
#include "resource.h"
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

namespace lhl {
namespace {
constexpr REGSAM kKeyAccess = 0x2001F; // KEY_READ | KEY_WRITE
}

bool EnsureRegistryKey() {
    fw::CRegKey key;
    return key.Open(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) == ERROR_SUCCESS ||
           key.Create(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) == ERROR_SUCCESS;
}

BOOL CLanternhopApp::InitInstance() {
    CLanternhopDlg panel; // builds the settings, which create the data folders
    m_bOleInitialised = SUCCEEDED(::OleInitialize(nullptr));

    // The tail of the command line is one path, whole: blanks and quotes stay as given.
    const std::wstring path = m_lpCmdLine ? m_lpCmdLine : L"";
    HandOffFile handOff(fw::ModuleFolder(), panel.Config().DataFolder());
    handOff.Delete();
    if (!path.empty()) handOff.Write(path);

    if (HandOverToRunningInstance(path)) return FALSE;

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

bool CLanternhopApp::HandOverToRunningInstance(const std::wstring& path) {
    m_hMutex = ::CreateMutexW(nullptr, TRUE, kProductTitle);
    if (!m_hMutex || ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    ::ReleaseMutex(m_hMutex);
    HWND running = ::FindWindowW(kDialogClass, kProductTitle);
    // Sent, not posted: the running panel has read the file before this instance goes on.
    if (running && !path.empty()) ::SendMessageW(running, UM_HANDOVER, 0, 0);
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
