#pragma once
// The application object: wWinMain hands it the instance and the command-line tail, and runs
// InitInstance; a program whose InitInstance returns FALSE ends after ExitInstance.
#include <windows.h>
#include <string>

namespace fw {

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The message loop for programs that keep running after InitInstance.
    virtual int Run();
    // ID_HELP: the program's help, where it has one.
    virtual void OnHelp() {}

    // What wWinMain calls; returns the process exit code.
    int WinMain(HINSTANCE instance, LPWSTR cmdLine);

    // Names the registry key under HKEY_CURRENT_USER\Software where settings would live.
    void SetRegistryKey(const std::wstring& company) { m_strRegistryKey = company; }

    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    CWnd* m_pMainWnd = nullptr;
    std::wstring m_strRegistryKey;
};

// The one application object of the process, or null.
CWinApp* AfxGetApp();

} // namespace fw
