// Resource ids of the launcher. Dialog, menu and command ids double as the section and key
// numbers of the language files, so they never change.
#pragma once

#define IDD_LANTERNHOP_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_INDEX_FIRST 1001
#define IDC_PAGE_END 1002
#define IDC_STRIP 1078

#define IDS_ABOUTBOX 101
#define IDS_SITE_URL 102
#define IDS_MAIL_LINK 103
#define IDS_FILE_EXISTS 105
#define IDS_HELP_FILE 106
#define IDS_HOOK_LIBRARY 111
#define IDS_MANUAL_URL 113
#define IDS_STRIP_TEXT 114
#define IDS_HOME_URL 115
#define IDS_PRODUCT_NAME 117
// The undo's texts; the same numbers are their keys in the language file's main section.
#define IDS_UNDO_NOTHING 150
#define IDS_UNDO_DELETE_PAGE 151
#define IDS_UNDO_CLEAR_ALL 152
#define IDS_UNDO_CLEAR_ICON 153
#define IDS_UNDO_REPLACE 154
#define IDS_UNDO_MOVE_TO 155
#define IDS_UNDO_PAGE_FULL 156
#define IDS_UNDO_TOO_MANY_PAGES 157
#define IDS_UNDO_PUT_ON_PAGE 158
#define IDS_UNDO_PUT_ON_NEW_PAGE 159
#define IDS_UNDO_SPREAD 160
// Said when "Move To" could not save the target page; its key in the language file too.
#define IDS_MOVE_NOT_SAVED 161
#define IDS_DELETE_NOT_SAVED 162
#define IDS_FIND_STRIP 118

#define IDM_ABOUTBOX 0x0010
#define ID_HELP 0xE146

#define IDI_CLIPBOARD_TEXT 133
#define IDI_WEB_ADDRESS 140
#define IDI_MAIL_ADDRESS 141

#define IDR_TRAY_MENU 129
#define IDR_PAGE_MENU 131

#define ID_TRAY_ACTIVATE 32771
#define ID_TRAY_OPTIONS 32772
#define ID_TRAY_EXIT 32775
#define ID_PAGE_CLEAR_ALL 32782
#define ID_PAGE_DELETE 32783
#define ID_PAGE_NEW 32784
#define ID_PAGE_ALIGN 32785
#define ID_PAGE_SET_CLIPBOARD 32781
#define ID_PAGE_PROPERTIES 32789
#define ID_PAGE_ADD_LINK 32790
#define ID_TRAY_DOCK 32841
#define ID_TRAY_MANUAL 32843
#define ID_TRAY_TIDY_DESKTOP 32857
#define ID_PAGE_PASTE 32858
#define ID_TRAY_ABOUT 32860
#define ID_PAGE_UNDO 32870
