// Files and text dropped on a real panel.
#include "ButtonEx.h"
#include "DialogDriver.h"
#include "DropData.h"
#include "DropTarget.h"
#include "PanelHarness.h"
#include "ShellFolder.h"
#include <atomic>
#include <thread>

using namespace lhl;

namespace {

// Offers a text in Unicode only, as editors do for text outside the ANSI code page.
class TextData : public lhltest::DropData {
public:
    explicit TextData(std::wstring text) : DropData({}), m_text(std::move(text)) {}
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format->cfFormat != CF_UNICODETEXT) return DV_E_FORMATETC;
        const size_t bytes = (m_text.size() + 1) * sizeof(wchar_t);
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(::GlobalLock(block), m_text.c_str(), bytes);
        ::GlobalUnlock(block);
        *medium = STGMEDIUM{TYMED_HGLOBAL, {}, nullptr};
        medium->hGlobal = block;
        return S_OK;
    }
    STDMETHODIMP QueryGetData(FORMATETC* format) override { return format->cfFormat == CF_UNICODETEXT ? S_OK : S_FALSE; }

private:
    std::wstring m_text;
};

class PanelDrops : public lhltest::PanelTest {
protected:
    // As in the launcher, OLE is running before the panel registers its drop target.
    void SetUp() override {
        m_bOle = SUCCEEDED(::OleInitialize(nullptr));
        PanelTest::SetUp();
    }
    void TearDown() override {
        PanelTest::TearDown();
        if (m_bOle) ::OleUninitialize();
    }

    // Drops files with the mouse over a 1-based cell (0: over the tab row).
    void DropAt(uint32_t cell, const std::vector<std::wstring>& paths) {
        POINT p = cell ? CellCentre(cell) : POINT{5, 5};
        ::ClientToScreen(PanelWindow(), &p);
        ::SetCursorPos(p.x, p.y);
        m_panel->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(lhltest::MakeDropBlock(paths)));
        Settle();
    }
    std::wstring TargetAt(uint32_t cell) {
        CButtonEx* b = Store().ButtonAtCell(cell);
        return b && !b->IsEmptyItem() ? b->GetTarget() : L"";
    }
    // A point over a 1-based cell, in screen coordinates as OLE gives it.
    POINTL ScreenPointOf(uint32_t cell) {
        POINT p = CellCentre(cell);
        ::ClientToScreen(PanelWindow(), &p);
        return POINTL{p.x, p.y};
    }
    // What the panel's own drop target answers to data dragged over a cell.
    DWORD DragOver(IDataObject* data, uint32_t cell) {
        IDropTarget* target = m_panel->DropTarget();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, MK_LBUTTON, ScreenPointOf(cell), &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(MK_LBUTTON, ScreenPointOf(cell), &effect);
        return effect;
    }

    bool m_bOle = false;
};

} // namespace

TEST_F(PanelDrops, AFileDroppedOnACellBecomesItsItemAndOnTheTabRowNothing) {
    DropAt(6, {MakeFile(L"one.txt"), MakeFile(L"two.txt"), MakeFile(L"three.txt")});
    EXPECT_EQ(TargetAt(6), MakeFile(L"one.txt")) << "only the first of three files is taken";
    EXPECT_EQ(TargetAt(1), L"");
    EXPECT_EQ(TargetAt(7), L"");
    DropAt(0, {MakeFile(L"tabs.txt")});
    for (uint32_t cell = 1; cell <= 16; ++cell) EXPECT_NE(TargetAt(cell), MakeFile(L"tabs.txt"));
    DropAt(2, {lhltest::DataFolder() + L"items\\no dot here"});
    EXPECT_EQ(TargetAt(2), lhltest::DataFolder() + L"items\\no dot here");
}

TEST_F(PanelDrops, ShortcutsMoveIntoTheShortcutFolderOnlyWhenAskedAndOnlyLowerCaseLnk) {
    const std::wstring editor = MakeFile(L"Editor.lnk");
    DropAt(1, {editor});
    EXPECT_EQ(TargetAt(1), editor) << "with the flag off the item refers to the dropped file";
    EXPECT_TRUE(lhltest::FileExists(editor));
    Config().Settings().removeShortcutFiles = 1;
    ::CreateDirectoryW(Config().ShortcutFolder().c_str(), nullptr);
    DropAt(2, {editor});
    EXPECT_EQ(TargetAt(2), Config().ShortcutFolder() + L"Editor.lnk");
    EXPECT_TRUE(lhltest::FileExists(Config().ShortcutFolder() + L"Editor.lnk")) << "the shortcut was not moved";
    EXPECT_FALSE(lhltest::FileExists(editor));
    const std::wstring notes = MakeFile(L"notes.LNK");
    DropAt(3, {notes});
    EXPECT_EQ(TargetAt(3), notes) << "\".LNK\" is not a shortcut to take over";
    EXPECT_TRUE(lhltest::FileExists(notes));
}

