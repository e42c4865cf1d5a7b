#pragma once
// A built program started as a real process, as a user or Explorer would start it.
#include <windows.h>
#include <string>

namespace lhltest {

constexpr const wchar_t* kLauncherExe = L"Lanternhop Launcher.exe";
constexpr const wchar_t* kCleanerExe = L"LHLConfigDelPersonalData.exe";

class Program {
public:
    Program() = default;
    ~Program(); // ends a process the test left running
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts BinFolder() + exe with the command-line tail given verbatim; false on failure.
    bool Start(const std::wstring& exe, const std::wstring& tail = L"");
    // Starts a whole command line as given (a system program, say). With a program file named,
    // that file runs and the command line reaches it exactly as written, quoted or not.
    bool StartCommand(const std::wstring& commandLine, const std::wstring& programFile = L"");
    // Waits for the process to end while this thread keeps handling its own messages (so a
    // window of the test can answer a SendMessage from the process). True when it ended.
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    bool IsRunning() const;
    // The process's top-level window of that class and title, once it exists; null on timeout.
    HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) const;
    // The launcher panel of the process, once it exists (never one of its boxes); null on timeout.
    HWND WaitForPanel(DWORD timeoutMs) const;
    DWORD ProcessId() const { return m_process.dwProcessId; }
    void Kill();

private:
    PROCESS_INFORMATION m_process{};
};

} // namespace lhltest
