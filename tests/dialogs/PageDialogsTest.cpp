// Page Properties, Tidy Desktop and the about box's link with real windows and real files.
#include "AboutDlg.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "MessageBoxAnswerer.h"
#include "PageProperties.h"
#include "ShellFolder.h"
#include "TestSupport.h"
#include "TidyDesktopDlg.h"
#include <shlobj.h>
#include <atomic>
#include <thread>

using namespace lhl;
using lhltest::MessageBoxAnswerer;

namespace {

void Open(fw::CDialog& dialog) {
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
}

void Click(fw::CDialog& dialog, int id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
}

// Plays the user at the system colour picker: types red, green and blue and presses OK.
class ColourPicker {
public:
    explicit ColourPicker(COLORREF colour) : m_thread([this, colour] { Run(colour); }) {}
    ~ColourPicker() {
        m_stop = true;
        m_thread.join();
    }
    bool Seen() const { return m_seen; }

private:
    void Run(COLORREF colour) {
        while (!m_stop && !m_seen) {
            HWND picker = ::FindWindowW(L"#32770", L"Color");
            DWORD pid = 0;
            if (picker) ::GetWindowThreadProcessId(picker, &pid);
            if (picker && pid == ::GetCurrentProcessId() && ::IsWindowVisible(picker)) {
                ::SetDlgItemInt(picker, 706, GetRValue(colour), FALSE);
                ::SetDlgItemInt(picker, 707, GetGValue(colour), FALSE);
                ::SetDlgItemInt(picker, 708, GetBValue(colour), FALSE);
                m_seen = true;
                ::PostMessageW(picker, WM_COMMAND, IDOK, 0);
            }
            ::Sleep(20);
        }
    }
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_seen{false};
    std::thread m_thread;
};

PageBlock SampleBlock() {
    return PageBlock{L"Work", L"Things for work", RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(100, 110, 120)};
}

bool SameBlock(const PageBlock& a, const PageBlock& b) {
    return a.title == b.title && a.tip == b.tip && a.focusBackColor == b.focusBackColor &&
           a.normalBackColor == b.normalBackColor && a.focusTextColor == b.focusTextColor &&
           a.normalTextColor == b.normalTextColor;
}

} // namespace

TEST(PageProperties, OkWithoutChangesWritesBackTheSameValues) {
    PageBlock block = SampleBlock();
    CPageProperties dialog(&block, nullptr, nullptr);
    Open(dialog);
    EXPECT_EQ(dialog.Preview().GetPageNumber(), 65535);
    EXPECT_EQ(dialog.Preview().GetColourSlot(2), block.normalBackColor);
    EXPECT_EQ(dialog.Preview().GetColourSlot(3), block.normalTextColor);
    block.title = L"changed behind its back";
    Click(dialog, IDC_PAGE_OK);
    EXPECT_EQ(dialog.Result(), IDOK);
    EXPECT_TRUE(SameBlock(block, SampleBlock()));
}

TEST(PageProperties, ANewFocusColourShowsInThePreviewAtOnceAndInTheBlockOnlyAfterOk) {
    PageBlock block = SampleBlock();
    CPageProperties dialog(&block, nullptr, nullptr);
    Open(dialog);
    const COLORREF chosen = RGB(200, 100, 50);
    {
        ColourPicker user(chosen);
        Click(dialog, IDC_FOCUS_BACK);
        ASSERT_TRUE(user.Seen()) << "no colour picker appeared";
    }
    EXPECT_EQ(dialog.Preview().GetColourSlot(0), chosen);
    EXPECT_EQ(dialog.Preview().GetColourSlot(4), chosen);
    EXPECT_EQ(dialog.Preview().GetColourSlot(2), SampleBlock().normalBackColor) << "the other swatch changed";
    EXPECT_EQ(block.focusBackColor, SampleBlock().focusBackColor) << "the block changed before OK";
    Click(dialog, IDC_PAGE_OK);
    EXPECT_EQ(block.focusBackColor, chosen);
    EXPECT_EQ(block.normalBackColor, SampleBlock().normalBackColor);
}

