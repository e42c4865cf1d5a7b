// The largest data set (17 pages, a 16 x 16 grid, 256 File items on every page with 100-character
// paths to files that exist), and how long the page store takes to load and to save it.
#include "ButtonEx.h"
#include "DataFile.h"
#include "IndexButton.h"
#include "LauncherConfig.h"
#include "Module.h"
#include "PageCodec.h"
#include "PageStore.h"
#include "Bench.h"
#include "ShellFolder.h"
#include <shlobj.h>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lhl;

namespace {

constexpr uint32_t kPages = 17;
constexpr uint32_t kItems = 256;

double Now() {
    LARGE_INTEGER t, f;
    ::QueryPerformanceCounter(&t);
    ::QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// 100-character paths to files that exist, different ones on every page: a switch changes every
// button, and no page shows what another one has already asked the shell about. Each page's
// files have a folder of their own, as a user's items come from many folders.
std::vector<std::wstring> MakeTargets(const std::wstring& root) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (uint32_t i = 0; i < kItems * kPages; ++i) {
        const std::wstring folder = root + L"page" + std::to_wstring(i / kItems + 1) + L"\\";
        if (i % kItems == 0) ::CreateDirectoryW(folder.c_str(), nullptr);
        std::wstring path = folder + L"p" + std::to_wstring(i / kItems + 1) + L"item" + std::to_wstring(i % kItems) + L"_";
        path += std::wstring(100 - path.size() - 4, L'x') + L".txt";
        HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
        paths.push_back(path);
    }
    return paths;
}

void WriteDataSet(const LauncherConfig& config, const std::vector<std::wstring>& targets) {
    std::vector<PageGroup> groups;
    for (uint32_t p = 0; p < kPages; ++p) {
        if (p % 5 == 0) {
            groups.emplace_back();
            groups.back().fileName = L"pages_info_bench_" + std::to_wstring(p / 5) + L".dat";
        }
        LauncherPage page;
        page.title = L"Page " + std::to_wstring(p + 1);
        groups.back().pages.push_back(page);
    }
    ReplaceDataFile(config.DataFolder() + L"pages_info.dat", EncodeIndex(kPages, groups));
    std::vector<PageItems> items(kPages);
    for (uint32_t i = 0; i < kItems * kPages; ++i)
        items[i / kItems].push_back(LauncherItem{kKindFile, i % kItems + 1, L"", targets[i]});
    uint32_t first = 0;
    for (const PageGroup& group : groups) {
        std::vector<const PageItems*> blocks;
        for (uint32_t p = first; p < first + group.pages.size(); ++p) blocks.push_back(&items[p]);
        const uint32_t end = first + static_cast<uint32_t>(group.pages.size());
        ReplaceDataFile(config.DataFolder() + group.fileName, EncodePageFile(first, end, blocks));
        first = end;
    }
}

// Reading and decoding the files alone, without any button.
double TimeLoadPages() {
    LauncherConfig config;
    PageStore store(&config);
    const double start = Now();
    store.LoadPages();
    return Now() - start;
}

template <typename Measure>
double MedianOf(Measure measure, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(measure());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double TimeLoadAll() {
    bench::BenchPanel panel;
    const double start = Now();
    panel.BuildGrid(); // builds the cells, then LoadAll
    const double elapsed = Now() - start;
    if (panel.store->GetPageCount() != kPages || panel.store->ItemLists().at(16).size() != kItems)
        std::printf("the data set did not load whole\n");
    return elapsed;
}

} // namespace

namespace bench {

double NowMs() { return Now(); }

BenchPanel::BenchPanel() {
    window.CreateEx(0, L"STATIC", L"", WS_POPUP, RECT{0, 0, 700, 720}, nullptr, 0);
    parent = window.m_hWnd;
    config.Settings().unitsPerRow = 16;
    config.SetPanelWindow(parent);
    firstTab.Create(L"1", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, parent, 1001);
    store = std::make_unique<PageStore>(&config);
    store->SetParentWindow(parent);
    const RECT end{650, 690, 700, 710};
    store->SetTabWidth(end);
    store->InitFirstPage(&firstTab, RECT{0, 0, 50, 20}, end);
}

// The store and its buttons go before their parent window.
BenchPanel::~BenchPanel() {
    store.reset();
    ::DestroyWindow(parent);
}

void PrepareLargestDataSet() {
    LauncherConfig config;
    const std::vector<std::wstring> targets = MakeTargets(config.DataFolder() + L"bench_items\\");
    WriteDataSet(config, targets);
}

double MedianLoadAllMs() { return MedianOf(TimeLoadAll, 5); }
double MedianLoadPagesMs() { return MedianOf(TimeLoadPages, 5); }

// A full save: the index and every group's page file, as after a change to every page. The store
// is a whole one, with its grid and the shown page's buttons, because saving the shown page
// writes what its buttons hold.
double MedianSaveAllMs() {
    return MedianOf(
        [] {
            BenchPanel panel;
            panel.BuildGrid();
            panel.store->BuildButtons();
            const double start = Now();
            panel.store->SavePagesInfo();
            for (uint32_t p = 0; p < kPages; p += 5) panel.store->SavePage(p);
            return Now() - start;
        },
        3);
}

} // namespace bench
