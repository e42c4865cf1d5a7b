// Files and text dropped on a real panel.
#include "ButtonEx.h"
#include "DialogDriver.h"
#include "DropData.h"
#include "DropTarget.h"
#include "PanelHarness.h"

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

TEST_F(PanelDrops, DroppedTextOpensTheDialogAndBecomesATextItem) {
    TextData text(L"\x4F60\x597D, dropped \x03A9");
    COleDropInfo textOver{&text, 0, 0, 0, {}};
    EXPECT_EQ(m_panel->SendMessage(UM_DROP_OVER, reinterpret_cast<WPARAM>(&textOver)), DROPEFFECT_COPY);
    lhltest::DropData files({L"C:\\x.txt"});
    COleDropInfo filesOver{&files, 0, 0, 0, {}};
    EXPECT_EQ(m_panel->SendMessage(UM_DROP_OVER, reinterpret_cast<WPARAM>(&filesOver)), DROPEFFECT_NONE) << "files come by WM_DROPFILES only";
    EXPECT_EQ(m_panel->SendMessage(UM_DROP_EX, reinterpret_cast<WPARAM>(&filesOver)), -1);
    const POINT cell = CellCentre(5);
    COleDropInfo drop{&text, 0, DROPEFFECT_COPY, 0, cell};
    lhltest::DialogDriver user(L"Add Text Clipboard", 1004, 1061);
    EXPECT_EQ(m_panel->SendMessage(UM_DROP, reinterpret_cast<WPARAM>(&drop)), TRUE);
    EXPECT_TRUE(user.Seen()) << "the dialog did not open";
    EXPECT_EQ(user.ReadText(), L"\x4F60\x597D, dropped \x03A9") << "the dialog was not filled with the text, whole";
    ASSERT_NE(Store().ButtonAtCell(5), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(5)->GetTarget(), L"\x4F60\x597D, dropped \x03A9");
    EXPECT_EQ(Store().ButtonAtCell(5)->GetTitle(), L"Untitled");
}
