// The text and link dialogs with real windows: limits, the empty-text question, language texts.
#include "ItemDialogs.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "MessageBoxAnswerer.h"
#include "TestSupport.h"

using namespace lhl;
using lhltest::MessageBoxAnswerer;

namespace {

class ItemDialogs : public lhltest::CleanLauncherState {
protected:
    // Opens a dialog modeless and shown, so that closing it can be seen.
    static void Open(fw::CDialog& dialog) {
        ASSERT_TRUE(dialog.Create());
        dialog.ShowWindow(SW_SHOW);
        ASSERT_TRUE(dialog.IsWindowVisible());
    }
    // Types into an edit as a user would, one character message at a time after the first ones.
    static void Type(HWND dialog, int id, const std::wstring& text) {
        ::SetDlgItemTextW(dialog, id, L"");
        ::SendDlgItemMessageW(dialog, id, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    LauncherConfig m_config;
};

} // namespace

TEST_F(ItemDialogs, TheTextTakes5120CharactersAndNotOneMore) {
    CTextClipboardDlg dialog(&m_config, nullptr);
    Open(dialog);
    Type(dialog.m_hWnd, IDC_ITEM_TEXT, std::wstring(5121, L'x'));
    EXPECT_EQ(ControlText(dialog.m_hWnd, IDC_ITEM_TEXT).size(), 5120u) << "the 5121st character was accepted";
    Type(dialog.m_hWnd, IDC_ITEM_TITLE, std::wstring(200, L't'));
    EXPECT_EQ(ControlText(dialog.m_hWnd, IDC_ITEM_TITLE).size(), 128u);
    dialog.SendMessage(WM_COMMAND, IDC_ITEM_OK);
    EXPECT_EQ(dialog.GetText().size(), 5120u);
    EXPECT_FALSE(dialog.IsWindowVisible()) << "OK with a text must close the dialog";
}

TEST_F(ItemDialogs, AnEmptyTextAsksAndNoKeepsTheDialogOpen) {
    CTextClipboardDlg dialog(&m_config, nullptr);
    dialog.SetTitle(L"My title");
    Open(dialog);
    {
        MessageBoxAnswerer user(IDNO);
        dialog.SendMessage(WM_COMMAND, IDC_ITEM_OK);
        EXPECT_EQ(user.OnlyText(), L"Text is empty, set fail!");
    }
    EXPECT_TRUE(dialog.IsWindowVisible()) << "No must return to the dialog";
    EXPECT_EQ(ControlText(dialog.m_hWnd, IDC_ITEM_TITLE), L"My title");
    Type(dialog.m_hWnd, IDC_ITEM_TEXT, L"   ");
    dialog.SendMessage(WM_COMMAND, IDC_ITEM_OK);
    EXPECT_FALSE(dialog.IsWindowVisible()) << "a text of blanks is not empty";
    EXPECT_EQ(dialog.GetText(), L"   ");

    CTextClipboardDlg second(&m_config, nullptr);
    Open(second);
    MessageBoxAnswerer user(IDYES);
    second.SendMessage(WM_COMMAND, IDC_ITEM_OK);
    EXPECT_FALSE(second.IsWindowVisible()) << "Yes gives up";
}

TEST_F(ItemDialogs, TheLinkDialogAcceptsAnythingAndTakesItsLanguage) {
    const std::wstring folder = lhltest::DataFolder() + L"Lang\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring ini = L"\xFEFF[URLEMAIL_DIALOG_STRING]\r\nDLG_URLEMAIL_CAPITON=\x7F51\x5740\r\nDLG_URLEMAIL_OK=\x786E\x5B9A\r\n";
    lhltest::WriteBytes(folder + L"ChineseSimplified.ini",
                        std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(ini.data()),
                                             reinterpret_cast<const uint8_t*>(ini.data() + ini.size())));
    LanguageTable table;
    table.SetLangFolder(folder);
    table.SetLanguage(LanguageTable::kChinese);
    m_config.SetLanguageTable(&table);
    CUrlDlg dialog(&m_config, nullptr);
    dialog.SetAddress(L"www.example.org");
    Open(dialog);
    EXPECT_EQ(dialog.GetWindowText(), L"\x7F51\x5740");
    wchar_t ok[32] = {};
    ::GetDlgItemTextW(dialog.m_hWnd, IDC_ITEM_OK, ok, 32);
    EXPECT_STREQ(ok, L"\x786E\x5B9A");
    wchar_t cancel[32] = {};
    ::GetDlgItemTextW(dialog.m_hWnd, IDC_ITEM_CANCEL, cancel, 32);
    EXPECT_STREQ(cancel, L"Cancel") << "a key the file lacks keeps the English text";
    EXPECT_EQ(ControlText(dialog.m_hWnd, IDC_ITEM_ADDRESS), L"www.example.org");
    Type(dialog.m_hWnd, IDC_ITEM_ADDRESS, L"");
    dialog.SendMessage(WM_COMMAND, IDC_ITEM_OK);
    EXPECT_FALSE(dialog.IsWindowVisible()) << "an empty address is accepted";
    EXPECT_EQ(dialog.GetAddress(), L"");
}
