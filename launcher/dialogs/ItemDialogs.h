#pragma once
// The two small dialogs for the items that are not files: "Add Text Clipboard" (a title and a
// text for the clipboard) and "Address or Email" (a title and an address).
#include "Dialog.h"
#include <string>

namespace lhl {

class LauncherConfig;

enum : UINT {
    IDD_TEXT_CLIPBOARD = 132,
    IDD_URL = 139,
    IDC_ITEM_TITLE = 1003,
    IDC_ITEM_TEXT = 1004,
    IDC_ITEM_ADDRESS = 1014,
    IDC_ITEM_OK = 1061,
    IDC_ITEM_CANCEL = 1062,
};

constexpr int kMaxItemTitle = 128;
constexpr int kMaxItemText = 5120;
constexpr int kMaxItemAddress = 1024;

class CTextClipboardDlg : public fw::CDialog {
public:
    CTextClipboardDlg(LauncherConfig* config, fw::CWnd* parent) : fw::CDialog(IDD_TEXT_CLIPBOARD, parent), m_pConfig(config) {}
    void SetTitle(const std::wstring& title) { m_strTitle = title; }
    void SetText(const std::wstring& text) { m_strText = text; }
    const std::wstring& GetTitle() const { return m_strTitle; }
    const std::wstring& GetText() const { return m_strText; }

    BOOL OnInitDialog() override;

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void OnAccept();

    LauncherConfig* m_pConfig;
    std::wstring m_strTitle;
    std::wstring m_strText;
};

class CUrlDlg : public fw::CDialog {
public:
    CUrlDlg(LauncherConfig* config, fw::CWnd* parent) : fw::CDialog(IDD_URL, parent), m_pConfig(config) {}
    void SetTitle(const std::wstring& title) { m_strTitle = title; }
    void SetAddress(const std::wstring& address) { m_strAddress = address; }
    const std::wstring& GetTitle() const { return m_strTitle; }
    const std::wstring& GetAddress() const { return m_strAddress; }

    BOOL OnInitDialog() override;

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    LauncherConfig* m_pConfig;
    std::wstring m_strTitle;
    std::wstring m_strAddress;
};

// The text of a dialog control.
std::wstring ControlText(HWND dialog, int id);

} // namespace lhl