TEST(PageProperties, TheTitleTakes128CharactersAndCancelKeepsTheBlock) {
    PageBlock block = SampleBlock();
    CPageProperties dialog(&block, nullptr, nullptr);
    Open(dialog);
    HWND title = dialog.GetDlgItem(IDC_PAGE_TITLE);
    ::SetWindowTextW(title, L"");
    const std::wstring typed(129, L'x');
    ::SendMessageW(title, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(typed.c_str()));
    EXPECT_EQ(::GetWindowTextLengthW(title), 128);
    Click(dialog, IDC_PAGE_CANCEL);
    EXPECT_EQ(dialog.Result(), IDCANCEL);
    EXPECT_TRUE(SameBlock(block, SampleBlock()));
}

namespace {

// A desktop the test fills: the prefix's own desktop folder, emptied before and after.
class TidyDesktop : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        m_desktop = fw::ShellFolderPath(CSIDL_DESKTOPDIRECTORY);
        ASSERT_FALSE(m_desktop.empty());
        // The desktop must be the test prefix's own folder, never a home folder full of files.
        ASSERT_FALSE(::GetFileAttributesW(m_desktop.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
        lhltest::EmptyFolder(m_desktop);
        // The clean state emptied the data folder after the settings made their folders.
        ::CreateDirectoryW(m_config.DesktopBackupFolder().c_str(), nullptr);
    }
    void TearDown() override {
        lhltest::EmptyFolder(m_desktop);
        lhltest::EmptyFolder(m_config.DesktopBackupFolder());
        CleanLauncherState::TearDown();
    }
    void Put(const std::wstring& name) { lhltest::WriteBytes(m_desktop + name, {'x'}); }
    // The rows that name this test's desktop or backup, as (title, path, checked).
    struct Row {
        std::wstring title, path;
        bool checked;
    };
    static std::vector<Row> Rows(CTidyDesktopDlg& dialog) {
        std::vector<Row> rows;
        fw::CListCtrl& list = dialog.List();
        for (int i = 0; i < list.GetItemCount(); ++i)
            rows.push_back(Row{list.GetItemText(i, 0), list.GetItemText(i, 1), list.GetCheck(i)});
        return rows;
    }

    std::wstring m_desktop;
    LauncherConfig m_config;
};

} // namespace

TEST_F(TidyDesktop, FilesAreListedCheckedInReverseOrderAndFoldersLeftOut) {
    Put(L"Notes.txt");
    Put(L"Tool.lnk");
    ::CreateDirectoryW((m_desktop + L"Photos").c_str(), nullptr);
    CTidyDesktopDlg dialog(&m_config, nullptr, nullptr);
    Open(dialog);
    const std::vector<Row> rows = Rows(dialog);
    ASSERT_EQ(rows.size(), 2u);
    // The shell lists the desktop by name: Notes before Tool, so Tool comes out on top.
    EXPECT_EQ(rows[0].title, L"Tool");
    EXPECT_EQ(rows[0].path, m_desktop + L"Tool.lnk");
    EXPECT_EQ(rows[1].title, L"Notes");
    EXPECT_TRUE(rows[0].checked && rows[1].checked);
}

TEST_F(TidyDesktop, TidyReturnsCheckedAndSelectedRowsAndCancelNothing) {
    Put(L"a.txt");
    Put(L"b.txt");
    Put(L"c.txt");
    std::vector<std::wstring> chosen;
    CTidyDesktopDlg dialog(&m_config, nullptr, nullptr);
    dialog.SetResultList(&chosen);
    Open(dialog);
    fw::CListCtrl& list = dialog.List();
    ASSERT_EQ(list.GetItemCount(), 3);
    for (int i = 0; i < 3; ++i) list.SetCheck(i, false);
    list.Select(2, true); // selected, though unchecked
    list.SetCheck(0, true);
    dialog.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(dialog.IsWindowVisible()) << "Esc closed the dialog";
    Click(dialog, IDC_TIDY);
    EXPECT_EQ(dialog.Result(), IDOK);
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0], list.GetItemText(0, 1));
    EXPECT_EQ(chosen[1], list.GetItemText(2, 1));

    std::vector<std::wstring> none;
    CTidyDesktopDlg second(&m_config, nullptr, nullptr);
    second.SetResultList(&none);
    Open(second);
    Click(second, IDOK); // "Cancel"
    EXPECT_EQ(second.Result(), IDOK);
    EXPECT_TRUE(none.empty());
}

