#pragma once
// The measures of the benchmark table; each returns the median of several runs.
#include <windows.h>
#include <string>
#include <vector>

namespace bench {

double NowMs();
double Median(std::vector<double> values);

// LoadAllBench.cpp: the largest data set in the data folder, loading and saving it.
void PrepareLargestDataSet();
double MedianLoadAllMs();
double MedianLoadPagesMs();
double MedianSaveAllMs();

// Startup.cpp: a program started as a process until its dialog is visible.
struct StartResult {
    double ms = 0;
    SIZE_T workingSetBytes = 0;
};
StartResult MedianStartup(const std::wstring& exe, int runs);
void EmptyDataFolder();

// Switching.cpp: page switches and object counts on a page store of the largest data set. While
// one switch between full pages takes seconds under Wine, the long run is 50 switches, not 1,000.
constexpr int kLongRun = 50;
constexpr int kCycles = 1000;
struct SwitchResult {
    double switchMs = 0;
    DWORD gdiAfter10 = 0, userAfter10 = 0;
    DWORD gdiAfter1000 = 0, userAfter1000 = 0;
    DWORD gdiAfterCycles = 0, userAfterCycles = 0;
    size_t windowsAfter10 = 0, windowsAfter1000 = 0, windowsAfterCycles = 0;
};
SwitchResult MeasureSwitching();

} // namespace bench
