#pragma once
// The measures of the benchmark table; each returns the median of several runs.
#include "IndexButton.h"
#include "LauncherConfig.h"
#include "PageStore.h"
#include "Wnd.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

namespace bench {

double NowMs();
// 0 when there are no values (every run failed), which the table shows as "n/a".
double Median(std::vector<double> values);
// Handles what is waiting in this thread's queue (painting among it).
void Pump();

// A page store set up as the panel sets up its own, on a plain window, with a 16 x 16 grid;
// BuildGrid (which loads the pages) is left to the caller, so it can be timed.
struct BenchPanel {
    BenchPanel();
    ~BenchPanel();
    void BuildGrid() { store->BuildGrid(0, 20, 700, 710); }
    // A window of the framework, so that owner-drawn buttons get their WM_DRAWITEM as on the panel.
    fw::CWnd window;
    HWND parent;
    lhl::LauncherConfig config;
    lhl::CIndexButton firstTab;
    std::unique_ptr<lhl::PageStore> store;
};

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
// The floor and the program started by turns, floor first, so both meet the same load: each
// pair gives one ratio. The ratio's median with its lowest and highest, beside the medians.
struct PairedResult {
    double programMs = 0, floorMs = 0;
    double ratio = 0, lowest = 0, highest = 0;
    SIZE_T workingSetBytes = 0;
    int pairs = 0;
};
PairedResult PairedStartup(const std::wstring& exe, const std::wstring& floorExe, int pairs);
void EmptyDataFolder();
// The folder of the benchmark and the programs it starts.
std::wstring BinFolder();

// FloorSwitch.cpp: the bare 256-button grid's page switch, timed inside that program.
double MedianFloorSwitchMs(int runs);

// Switching.cpp: page switches and object counts on a page store of the largest data set. A
// switch between full pages takes most of a second under Wine: the long run alone takes over ten
// minutes.
constexpr int kLongRun = 1000;
constexpr int kCycles = 1000;
struct SwitchResult {
    double switchMs = 0;
    double firstVisitMs = 0;
    DWORD gdiAfter10 = 0, userAfter10 = 0;
    DWORD gdiAfter1000 = 0, userAfter1000 = 0;
    DWORD gdiAfterCycles = 0, userAfterCycles = 0;
    size_t windowsAfter10 = 0, windowsAfter1000 = 0, windowsAfterCycles = 0;
};
SwitchResult MeasureSwitching();

// Finding.cpp: type to find over the largest data set, per keystroke.
struct FindResult {
    size_t items = 0, matches = 0;
    double foldMs = 0;     // taking the items in when a query starts
    double matchMs = 0;    // ranking every item against the query
    double firstKeyMs = 0; // the first key: taking the items in, matching, showing, painting
    double shownKeyMs = 0; // a later key: matching, showing, painting
    double slowestKeyMs = 0;
};
FindResult MeasureFinding();

} // namespace bench
