#pragma once
// The records the user's pages and items are made of. Their values are what the page files hold.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace lhl {

enum ItemKind : uint32_t {
    kKindNone = 0,
    kKindFile = 1,
    kKindClipboardText = 2,
    kKindLink = 3,
};

struct LauncherItem {
    uint32_t kind = kKindNone;
    uint32_t cell = 0; // 1-based grid cell, 0 = not placed
    std::wstring title;
    std::wstring target;

    bool IsEmptyRecord() const { return kind == kKindNone && cell == 0 && title.empty() && target.empty(); }
    // A record that puts an item in a cell (which may lie outside a grid made smaller since).
    bool HoldsItem() const { return kind != kKindNone && cell != 0; }
    bool operator==(const LauncherItem&) const = default;
};

using PageItems = std::vector<LauncherItem>;

struct LauncherPage {
    COLORREF focusBackColor = 0x808040;
    COLORREF normalBackColor = 0xC0C0C0;
    COLORREF focusTextColor = 0x0000C8;
    COLORREF normalTextColor = 0x000000;
    std::wstring title;
    std::wstring tip;
    bool operator==(const LauncherPage&) const = default;
};

// Consecutive pages saved in one page file.
struct PageGroup {
    std::vector<LauncherPage> pages;
    std::wstring fileName;
    uint32_t reserved = 0;
};

} // namespace lhl
