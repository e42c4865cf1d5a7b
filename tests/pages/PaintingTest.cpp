// What item buttons and page tabs paint over: the panel's own background at their place, after
// a page switch with the page tint, after a move to another cell, and after the tabs widen.
#include "ButtonEx.h"
#include "FindView.h"
#include "Handles.h"
#include "IndexButton.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "Snapshot.h"

using namespace lhl;

namespace {

using lhltest::Snapshot;

class Painting : public lhltest::PanelTest {
protected:
    void PutAt(uint32_t cell, const std::wstring& path) {
        const POINT p = CellCentre(cell);
        ASSERT_TRUE(Store().AddFileItemAt(p.x, p.y, path));
        Settle();
    }
    void PaintNow() {
        ::RedrawWindow(PanelWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Settle();
    }
    // A corner of the button, where neither icon nor caption is drawn, against the panel's own
    // background at the same place.
    void ExpectButtonShowsPanelBehindIt(uint32_t cell, const char* when) {
        ExpectShowsPanelBehindIt(Store().ButtonAtCell(cell), when);
    }
    void ExpectShowsPanelBehindIt(const CButtonEx* button, const char* when) {
        ASSERT_NE(button, nullptr) << when;
        RECT place = button->GetWindowRect();
        ::MapWindowPoints(HWND_DESKTOP, PanelWindow(), reinterpret_cast<POINT*>(&place), 2);
        const Snapshot panel(PanelWindow(), WM_ERASEBKGND);
        const Snapshot face(button->m_hWnd, WM_PRINTCLIENT);
        for (POINT corner : {POINT{1, 1}, POINT{place.right - place.left - 12, 1}}) {
            const POINT onPanel{place.left + corner.x, place.top + corner.y};
            EXPECT_EQ(face.At(corner), panel.At(onPanel))
                << when << ": the button shows pixels from somewhere else at (" << corner.x << ", " << corner.y << ")";
        }
    }
};

TEST_F(Painting, WithThePageTintAButtonShowsTheNewPagesColourAfterASwitch) {
    RestartWith([](ConfigSettings& s) {
        s.changeBackgroundOnSwitch = 1;
        s.useBackgroundImage = 0;
    });
    Store().SetPageProperties(L"1", L"", RGB(200, 30, 30), RGB(200, 200, 200), 0, 0);
    PutAt(6, MakeFile(L"red.txt"));
    Config().SaveCurrentPageAside();
    Store().AddPage();
    Config().RestoreCurrentPage();
    SwitchTo(2);
    Store().SetPageProperties(L"2", L"", RGB(30, 30, 200), RGB(200, 200, 200), 0, 0);
    PutAt(6, MakeFile(L"blue.txt"));
    SwitchTo(1);
    PaintNow();
    ExpectButtonShowsPanelBehindIt(6, "page 1");
    SwitchTo(2);
    PaintNow();
    ExpectButtonShowsPanelBehindIt(6, "after switching to page 2");
}

TEST_F(Painting, WithThePageTintAMatchShowsTheColourOfThePageShownBehindIt) {
    RestartWith([](ConfigSettings& s) {
        s.changeBackgroundOnSwitch = 1;
        s.useBackgroundImage = 0;
    });
    Store().SetPageProperties(L"1", L"", RGB(200, 30, 30), RGB(200, 200, 200), 0, 0);
    PutAt(6, MakeFile(L"redfile.txt"));
    Config().SaveCurrentPageAside();
    Store().AddPage();
    Config().RestoreCurrentPage();
    SwitchTo(2);
    Store().SetPageProperties(L"2", L"", RGB(30, 30, 200), RGB(200, 200, 200), 0, 0);
    PutAt(6, MakeFile(L"bluefile.txt"));
    CFindView& find = *m_panel->Find();
    auto query = [&](const wchar_t* text) {
        for (const wchar_t* ch = text; *ch; ++ch) {
            MSG msg{};
            msg.hwnd = PanelWindow();
            msg.message = WM_CHAR;
            msg.wParam = *ch;
            m_panel->HandleLoopMessage(msg);
        }
        PaintNow();
    };
    SwitchTo(1);
    query(L"file");
    ASSERT_EQ(find.ShownCount(), 2u);
    ExpectShowsPanelBehindIt(find.ShownButton(0), "a query on the red page");
    find.End();
    SwitchTo(2);
    query(L"file");
    ExpectShowsPanelBehindIt(find.ShownButton(0), "the next query on the blue page");
    ExpectShowsPanelBehindIt(find.ShownButton(1), "the next query on the blue page");
}

TEST_F(Painting, AButtonMovedToAnotherCellShowsThePictureOfItsNewPlace) {
    const std::wstring picture = lhltest::DataFolder() + L"gradient.bmp";
    lhltest::WriteGradientBitmap(picture, 256, 256);
    RestartWith([&](ConfigSettings& s) {
        s.useBackgroundImage = 1;
        s.backgroundImage = picture;
    });
    PutAt(1, MakeFile(L"first.txt"));
    PutAt(11, MakeFile(L"far.txt"));
    PaintNow();
    ExpectButtonShowsPanelBehindIt(11, "before the move");
    Store().AlignItems(); // the item in cell 11 moves up to cell 2
    Settle();
    PaintNow();
    ExpectButtonShowsPanelBehindIt(2, "after Align");
    const POINT to = CellCentre(16);
    Store().MoveItemTo(to.x, to.y, Store().ButtonAtCell(2));
    Settle();
    PaintNow();
    ExpectButtonShowsPanelBehindIt(16, "after Move");
    // A cleared button waits, detached, to be taken for the next item wherever that lands.
    Store().ButtonAtCell(1)->DeleteItem();
    Settle();
    PutAt(9, MakeFile(L"reused.txt"));
    PaintNow();
    ExpectButtonShowsPanelBehindIt(9, "a cleared button reused in another cell");
}

TEST_F(Painting, TabsThatWidenAfterDeletedPagesGetATextureOfTheirNewSize) {
    for (int i = 0; i < 12; ++i) {
        Config().SaveCurrentPageAside();
        Store().AddPage();
        Config().RestoreCurrentPage();
    }
    for (int i = 0; i < 10; ++i) {
        SwitchTo(Store().GetPageCount());
        Store().DeletePage();
        Settle();
    }
    ASSERT_EQ(Store().GetPageCount(), 3u);
    for (const PageTab& tab : Store().Tabs()) {
        ASSERT_NE(tab.button, nullptr);
        const RECT rc = tab.button->GetWindowRect();
        EXPECT_EQ(tab.button->NormalImage().Width(), rc.right - rc.left) << "a texture narrower than its tab";
        EXPECT_EQ(tab.button->HotImage().Width(), rc.right - rc.left);
    }
}

} // namespace

// On a screen of another scaling every button is somewhere else and larger: what it copied of the
// panel's picture before must not show there.
TEST_F(Painting, AfterADpiChangeButtonsShowThePictureOfTheirNewPlace) {
    const std::wstring picture = lhltest::DataFolder() + L"gradient.bmp";
    lhltest::WriteGradientBitmap(picture, 256, 256);
    RestartWith([&](ConfigSettings& s) {
        s.useBackgroundImage = 1;
        s.backgroundImage = picture;
    });
    PutAt(6, MakeFile(L"six.txt"));
    PaintNow();
    ExpectButtonShowsPanelBehindIt(6, "at 96 DPI");
    ChangeDpi(144, 20, 20);
    PaintNow();
    ExpectButtonShowsPanelBehindIt(6, "at 144 DPI");
    const RECT client = m_panel->GetClientRect();
    BITMAP info{};
    ::GetObjectW(m_panel->Background(), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, client.right) << "the picture was not decoded again at the panel's new size";
}
