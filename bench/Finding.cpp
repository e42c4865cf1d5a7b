// Type to find over the largest data set: what one keystroke costs in matching alone, and in
// matching and showing the matches on the grid until they are painted.
#include "Bench.h"
#include "FindView.h"
#include <algorithm>

namespace bench {
namespace {

// Names of the data set are "p<page>item<n>_xxx.txt": each key narrows the matches, from nine
// pages' items ("p1", "p10" to "p17") down to the seven of page 1 named "p1item25_" and
// "p1item250" to "p1item255".
constexpr const wchar_t* kTyped = L"p1item25";
constexpr int kRounds = 5;

MSG CharMessage(HWND window, wchar_t ch) { return MSG{window, WM_CHAR, ch, 1, 0, {}}; }

} // namespace

FindResult MeasureFinding() {
    BenchPanel panel;
    panel.BuildGrid();
    lhl::PageStore& store = *panel.store;
    store.BuildButtons();
    ::ShowWindow(panel.parent, SW_SHOWNA);
    Pump();

    FindResult result;
    std::vector<double> folding, matching;
    lhl::FindSource source = lhl::CollectFindable(store);
    result.items = source.items.size();
    lhl::ItemFinder finder;
    for (int round = 0; round < kRounds; ++round) {
        const double start = NowMs();
        finder.SetItems(source.items);
        folding.push_back(NowMs() - start);
        std::wstring query;
        for (const wchar_t* key = kTyped; *key; ++key) {
            query += *key;
            const double typed = NowMs();
            result.matches = finder.Find(query).size();
            matching.push_back(NowMs() - typed);
        }
    }
    result.foldMs = Median(folding);
    result.matchMs = Median(matching);

    lhl::CFindView view(panel.parent, &store, nullptr);
    std::vector<double> first, later;
    for (int round = 0; round < kRounds; ++round) {
        for (const wchar_t* key = kTyped; *key; ++key) {
            const double start = NowMs();
            view.TakeKey(CharMessage(panel.parent, *key));
            Pump();
            (key == kTyped ? first : later).push_back(NowMs() - start);
        }
        view.End();
        Pump();
    }
    result.firstKeyMs = Median(first);
    result.shownKeyMs = Median(later);
    result.slowestKeyMs = *std::max_element(later.begin(), later.end());
    return result;
}

} // namespace bench
