// The benchmark table: start-up against a bare program, loading and saving the largest data set,
// page switching, object counts and memory. Run by scripts/bench under Wine.
#include "Bench.h"
#include "LauncherConfig.h"
#include "ThrowawayPrefix.h"
#include <ole2.h>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kRuns = 5;
constexpr int kPairs = 7;

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
// A ratio of interleaved pairs: its median, the range over the pairs, and the two medians.
void PairRow(const char* name, const bench::PairedResult& r) {
    if (r.pairs == 0) {
        std::printf("%-58s %10s\n", name, "n/a");
        return;
    }
    std::printf("%-58s %10.2f x  (%.2f to %.2f over %d pairs; %.0f / %.0f ms)\n", name, r.ratio, r.lowest,
                r.highest, r.pairs, r.programMs, r.floorMs);
}

// The programs as they ship (build/dist, stripped) and the setup, in KB.
void SizeRows() {
    const std::wstring build = bench::BinFolder() + L"..\\..\\";
    const struct {
        const char* name;
        const wchar_t* path;
    } files[] = {{"size, launcher", L"dist\\Lanternhop Launcher.exe"},
                 {"size, Explorer extension (target < 300 KB)", L"dist\\QuenvidExtension.dll"},
                 {"size, hook library", L"dist\\QuenvidTools.dll"},
                 {"size, cleaner", L"dist\\LHLConfigDelPersonalData.exe"},
                 {"size, setup", L"LanternhopSetup.exe"}};
    for (const auto& file : files) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const bool found = ::GetFileAttributesExW((build + file.path).c_str(), GetFileExInfoStandard, &data);
        Row(file.name, found ? static_cast<double>(data.nFileSizeLow) / 1024.0 : 0, "KB");
    }
}

// The machine's load as Linux counts it, read through Wine's Z: drive: a noisy run shows as one.
void LoadRow() {
    char text[64] = {};
    FILE* file = std::fopen("Z:\\proc\\loadavg", "r");
    if (file && std::fgets(text, sizeof(text), file)) std::printf("machine load (1, 5, 15 min, from /proc/loadavg): %s", text);
    else std::printf("machine load: not readable here\n");
    if (file) std::fclose(file);
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

// Start-up, each ratio from floor-then-launcher pairs: the empty data folder against the bare
// dialog, the largest data set against the bare grid of 256 owner-drawn buttons.
void StartupRows() {
    using namespace bench;
    EmptyDataFolder();
    const PairedResult empty = PairedStartup(L"Lanternhop Launcher.exe", L"bench_bare.exe", kPairs);
    PrepareLargestDataSet();
    const PairedResult largest = PairedStartup(L"Lanternhop Launcher.exe", L"bench_floor.exe", kPairs);
    PairRow("start-up, empty data folder / bare dialog", empty);
    PairRow("start-up, largest data set / 256-button floor (target 1.5)", largest);
    Row("working set, launcher with the largest data set (target < 40 MB)",
        static_cast<double>(largest.workingSetBytes) / (1024.0 * 1024.0), "MB");
}

} // namespace

int main(int argc, char** argv) {
    const bool startupOnly = argc > 1 && std::strcmp(argv[1], "startup") == 0;
    using namespace bench;
    // It deletes the page files and rewrites the settings of whoever runs it.
    if (!lhltest::InThrowawayPrefix()) {
        std::fprintf(stderr, "Not run: the benchmark replaces the launcher's data of whoever runs it. "
                             "scripts/bench runs it in a throwaway Wine prefix.\n");
        return 1;
    }
    // As in the launcher, whose application object initialises OLE for its drop target.
    ::OleInitialize(nullptr);
    std::printf("each figure is the median of %d runs; ratios of start-up are of %d interleaved pairs\n\n", kRuns,
                kPairs);
    SizeRows();
    WriteSettings(16);
    StartupRows();
    if (startupOnly) {
        LoadRow();
        return 0;
    }
    const double floorSwitch = MedianFloorSwitchMs(kRuns);
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
    LoadRow();
    return 0;
}
