// The floor of the panel's own design: the panel's dialog template with a 16 x 16 grid of 256
// owner-drawn buttons, each an icon over a caption, in plain Win32 (no framework, no shell).
//   bench_floor.exe          shows the grid until it is closed (start-up is timed from outside)
//   bench_floor.exe switch   switches every caption and icon ten times, repainting each time,
//                            and exits with the median switch in microseconds
#include <windows.h>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 16;
constexpr int kButtons = kSide * kSide;
constexpr int kFirstId = 1000;
constexpr int kSwitches = 10;
// The panel's item area, as the benchmark's page store lays out its own grid.
constexpr RECT kArea = {0, 20, 700, 710};
constexpr UINT UM_RUN_SWITCHES = WM_APP + 1;

struct Cell {
    std::wstring caption;
    HICON icon = nullptr;
};

struct Floor {
    std::array<Cell, kButtons> cells;
    std::array<HICON, 4> icons{};
    int page = 0;
    int drawn = 0;
    bool runSwitches = false;
    DWORD medianMicroseconds = 0;
};

Floor g_floor;

double NowMs() {
    LARGE_INTEGER t, f;
    ::QueryPerformanceCounter(&t);
    ::QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void LoadIcons() {
    const LPCWSTR ids[] = {IDI_APPLICATION, IDI_INFORMATION, IDI_WARNING, IDI_QUESTION};
    for (size_t i = 0; i < g_floor.icons.size(); ++i)
        g_floor.icons[i] = static_cast<HICON>(::LoadImageW(nullptr, ids[i], IMAGE_ICON, 32, 32, LR_SHARED));
}

// What a page shows: a caption of the length a file name has and an icon, different per page.
void FillCells(int page) {
    for (int i = 0; i < kButtons; ++i) {
        g_floor.cells[i].caption = L"p" + std::to_wstring(page + 1) + L"item" + std::to_wstring(i) + L"_xxxxxxxx.txt";
        g_floor.cells[i].icon = g_floor.icons[static_cast<size_t>(i + page) % g_floor.icons.size()];
    }
}

void CreateButtons(HWND dialog) {
    const int width = (kArea.right - kArea.left) / kSide, height = (kArea.bottom - kArea.top) / kSide;
    for (int i = 0; i < kButtons; ++i) {
        ::CreateWindowExW(0, L"BUTTON", g_floor.cells[i].caption.c_str(),
                          WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, kArea.left + (i % kSide) * width,
                          kArea.top + (i / kSide) * height, width, height, dialog,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + i)), nullptr, nullptr);
    }
}

void DrawCell(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.CtlID) - kFirstId;
    if (index < 0 || index >= kButtons) return;
    const Cell& cell = g_floor.cells[index];
    ++g_floor.drawn;
    RECT r = item.rcItem;
    ::FillRect(item.hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    const int iconSide = std::min(r.right - r.left, (r.bottom - r.top) / 2);
    ::DrawIconEx(item.hDC, r.left + (r.right - r.left - iconSide) / 2, r.top + 2, cell.icon, iconSide, iconSide, 0,
                 nullptr, DI_NORMAL);
    r.top += iconSide + 2;
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::DrawTextW(item.hDC, cell.caption.c_str(), -1, &r, DT_WORDBREAK | DT_CENTER | DT_END_ELLIPSIS);
}

// One page switch: every caption and icon changes, the grid is painted once when all are done.
void SwitchPage(HWND dialog) {
    g_floor.page ^= 1;
    FillCells(g_floor.page);
    ::SendMessageW(dialog, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kButtons; ++i)
        ::SetDlgItemTextW(dialog, kFirstId + i, g_floor.cells[i].caption.c_str());
    ::SendMessageW(dialog, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The dialog grows to hold the whole grid and sits where the screen shows all of it, so every
// button is painted as on the panel.
void FitGrid(HWND dialog) {
    RECT frame = kArea;
    frame.top = 0;
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// Exits with 0 when a switch did not paint every button: a time without the painting is no floor.
void RunSwitches(HWND dialog) {
    std::vector<double> times;
    g_floor.drawn = 0;
    for (int i = 0; i < kSwitches; ++i) {
        const double start = NowMs();
        SwitchPage(dialog);
        ::GdiFlush();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    if (g_floor.drawn >= kButtons * kSwitches)
        g_floor.medianMicroseconds = static_cast<DWORD>(times[times.size() / 2] * 1000.0);
    ::EndDialog(dialog, 0);
}

INT_PTR CALLBACK FloorProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowTextW(dialog, L"Floor grid");
        FitGrid(dialog);
        CreateButtons(dialog);
        // After the first paint, as a user's switch comes to a panel already shown.
        if (g_floor.runSwitches) ::PostMessageW(dialog, UM_RUN_SWITCHES, 0, 0);
        return TRUE;
    case WM_DRAWITEM:
        DrawCell(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case UM_RUN_SWITCHES:
        ::UpdateWindow(dialog);
        RunSwitches(dialog);
        return TRUE;
    case WM_CLOSE:
        ::EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int) {
    g_floor.runSwitches = cmdLine && std::wstring(cmdLine) == L"switch";
    LoadIcons();
    FillCells(0);
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(102), nullptr, FloorProc, 0);
    return static_cast<int>(g_floor.medianMicroseconds);
}
