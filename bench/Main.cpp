// The benchmark table: start-up against a bare program, loading and saving the largest data set,
// page switching, object counts and memory. Run by scripts/bench under Wine.
#include "Bench.h"
#include "LauncherConfig.h"
#include "ThrowawayPrefix.h"
#include <ole2.h>
#include <cstdio>

namespace {

constexpr int kRuns = 5;

void WriteSettings(int unitsPerRow) {
    lhl::LauncherConfig config;
    config.Settings().unitsPerRow = unitsPerRow;
    config.Settings().soundEnabled = 0;
    config.SaveConfig(lhl::kConfigFileName);
}

// No ratio where either measure failed: it would read as a goal met.
double Ratio(double value, double base) { return value > 0 && base > 0 ? value / base : 0; }

// A measure that failed (every run of it) shows as "n/a", not as a figure.
void Row(const char* name, double value, const char* unit) {
    if (value > 0) std::printf("%-58s %10.1f %s\n", name, value, unit);
    else std::printf("%-58s %10s\n", name, "n/a");
}
void Count(const char* name, DWORD gdi, DWORD user, size_t windows) {
    std::printf("%-58s %6lu GDI %6lu USER %6zu windows\n", name, static_cast<unsigned long>(gdi),
                static_cast<unsigned long>(user), windows);
}

// Type to find over the largest data set, as the rows of its own.
void FindingRows() {
    // The switching run's add-and-clear cycles leave the first page emptied: the query runs over
    // the whole data set again.
    bench::PrepareLargestDataSet();
    const bench::FindResult f = bench::MeasureFinding();
    std::printf("type to find over %zu items, typing \"p1item25\" (%zu matches at the end)\n", f.items, f.matches);
    Row("  matching, per keystroke (target < 5)", f.matchMs, "ms");
    Row("  taking the items in when a query starts", f.foldMs, "ms");
    Row("  a keystroke matched, shown and painted (target < a switch)", f.shownKeyMs, "ms");
    Row("    the slowest of them", f.slowestKeyMs, "ms");
    Row("  the first keystroke, items taken in, shown and painted", f.firstKeyMs, "ms");
}

} // namespace

int main() {
    using namespace bench;
    // It deletes the page files and rewrites the settings of whoever runs it.
    if (!lhltest::InThrowawayPrefix()) {
        std::fprintf(stderr, "Not run: the benchmark replaces the launcher's data of whoever runs it. "
                             "scripts/bench runs it in a throwaway Wine prefix.\n");
        return 1;
    }
    // As in the launcher, whose application object initialises OLE for its drop target.
    ::OleInitialize(nullptr);
    std::printf("each figure is the median of %d runs\n\n", kRuns);
    WriteSettings(16);
    EmptyDataFolder();
    const StartResult bare = MedianStartup(L"bench_bare.exe", kRuns);
    const StartResult floor = MedianStartup(L"bench_floor.exe", kRuns);
    const double floorSwitch = MedianFloorSwitchMs(kRuns);
    const StartResult empty = MedianStartup(L"Lanternhop Launcher.exe", kRuns);
    PrepareLargestDataSet();
    const StartResult largest = MedianStartup(L"Lanternhop Launcher.exe", kRuns);
    Row("start-up, bare program with the same dialog", bare.ms, "ms");
    Row("start-up, launcher, empty data folder", empty.ms, "ms");
    Row("start-up, launcher, 17 pages x 256 items, 16 x 16 grid", largest.ms, "ms");
    Row("start-up, floor: bare 16 x 16 grid of 256 owner-drawn buttons", floor.ms, "ms");
    Row("  ratio largest / bare (target at most 1.5)", Ratio(largest.ms, bare.ms), "x");
    Row("  ratio largest / floor", Ratio(largest.ms, floor.ms), "x");
    Row("  ratio empty / bare", Ratio(empty.ms, bare.ms), "x");
    Row("working set, launcher with the largest data set (target < 40 MB)",
        static_cast<double>(largest.workingSetBytes) / (1024.0 * 1024.0), "MB");
    Row("LoadAll, largest data set", MedianLoadAllMs(), "ms");
    Row("  of which reading the files (LoadPages)", MedianLoadPagesMs(), "ms");
    Row("full save, index and all page files", MedianSaveAllMs(), "ms");
    const SwitchResult s = MeasureSwitching();
    Row("page switch between two full pages (target < 30)", s.switchMs, "ms");
    Row("page switch, floor: all 256 captions and icons, repainted", floorSwitch, "ms");
    Row("  ratio launcher / floor (goal at most 1.3)", Ratio(s.switchMs, floorSwitch), "x");
    Row("  switch to a full page shown for the first time", s.firstVisitMs, "ms");
    Count("objects after 10 switches", s.gdiAfter10, s.userAfter10, s.windowsAfter10);
    Count("objects after 1,000 switches", s.gdiAfter1000, s.userAfter1000, s.windowsAfter1000);
    Count("objects after 1,000 add-and-clear cycles", s.gdiAfterCycles, s.userAfterCycles, s.windowsAfterCycles);
    if (s.gdiAfter10 == 0 && s.userAfter10 == 0)
        std::printf("(GetGuiResources reports 0 under Wine; the window count is this process's own.)\n");
    FindingRows();
    return 0;
}
