// Item buttons with real windows: assigning, replacing, launching, clearing.
#include "ButtonEx.h"
#include "ComInit.h"
#include "LauncherConfig.h"
#include "MessageBoxAnswerer.h"
#include "PanelMessages.h"
#include "TestSupport.h"
#include <shlobj.h>

using namespace lhl;
using lhltest::MessageBoxAnswerer;

namespace {

// A parent that counts what its item button tells it.
class CountingParent : public fw::CWnd {
public:
    int saves = 0;
    int hideRequests = 0;
    std::wstring clearing; // what the button held when it said it was about to clear

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == UM_SAVE_PAGE) ++saves;
        if (msg == UM_ITEM_CLEARING) clearing = reinterpret_cast<CButtonEx*>(wParam)->GetTarget();
        if (msg == WM_SYSCOMMAND && wParam == SC_MINIMIZE && lParam == kHideAfterLaunch) {
            ++hideRequests;
            return 0;
        }
        return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
};

class ItemButtonTest : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        m_config.Settings().soundEnabled = 0;
        ASSERT_TRUE(m_parent.CreateEx(0, L"STATIC", L"", WS_POPUP, RECT{0, 0, 300, 300}, nullptr, 0));
        ASSERT_TRUE(m_button.Create(L"", WS_CHILD, RECT{0, 0, 80, 80}, m_parent.m_hWnd, 500));
        m_button.SetConfig(&m_config);
    }
    std::wstring ItemFolder() {
        const std::wstring folder = lhltest::DataFolder() + L"items\\";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }
    static std::wstring ClipboardText() {
        std::wstring text;
        if (!::OpenClipboard(nullptr)) return text;
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(::GlobalLock(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
        return text;
    }

    LauncherConfig m_config;
    CountingParent m_parent;
    CButtonEx m_button;
};

bool MakeShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& arguments) {
    fw::ComScope com;
    fw::ComPtr<IShellLinkW> shell;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.PutVoid())))
        return false;
    shell->SetPath(target.c_str());
    shell->SetArguments(arguments.c_str());
    fw::ComPtr<IPersistFile> file;
    return SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.PutVoid())) && SUCCEEDED(file->Save(link.c_str(), TRUE));
}

} // namespace

TEST_F(ItemButtonTest, AssigningAnswersAssignedUnchangedOrDeclined) {
    const std::wstring a = ItemFolder() + L"a.txt", b = ItemFolder() + L"b.txt";
    lhltest::WriteBytes(a, {1});
    lhltest::WriteBytes(b, {1});
    EXPECT_EQ(m_button.SetFileItem(a), kAssigned);
    EXPECT_EQ(m_button.GetTarget(), a);
    EXPECT_EQ(m_button.GetTitle(), L"a.txt");
    {
        MessageBoxAnswerer noQuestion(IDNO);
        EXPECT_EQ(m_button.SetFileItem(a), kUnchanged);
        EXPECT_EQ(noQuestion.Count(), 0u) << "the same path asked to replace itself";
    }
    {
        MessageBoxAnswerer user(IDNO);
        EXPECT_EQ(m_button.SetFileItem(b), kDeclined);
        EXPECT_EQ(user.OnlyText(), L"File is existing.Replace it?");
        EXPECT_EQ(m_button.GetTarget(), a) << "a declined replacement lost the old item";
    }
    {
        MessageBoxAnswerer user(IDYES);
        EXPECT_EQ(m_button.SetFileItem(b), kAssigned);
        EXPECT_EQ(user.Count(), 1u);
        EXPECT_EQ(m_button.GetTarget(), b);
    }
    MessageBoxAnswerer user(IDYES);
    EXPECT_EQ(m_button.SetTextItem(L"T", L"text"), kAssigned) << "a text over a file asks first";
    EXPECT_EQ(m_button.SetTextItem(L"T", L"text"), kUnchanged);
    EXPECT_EQ(m_button.GetKind(), kButtonText);
    EXPECT_EQ(user.Count(), 1u);
}

