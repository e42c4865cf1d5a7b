// Resource ids of the launcher. Dialog, menu and command ids double as the section and key
// numbers of the language files, so they never change.
#pragma once

#define IDD_LANTERNHOP_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_INDEX_FIRST 1001
#define IDC_PAGE_END 1002
#define IDC_STRIP 1078

#define IDS_ABOUTBOX 101
#define IDS_FILE_EXISTS 105
#define IDS_HELP_FILE 106
#define IDS_HOOK_LIBRARY 111
#define IDS_MANUAL_URL 113
#define IDS_STRIP_TEXT 114
#define IDS_HOME_URL 115
#define IDS_PRODUCT_NAME 117

#define IDM_ABOUTBOX 0x0010
#define ID_HELP 0xE146

#define IDI_CLIPBOARD_TEXT 133
#define IDI_WEB_ADDRESS 140
#define IDI_MAIL_ADDRESS 141
