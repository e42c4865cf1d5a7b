#include "Program.h"
#include "PanelLookup.h"
#include "TestSupport.h"
#include <vector>

namespace lhltest {

Program::~Program() {
    Kill();
}

bool Program::Start(const std::wstring& exe, const std::wstring& tail) {
    std::wstring commandLine = L"\"" + BinFolder() + exe + L"\"";
    if (!tail.empty()) commandLine += L" " + tail;
    return StartCommand(commandLine);
}

bool Program::StartCommand(const std::wstring& commandLine, const std::wstring& programFile) {
    Kill();
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const wchar_t* application = programFile.empty() ? nullptr : programFile.c_str();
    return ::CreateProcessW(application, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            BinFolder().c_str(), &startup, &m_process) != FALSE;
}

bool Program::WaitForExit(DWORD timeoutMs) {
    if (!m_process.hProcess) return true;
    return PumpUntil([this] { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0; },
                     timeoutMs);
}

DWORD Program::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process.hProcess) ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

bool Program::IsRunning() const {
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Program::WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) const {
    HWND found = nullptr;
    const DWORD pid = m_process.dwProcessId;
    PumpUntil(
        [&] {
            HWND candidate = nullptr;
            while ((candidate = ::FindWindowExW(nullptr, candidate, className, title)) != nullptr) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(candidate, &owner);
                if (owner == pid) {
                    found = candidate;
                    return true;
                }
            }
            return !IsRunning();
        },
        timeoutMs);
    return found;
}

HWND Program::WaitForPanel(DWORD timeoutMs) const {
    HWND found = nullptr;
    PumpUntil([&] { return (found = lhl::FindLauncherPanel(m_process.dwProcessId)) != nullptr || !IsRunning(); },
              timeoutMs);
    return found;
}

void Program::Kill() {
    if (!m_process.hProcess) return;
    if (IsRunning()) {
        ::TerminateProcess(m_process.hProcess, 99);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
    m_process = PROCESS_INFORMATION{};
}

} // namespace lhltest