// A shortcut moves before its item is added, so the item names it where it is. One that cannot
// move stays an item at its own path: held open here; on Windows also a Public Desktop shortcut
// of a standard user, whose folder refuses the move just as well. One already in the launcher's
// folder, however its path is spelled, keeps its place and name.
TEST_F(PanelDrops, AShortcutThatCannotMoveAndOneAlreadyInTheFolderStayWhereTheyAre) {
    Config().Settings().removeShortcutFiles = 1;
    const std::wstring folder = Config().ShortcutFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring held = MakeFile(L"Held.lnk");
    HANDLE open = ::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    DropAt(1, {held});
    ::CloseHandle(open);
    EXPECT_EQ(TargetAt(1), held) << "the item names a place the shortcut never reached";
    EXPECT_TRUE(lhltest::FileExists(held));
    EXPECT_FALSE(lhltest::FileExists(folder + L"Held.lnk"));

    const std::wstring own = folder + L"Own.lnk";
    lhltest::WriteBytes(own, {1, 2, 3});
    std::wstring spelled = own;
    ::CharUpperBuffW(spelled.data(), static_cast<DWORD>(folder.size()));
    DropAt(2, {spelled});
    EXPECT_EQ(TargetAt(2), spelled);
    EXPECT_EQ(lhltest::ReadBytes(own), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(lhltest::FileExists(folder + L"Own (2).lnk")) << "a shortcut of the launcher's folder was renamed";
}

// Dropped on an item, a shortcut stays where the user had it until the user said the item may
// go: while the question is open nothing (a crash, a log-off) can leave it in the launcher's
// folder with no item naming it. "No" leaves both as they were.
TEST_F(PanelDrops, AShortcutDroppedOnAnItemStaysInItsPlaceWhileTheUserIsAsked) {
    Config().Settings().removeShortcutFiles = 1;
    const std::wstring folder = Config().ShortcutFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring kept = MakeFile(L"kept.txt");
    DropAt(4, {kept});
    ASSERT_EQ(TargetAt(4), kept);
    const std::wstring link = MakeFile(L"Asked.lnk");
    std::atomic<int> inPlaceWhileAsked{-1};
    std::thread user([&] {
        for (int i = 0; i < 1000 && inPlaceWhileAsked < 0; ++i) {
            HWND box = ::FindWindowW(L"#32770", L"Warning");
            if (!box || !::IsWindowVisible(box)) {
                ::Sleep(10);
                continue;
            }
            const bool inPlace = lhltest::FileExists(link) && !lhltest::FileExists(folder + L"Asked.lnk");
            inPlaceWhileAsked = inPlace ? 1 : 0;
            ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        }
    });
    DropAt(4, {link});
    user.join();
    ASSERT_NE(inPlaceWhileAsked.load(), -1) << "no question about the item in the cell";
    EXPECT_EQ(inPlaceWhileAsked.load(), 1) << "the shortcut had left its place while the user was asked";
    EXPECT_EQ(TargetAt(4), kept);
    EXPECT_TRUE(lhltest::FileExists(link));
    EXPECT_FALSE(lhltest::FileExists(folder + L"Asked.lnk"));
}

// Paths of MAX_PATH characters and more. Wine takes them in every file call; Windows only in the
// "\\?\" form, or plain once the manifest's longPathAware meets the LongPathsEnabled policy,
// and its shell not at all, so the item opens by the short form of its path. Only Windows shows
// those refusals and that opening (Wine's shell opens no shortcut this deep); here the drop and
// the shortcut's move are seen end to end.
TEST_F(PanelDrops, AShortcutDeeperThanMaxPathBecomesAnItemAndIsMovedWhole) {
    const lhltest::LongPathFile deep(lhltest::DataFolder(), 300);
    const std::wstring folder = deep.Path().substr(0, deep.Path().find_last_of(L'\\') + 1);
    const std::wstring kept = lhltest::MakeShortcutToRecorder(folder + L"Kept.lnk", L"kept");
    DropAt(1, {kept});
    EXPECT_EQ(TargetAt(1), kept) << "the deep shortcut's path was cut";

    Config().Settings().removeShortcutFiles = 1;
    ::CreateDirectoryW(Config().ShortcutFolder().c_str(), nullptr);
    const std::wstring moved = lhltest::MakeShortcutToRecorder(folder + L"Moved.lnk", L"moved");
    const std::vector<uint8_t> bytes = lhltest::ReadBytes(fw::FileSystemPath(moved));
    ASSERT_FALSE(bytes.empty());
    DropAt(2, {moved});
    EXPECT_EQ(TargetAt(2), Config().ShortcutFolder() + L"Moved.lnk");
    EXPECT_FALSE(fw::PathExists(moved)) << "the deep shortcut was not moved";
    EXPECT_EQ(lhltest::ReadBytes(Config().ShortcutFolder() + L"Moved.lnk"), bytes) << "the moved shortcut changed";
    ::DeleteFileW(fw::FileSystemPath(kept).c_str()); // the deep folders go with `deep`
}

TEST_F(PanelDrops, DroppedTextOpensTheDialogAndBecomesATextItem) {
    IDropTarget* target = m_panel->DropTarget();
    lhltest::DropData files({L"C:\\x.txt"});
    EXPECT_EQ(DragOver(&files, 5), static_cast<DWORD>(DROPEFFECT_NONE)) << "files come by WM_DROPFILES only";
    target->DragLeave();

    TextData text(L"\x4F60\x597D, dropped \x03A9");
    EXPECT_EQ(DragOver(&text, 5), static_cast<DWORD>(DROPEFFECT_COPY)) << "the cursor did not offer the drop";
    lhltest::DialogDriver user(L"Add Text Clipboard", 1004, 1061);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(&text, 0, ScreenPointOf(5), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(user.Seen()) << "the dialog did not open";
    EXPECT_EQ(user.ReadText(), L"\x4F60\x597D, dropped \x03A9") << "the dialog was not filled with the text, whole";
    ASSERT_NE(Store().ButtonAtCell(5), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(5)->GetTarget(), L"\x4F60\x597D, dropped \x03A9");
    EXPECT_EQ(Store().ButtonAtCell(5)->GetTitle(), L"Untitled");
}

TEST_F(PanelDrops, ALongPathIsDroppedWholeAndKeptWhole) {
    const lhltest::LongPathFile file(lhltest::DataFolder(), 320);
    ASSERT_GE(file.Path().size(), 320u);
    DropAt(3, {file.Path()});
    EXPECT_EQ(TargetAt(3), file.Path()) << "the dropped path was cut";
    Restart();
    EXPECT_EQ(TargetAt(3), file.Path()) << "the page file did not keep the long path";
}

// A drop record that the panel's own drop target is not forwarding is never read, even a sound
// one: the same message numbers can come from anywhere.
TEST_F(PanelDrops, DropMessagesOutsideARealDropDoNothing) {
    TextData text(L"not dropped");
    COleDropInfo record{&text, 0, DROPEFFECT_COPY, 0, CellCentre(2)};
    lhltest::DialogDriver user(L"Add Text Clipboard", 1004, IDOK);
    EXPECT_EQ(m_panel->SendMessage(UM_DROP_OVER, reinterpret_cast<WPARAM>(&record)), DROPEFFECT_NONE);
    EXPECT_EQ(m_panel->SendMessage(UM_DROP, reinterpret_cast<WPARAM>(&record)), FALSE);
    Settle();
    EXPECT_FALSE(user.Seen()) << "a record from outside a drop opened the text dialog";
    EXPECT_EQ(TargetAt(2), L"");
}

namespace {

// Faults while reading at one of the wild values below. Wine, and 64-bit Windows in some cases,
// ignore a fault in a window procedure that another thread's message called, so a panel that
// read a wild record would seem to survive it: the test watches for the fault itself.
std::atomic<int> g_wildReads{0};
constexpr WPARAM kWild[] = {1, 0x10, 0xFFFF, 0xDEADBEEF, static_cast<WPARAM>(0x7FFDEADBEEF0ull), static_cast<WPARAM>(-1)};

LONG CALLBACK CountWildReads(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const ULONG_PTR address = record->ExceptionInformation[1];
    for (WPARAM wild : kWild)
        if (address - wild < 0x100) ++g_wildReads;
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

TEST_F(PanelDrops, WildDropMessagesFromAnotherThreadAreNeverRead) {
    g_wildReads = 0;
    PVOID watcher = ::AddVectoredExceptionHandler(1, CountWildReads);
    std::atomic<bool> sent{false};
    const HWND panel = PanelWindow();
    std::thread other([&] {
        for (UINT message = UM_DROP_ENTER; message <= UM_DROP_LEAVE; ++message)
            for (WPARAM value : kWild) ::SendMessageTimeoutW(panel, message, value, 0, SMTO_NORMAL, 5000, nullptr);
        sent = true;
    });
    lhltest::PumpUntil([&] { return sent.load(); }, 60000);
    other.join();
    ::RemoveVectoredExceptionHandler(watcher);
    EXPECT_EQ(g_wildReads.load(), 0) << "the panel read memory at a wild drop record";
    for (uint32_t cell = 1; cell <= 16; ++cell) EXPECT_EQ(TargetAt(cell), L"");
}