TEST_F(ItemButtonTest, LongTitlesAndTextsAreShortenedWhereTheyShow) {
    m_button.SetTextItem(std::wstring(17, L't'), std::wstring(300, L'x'));
    EXPECT_EQ(m_button.GetWindowText(), std::wstring(16, L't') + L"...");
    EXPECT_EQ(m_button.GetTitle(), std::wstring(17, L't')) << "the title itself stays whole";
    EXPECT_EQ(m_button.Tip().size(), 128u);
    m_button.LaunchItem();
    EXPECT_EQ(ClipboardText(), std::wstring(300, L'x')) << "the clipboard did not get the whole text";
    EXPECT_EQ(m_parent.hideRequests, 1) << "a launch must ask the panel to hide";

    CButtonEx file;
    file.Create(L"", WS_CHILD, RECT{0, 0, 80, 80}, m_parent.m_hWnd, 501);
    const std::wstring name = std::wstring(36, L'n') + L".txt";
    file.SetFileItem(ItemFolder() + name);
    EXPECT_EQ(file.GetTitle(), name.substr(0, 32) + L" ...");
    EXPECT_EQ(file.FullTitle(), name);
}

TEST_F(ItemButtonTest, LinksChooseTheirIconAndKeepTheirAddress) {
    m_button.SetLinkItem(L"Mail me", L"me@example.org");
    EXPECT_EQ(m_button.GetKind(), kButtonLink);
    EXPECT_NE(m_button.GetIcon(), nullptr);
    EXPECT_EQ(m_button.Tip(), L"me@example.org");
    EXPECT_EQ(m_button.ShownTarget(), L"me@example.org");
}

// Buttons share the shell's and the program's icons: none may destroy what the others show.
TEST_F(ItemButtonTest, ClearedOrDestroyedButtonsLeaveTheSharedIconsAlive) {
    const auto alive = [](HICON icon) {
        ICONINFO info{};
        if (!icon || !::GetIconInfo(icon, &info)) return false;
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        return true;
    };
    lhltest::WriteBytes(ItemFolder() + L"a.txt", {1});
    lhltest::WriteBytes(ItemFolder() + L"b.txt", {1});
    m_button.SetFileItem(ItemFolder() + L"a.txt");
    HICON fileIcon = m_button.GetIcon();
    HICON linkIcon = nullptr;
    {
        CButtonEx other;
        other.Create(L"", WS_CHILD, RECT{0, 0, 80, 80}, m_parent.m_hWnd, 501);
        other.SetFileItem(ItemFolder() + L"b.txt");
        EXPECT_EQ(other.GetIcon(), fileIcon) << "the same kind of file got an icon of its own";
        other.ResetButton();
        other.SetLinkItem(L"Web", L"example.org");
        linkIcon = other.GetIcon();
    }
    EXPECT_TRUE(alive(fileIcon)) << "a cleared button destroyed the shell's icon";
    m_button.ResetButton();
    m_button.SetLinkItem(L"Web", L"example.org");
    EXPECT_EQ(m_button.GetIcon(), linkIcon);
    EXPECT_TRUE(alive(linkIcon)) << "a destroyed button destroyed the address icon";
    m_button.ResetButton();
    m_button.SetFileItem(ItemFolder() + L"b.txt");
    EXPECT_EQ(m_button.GetIcon(), fileIcon);
}

TEST_F(ItemButtonTest, ShortcutsShowTheirTargetWithArgumentsButOnlyForLowerCaseLnk) {
    const std::wstring target = ItemFolder() + L"tool.exe";
    lhltest::WriteBytes(target, {'M', 'Z'});
    const std::wstring link = ItemFolder() + L"tool.lnk";
    ASSERT_TRUE(MakeShortcut(link, target, L" --fast"));
    m_button.SetFileItem(link);
    EXPECT_EQ(m_button.ShownTarget(), target + L" --fast");

    const std::wstring upper = ItemFolder() + L"TOOL2.LNK";
    ASSERT_TRUE(::CopyFileW(link.c_str(), upper.c_str(), FALSE));
    CButtonEx other;
    other.Create(L"", WS_CHILD, RECT{0, 0, 80, 80}, m_parent.m_hWnd, 501);
    other.SetFileItem(upper);
    EXPECT_EQ(other.ShownTarget(), upper) << "\".LNK\" must not be resolved";
}

