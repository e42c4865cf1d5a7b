// Page switching between two full pages, and whether switching or adding and clearing items
// leaves objects behind.
#include "Bench.h"

namespace bench {
namespace {

using lhl::PageStore;

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<size_t*>(count);
    return TRUE;
}

// What the panel does for a tab click, without the sound.
void SwitchTo(PageStore& store, uint32_t index) {
    store.SwitchPage(index);
    store.WriteCurrentIndex();
    Pump();
    // Drawing done, not only queued, as the floor program times its own switch.
    ::GdiFlush();
}

struct Counts {
    DWORD gdi, user;
    size_t windows;
};

Counts Take(HWND parent) {
    size_t windows = 0;
    ::EnumChildWindows(parent, CountWindow, reinterpret_cast<LPARAM>(&windows));
    return Counts{::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                  ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS), windows};
}

} // namespace

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

SwitchResult MeasureSwitching() {
    BenchPanel panel;
    panel.BuildGrid();
    PageStore& store = *panel.store;
    const HWND parent = panel.parent;
    store.BuildButtons();
    // Shown, as the panel is when its tabs are clicked: a switch is done when it is painted.
    ::ShowWindow(parent, SW_SHOWNA);
    Pump();

    SwitchResult result;
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) {
        const double start = NowMs();
        SwitchTo(store, static_cast<uint32_t>((i + 1) % 2));
        times.push_back(NowMs() - start);
    }
    result.switchMs = Median(times);
    // Pages 3 to 17, each shown for the first time: nothing about their files is known yet.
    times.clear();
    for (uint32_t page = 2; page < store.GetPageCount(); ++page) {
        const double start = NowMs();
        SwitchTo(store, page);
        times.push_back(NowMs() - start);
    }
    result.firstVisitMs = Median(times);
    SwitchTo(store, 0);
    Counts c = Take(parent);
    result.gdiAfter10 = c.gdi, result.userAfter10 = c.user, result.windowsAfter10 = c.windows;
    for (int i = 10; i < kLongRun; ++i) SwitchTo(store, static_cast<uint32_t>((i + 1) % 2));
    c = Take(parent);
    result.gdiAfter1000 = c.gdi, result.userAfter1000 = c.user, result.windowsAfter1000 = c.windows;

    // Add and clear on the shown page, emptied first.
    SwitchTo(store, 0);
    store.ClearPage();
    const std::wstring target = store.ItemLists().at(1).at(0).target;
    for (int i = 0; i < kCycles; ++i) {
        store.AddFileItem(target);
        store.ClearPage();
        Pump();
    }
    c = Take(parent);
    result.gdiAfterCycles = c.gdi, result.userAfterCycles = c.user, result.windowsAfterCycles = c.windows;
    return result;
}

} // namespace bench
