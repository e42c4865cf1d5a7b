#pragma once
// The panel's own window messages: what buttons, the hook library, the tray icon and a second
// instance of the program send to it. The values are shared with those other senders.
#include <windows.h>

namespace lhl {

constexpr UINT UM_HANDOVER = WM_USER + 101;        // 0x0465: a path waits in the hand-off file
// UM_HANDOVER's wParam when the panel posts it to itself to add the paths it already took from
// the file: the file itself then belongs to the next instance and is not read.
constexpr WPARAM kHandOverResume = 1;
// UM_HANDOVER's result when the panel took a path from the file: only then may the sender end.
constexpr LRESULT kHandOverTaken = 1;
constexpr UINT UM_SAVE_PAGE = WM_USER + 120;       // 0x0478
constexpr UINT UM_SWITCH_PAGE = WM_USER + 121;     // 0x0479
constexpr UINT UM_MOVE_ITEM = WM_USER + 122;       // 0x047A
constexpr UINT UM_REBUILD_BUTTONS = WM_USER + 124; // 0x047C
// Sent by an item button before it clears its item, so the panel can keep it for undo.
constexpr UINT UM_ITEM_CLEARING = WM_USER + 140;   // 0x04B4
constexpr UINT UM_TRAY_NOTIFY = WM_USER + 294;     // 0x0526
constexpr UINT UM_SHOW_AT_CURSOR = WM_USER + 296;  // 0x0528
// Posted by the panel to itself once the monitors or their work areas changed.
constexpr UINT UM_MONITORS_CHANGED = WM_APP + 1;

// Sent by an item button after it launched its item: hide unless the edge keeps the panel.
constexpr LPARAM kHideAfterLaunch = 0xFF;

// The mutex name and the panel's title. The panel's message boxes share its class and title,
// so the panel also carries a window property of this name, which tells it apart; the setup
// looks for the running panel by it too.
constexpr const wchar_t* kProductTitle = L"Lanternhop Launcher";
constexpr const wchar_t* kDialogClass = L"#32770";
constexpr const wchar_t* kPanelProperty = L"LanternhopLauncher.Panel";

} // namespace lhl
