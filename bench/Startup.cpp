// Start-up as a user sees it: from CreateProcess until the program's dialog is visible.
#include "Bench.h"
#include "LauncherConfig.h"
#include <psapi.h>
#include <algorithm>
#include <cstdio>

namespace bench {
namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    wchar_t cls[16] = {};
    ::GetClassNameW(window, cls, 16);
    if (pid == search->pid && ::IsWindowVisible(window) && lstrcmpW(cls, L"#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// One start; 0 ms when the dialog did not appear within 60 seconds.
StartResult StartOnce(const std::wstring& exe) {
    std::wstring command = L"\"" + BinFolder() + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    StartResult result;
    const double start = NowMs();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return result;
    Search search{process.dwProcessId, nullptr};
    while (!search.found && NowMs() - start < 60000) {
        ::EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(2);
    }
    if (search.found) {
        result.ms = NowMs() - start;
        ::Sleep(300); // let it settle before its memory is read
        PROCESS_MEMORY_COUNTERS memory{};
        if (::GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory))) result.workingSetBytes = memory.WorkingSetSize;
        ::PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
}

} // namespace

std::wstring BinFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

StartResult MedianStartup(const std::wstring& exe, int runs) {
    std::vector<double> times;
    SIZE_T workingSet = 0;
    for (int i = 0; i < runs; ++i) {
        const StartResult one = StartOnce(exe);
        // A failed run is left out: counted as 0 ms it would pull the median down.
        if (one.ms <= 0) {
            std::printf("  %ls did not show its dialog\n", exe.c_str());
            continue;
        }
        times.push_back(one.ms);
        workingSet = std::max(workingSet, one.workingSetBytes);
    }
    return StartResult{Median(times), workingSet};
}

PairedResult PairedStartup(const std::wstring& exe, const std::wstring& floorExe, int pairs) {
    std::vector<double> programTimes, floorTimes, ratios;
    PairedResult result;
    for (int i = 0; i < pairs; ++i) {
        const StartResult floor = StartOnce(floorExe);
        const StartResult program = StartOnce(exe);
        // A pair with a failed start gives no ratio: half a pair would read as a goal met.
        if (floor.ms <= 0 || program.ms <= 0) {
            std::printf("  a start of %ls or %ls showed no dialog\n", exe.c_str(), floorExe.c_str());
            continue;
        }
        programTimes.push_back(program.ms);
        floorTimes.push_back(floor.ms);
        ratios.push_back(program.ms / floor.ms);
        result.workingSetBytes = std::max(result.workingSetBytes, program.workingSetBytes);
    }
    if (ratios.empty()) return result;
    result.programMs = Median(programTimes);
    result.floorMs = Median(floorTimes);
    result.ratio = Median(ratios);
    result.lowest = *std::min_element(ratios.begin(), ratios.end());
    result.highest = *std::max_element(ratios.begin(), ratios.end());
    result.pairs = static_cast<int>(ratios.size());
    return result;
}

// Only the settings stay, so the start is not a first start (which would open the manual).
void EmptyDataFolder() {
    lhl::LauncherConfig config;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((config.DataFolder() + L"pages_info*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        ::DeleteFileW((config.DataFolder() + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

} // namespace bench