TEST_F(TidyDesktop, RestoreListsBackedUpFilesUncheckedUnderTheirDesktopPath) {
    CTidyDesktopDlg dialog(&m_config, nullptr, nullptr);
    Open(dialog);
    Click(dialog, IDC_TIDY_RESTORE);
    EXPECT_TRUE(Rows(dialog).empty()) << "an empty backup folder listed something";
    ::RemoveDirectoryW(m_config.DesktopBackupFolder().c_str());
    Click(dialog, IDC_TIDY_RESTORE);
    EXPECT_TRUE(Rows(dialog).empty()) << "a missing backup folder listed something";
    ::CreateDirectoryW(m_config.DesktopBackupFolder().c_str(), nullptr);

    const std::wstring backup = m_config.DesktopBackupFolder();
    lhltest::WriteBytes(backup + L"Old.lnk", {'x'});
    lhltest::WriteBytes(backup + L".hidden.txt", {'x'});
    ::CreateDirectoryW((backup + L"Sub").c_str(), nullptr);
    ::CreateDirectoryW((backup + L"Sub\\Inner").c_str(), nullptr);
    lhltest::WriteBytes(backup + L"Sub\\Inner\\Deep.txt", {'x'});
    Click(dialog, IDC_TIDY_RESTORE);
    std::vector<Row> rows = Rows(dialog);
    ASSERT_EQ(rows.size(), 2u);
    bool sawOld = false, sawDeep = false;
    for (const Row& row : rows) {
        EXPECT_FALSE(row.checked) << "restored rows start unchecked";
        if (row.title == L"Old") sawOld = row.path == m_desktop + L"Old.lnk";
        if (row.title == L"Deep") sawDeep = row.path == m_desktop + L"Deep.txt";
    }
    EXPECT_TRUE(sawOld) << "Old.lnk was not listed under the desktop path";
    EXPECT_TRUE(sawDeep) << "a file two folders deep was not found";
    Click(dialog, IDC_TIDY_RESTORE);
    Click(dialog, IDC_TIDY_RESTORE);
    EXPECT_EQ(Rows(dialog).size(), 2u) << "pressing Restore again listed the kept files twice";
}

TEST(HyperLinkError, EachCodeHasItsReason) {
    EXPECT_EQ(HyperLinkErrorText(31), L"Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
    EXPECT_EQ(HyperLinkErrorText(2), L"Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(HyperLinkErrorText(99), L"Unable to open hyperlink:\n\nUnknown Error (99) occurred.");
}

// The product's web site and mail box cannot be reached, so the box leads to the manual beside
// the program and shows the contact address as text only.
TEST(AboutBox, TheLinkLeadsToTheManualAndALineFeedMakesTwoLines) {
    CAboutDlg about;
    about.SetManual(L"C:\\Program\\helpstart_chs.htm");
    Open(about);
    CHyperLink& manual = about.ManualLink();
    EXPECT_EQ(manual.GetURL(), L"C:\\Program\\helpstart_chs.htm");
    wchar_t text[256] = {};
    ::GetWindowTextW(manual.m_hWnd, text, 256);
    EXPECT_STREQ(text, L"Manual & FAQ");
    HWND mail = ::GetDlgItem(about.m_hWnd, IDC_ABOUT_MAIL);
    EXPECT_EQ(::GetWindowLongPtrW(mail, GWL_STYLE) & SS_NOTIFY, 0) << "the mail address is still a link";

    const RECT one = manual.GetWindowRect();
    ::SetWindowTextW(manual.m_hWnd, L"first line\nsecond line");
    manual.SetURL(manual.GetURL()); // fits the control to its new text
    const RECT two = manual.GetWindowRect();
    EXPECT_EQ(two.bottom - two.top, 2 * (one.bottom - one.top));
}

TEST(AboutBox, AFailingOpenReportsAndASuccessfulOneTurnsVisited) {
    CAboutDlg about;
    Open(about);
    CHyperLink& link = about.ManualLink();
    EXPECT_EQ(link.TextColour(), CHyperLink::kLinkColour);
    link.SetURL(L"nosuchscheme-lhl:nowhere");
    {
        MessageBoxAnswerer user(IDOK);
        link.OnClicked();
        EXPECT_EQ(user.OnlyText().rfind(L"Unable to open hyperlink:\n\n", 0), 0u) << "no report of the failure";
    }
    EXPECT_FALSE(link.IsVisited());

    // The harmless helper program opens and ends at once.
    link.SetURL(lhltest::BinFolder() + L"lhl_record_run.exe");
    link.OnClicked();
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(link.TextColour(), CHyperLink::kVisitedColour);
}
