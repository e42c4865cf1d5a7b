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
    enum class HandOver { OnlyInstance, Done, Failed };
    // Leaves the path in the hand-off file and, when another instance runs, has its panel take
    // it. OnlyInstance also when the other instance ended before it had a panel to take it.
    HandOver HandOverToRunningInstance(const std::wstring& path, const std::wstring& dataFolder);
    // Done once the running panel took the path, Failed when it found none to take;
    // OnlyInstance when this one turns out to be the only instance left.
    HandOver SendToRunningPanel();
    void ReleaseInstanceMutex();

    HANDLE m_hMutex = nullptr;
    bool m_bOleInitialised = false;
    int m_nExitCode = 0;
};

// Makes sure the launcher's registry key exists; false when it can neither be opened nor made.
bool EnsureRegistryKey();

} // namespace lhl
