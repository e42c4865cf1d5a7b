#pragma once
// The launcher's application object: one running instance, the hand-off of a command-line path
// to it, the program's registry key, and the panel run modally for the life of the program.
#include "WinApp.h"
#include <string>

namespace lhl {

constexpr const wchar_t* kRegistryKey = L"Software\\QuenvidWorks\\Lanternhop\\";

class CLanternhopApp : public fw::CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
    // Opens the help page beside the program.
    void OnHelp() override;

private:
    // Leaves the path in the hand-off file; true when another instance runs, which has then
    // been handed the path, if there is one.
    bool HandOverToRunningInstance(const std::wstring& path, const std::wstring& dataFolder);
    void ReleaseInstanceMutex();

    HANDLE m_hMutex = nullptr;
    bool m_bOleInitialised = false;
};

// Makes sure the launcher's registry key exists; false when it can neither be opened nor made.
bool EnsureRegistryKey();

} // namespace lhl