// The panel keeps a cleared item for undo, so it must hear of it while the button still holds it;
// the launcher's own shortcut copy stays for the undo, whose history removes it later.
TEST_F(ItemButtonTest, ClearingTellsThePanelFirstAndLeavesTheShortcutCopy) {
    ::CreateDirectoryW(m_config.ShortcutFolder().c_str(), nullptr);
    const std::wstring copy = m_config.ShortcutFolder() + L"copied.lnk";
    lhltest::WriteBytes(copy, {1});
    m_button.SetFileItem(copy);
    m_button.DeleteItem();
    EXPECT_EQ(m_parent.clearing, copy) << "the panel was told only after the item was gone";
    EXPECT_TRUE(lhltest::FileExists(copy)) << "the button deleted the copy that an undo needs";
    EXPECT_EQ(m_parent.saves, 1) << "the panel was not told to save";
    EXPECT_FALSE(::IsWindowEnabled(m_button.m_hWnd));
}

TEST_F(ItemButtonTest, AnEmptyTextItemIsDeletedWhenClicked) {
    m_button.SetTextItem(L"Blank", L"");
    m_button.LaunchItem();
    EXPECT_EQ(m_parent.saves, 1);
    EXPECT_EQ(m_parent.hideRequests, 1);
}

TEST_F(ItemButtonTest, AFileItemStartsItsProgram) {
    const std::wstring helper = lhltest::BinFolder() + L"lhl_record_run.exe";
    const std::wstring marker = lhltest::BinFolder() + L"ran.txt";
    ::DeleteFileW(marker.c_str());
    m_button.SetFileItem(helper);
    m_button.LaunchItem();
    EXPECT_TRUE(lhltest::PumpUntil([&] { return lhltest::FileExists(marker); }, 20000)) << "the program did not run";
    EXPECT_EQ(m_parent.hideRequests, 1);
    ::DeleteFileW(marker.c_str());
}

TEST_F(ItemButtonTest, AFileThatCannotBeOpenedOffersToClearIt) {
    m_button.SetFileItem(ItemFolder() + L"gone.nosuchtype");
    MessageBoxAnswerer user(IDYES);
    m_button.LaunchItem();
    EXPECT_EQ(user.OnlyText(), L"Open file fail, clear it?");
    EXPECT_TRUE(m_button.IsEmptyItem());
    EXPECT_EQ(m_parent.saves, 1);
}

TEST_F(ItemButtonTest, ColourShiftsKeepTheHueAndRefuseBadArguments) {
    m_button.SetColourSlot(0, RGB(200, 100, 50));
    EXPECT_EQ(m_button.ShiftColourSlot(0, 100), kConfigOk);
    EXPECT_EQ(m_button.GetColourSlot(0), RGB(255, 155, 105)) << "limited by the brightest channel";
    EXPECT_EQ(m_button.ShiftColourSlot(0, -200), kConfigOk);
    EXPECT_EQ(m_button.GetColourSlot(0), RGB(150, 50, 0)) << "limited by the darkest channel";
    EXPECT_EQ(m_button.ShiftColourSlot(6, 1), kBadColourIndex);
    EXPECT_EQ(m_button.ShiftColourSlot(0, 256), kBadShift);
    EXPECT_EQ(m_button.SetImageLayout(5), kBadLayout);
    EXPECT_EQ(m_button.GetColourSlot(0), RGB(150, 50, 0)) << "a refused call changed the colour";
}
