// The floor program's own page switches: it times them itself, without a process boundary in
// the measure, and hands the median back as its exit code in microseconds.
#include "Bench.h"
#include <cstdio>

namespace bench {
namespace {

// One run of bench_floor.exe switch; 0 when it failed or did not end within a minute.
double FloorSwitchOnce() {
    std::wstring command = L"\"" + BinFolder() + L"bench_floor.exe\" switch";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0;
    DWORD microseconds = 0;
    if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &microseconds);
    else
        ::TerminateProcess(process.hProcess, 0);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return microseconds / 1000.0;
}

} // namespace

double MedianFloorSwitchMs(int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = FloorSwitchOnce();
        if (ms > 0) times.push_back(ms);
        else std::printf("  bench_floor.exe switch gave no time\n");
    }
    return Median(times);
}

} // namespace bench
