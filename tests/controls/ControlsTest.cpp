// The owner-drawn controls with real windows: what they paint, how they answer the mouse, their
// context menu, and that painting frees what it creates.
#include "BtnTab.h"
#include "ButtonLook.h"
#include "ColorStatic.h"
#include "IndexButton.h"
#include "LauncherConfig.h"
#include "PanelMessages.h"
#include "TestSupport.h"
#include "resource.h"

using namespace lhl;

namespace {

// A panel stand-in: a visible window with the strip control 1078, that counts what its
// buttons send.
class Parent : public fw::CWnd {
public:
    int clicks = 0;
    int rightPresses = 0;
    int switches = 0;
    WPARAM switchedTo = 0;
    LPARAM switchFlag = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++clicks;
        if (msg == WM_RBUTTONDOWN && wParam == 0 && lParam == 0) ++rightPresses;
        if (msg == UM_SWITCH_PAGE) {
            ++switches;
            switchedTo = wParam;
            switchFlag = lParam;
            return 0;
        }
        if (msg == WM_SYSCOMMAND && lParam == kHideAfterLaunch) return 0;
        return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
};

// Lets a pixel test light a button without moving the mouse.
class LitButton : public CButtonEx {
public:
    void Light() { m_bHot = true; }
};

class ControlsTest : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        m_config.Settings().soundEnabled = 0;
        ASSERT_TRUE(m_parent.CreateEx(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, RECT{100, 100, 500, 400}, nullptr, 0));
        m_strip = ::CreateWindowExW(0, L"STATIC", L"click here to minimize", WS_CHILD | WS_VISIBLE, 0, 280, 400, 20,
                                    m_parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STRIP)), nullptr, nullptr);
        ASSERT_TRUE(m_button.Create(L"", WS_CHILD | WS_VISIBLE, RECT{10, 30, 90, 110}, m_parent.m_hWnd, 500));
        m_button.SetConfig(&m_config);
        Pump();
    }
    static void Pump() {
        lhltest::PumpUntil([] { return false; }, 50);
    }
    std::wstring Strip() const {
        wchar_t text[300] = {};
        ::GetWindowTextW(m_strip, text, 300);
        return text;
    }
    // Moves the real mouse over a point of the button and lets it see the move.
    void HoverAt(fw::CWnd& control, int x, int y, WPARAM keys = 0) {
        POINT p{x, y};
        ::ClientToScreen(control.m_hWnd, &p);
        ::SetCursorPos(p.x, p.y);
        control.SendMessage(WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    }
    // A button holding a file item painted as it rests, then lit as under the mouse.
    struct FlatAndHot {
        std::vector<COLORREF> flat, hot;
        int w = 0, h = 0;
    };
    FlatAndHot RenderFlatAndHot(LitButton& button) {
        button.SetFileItem(L"C:\\windows\\system32\\notepad.exe");
        ::UpdateWindow(m_parent.m_hWnd);
        FlatAndHot pair;
        pair.flat = Render(button, pair.w, pair.h);
        button.Light();
        pair.hot = Render(button, pair.w, pair.h);
        return pair;
    }
    // The control's own painting, into a bitmap of its size.
    static std::vector<COLORREF> Render(fw::CWnd& control, int& width, int& height) {
        const RECT rc = control.GetClientRect();
        width = rc.right;
        height = rc.bottom;
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        control.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = ::GetPixel(dc, x, y);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
        return pixels;
    }

    LauncherConfig m_config;
    Parent m_parent;
    HWND m_strip = nullptr;
    CButtonEx m_button;
};

} // namespace

TEST_F(ControlsTest, ButtonsDrawThemselvesInsteadOfTheSystem) {
    EXPECT_EQ(::GetWindowLongPtrW(m_button.m_hWnd, GWL_STYLE) & 0x0F, BS_OWNERDRAW);
    CButtonEx defaultButton;
    defaultButton.Create(L"", WS_CHILD | BS_DEFPUSHBUTTON, RECT{0, 0, 10, 10}, m_parent.m_hWnd, 501);
    EXPECT_TRUE(defaultButton.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    m_button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(::GetWindowLongPtrW(m_button.m_hWnd, GWL_STYLE) & 0x0F, BS_OWNERDRAW) << "BM_SETSTYLE undid the owner draw";
}

TEST_F(ControlsTest, HoverLightsTheButtonAndNamesItsTargetInTheStrip) {
    m_button.SetFileItem(L"C:\\windows\\system32\\notepad.exe");
    HoverAt(m_button, 40, 40, MK_LBUTTON);
    EXPECT_FALSE(m_button.IsHot()) << "dragging in with the left button held lit the button";
    HoverAt(m_button, 40, 40);
    EXPECT_TRUE(m_button.IsHot());
    EXPECT_EQ(Strip(), L"Open: C:\\windows\\system32\\notepad.exe");
    m_button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(m_button.IsHot());
    EXPECT_EQ(Strip(), L"click here to minimize");
    m_button.ResetButton();
    m_button.ShowWindow(SW_SHOW);
    m_button.SetTextItem(L"t", L"clip me");
    HoverAt(m_button, 41, 41);
    EXPECT_EQ(Strip(), L"Set Clipboard: clip me");
}

TEST_F(ControlsTest, TheHotButtonCastsAShadowWithItsFactors) {
    // Hidden until painted, so the copy it takes of the panel is the panel's own background.
    LitButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD, RECT{200, 150, 280, 230}, m_parent.m_hWnd, 502));
    const FlatAndHot pair = RenderFlatAndHot(button);
    const std::vector<COLORREF>&flat = pair.flat, &hot = pair.hot;
    const int w = pair.w, h = pair.h;
    auto at = [w](const std::vector<COLORREF>& p, int x, int y) { return p[static_cast<size_t>(y) * w + x]; };
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(at(hot, 30, h - 4 + k), Darken(at(flat, 30, h - 4 + k), kShadowEdge[k])) << "bottom row " << k;
        EXPECT_EQ(at(hot, w - 4 + k, 30), Darken(at(flat, w - 4 + k, 30), kShadowEdge[k])) << "right column " << k;
    }
    EXPECT_EQ(at(hot, w - 4, h - 4), Darken(at(flat, w - 4, h - 4), kShadowCorner[0]));
    EXPECT_EQ(at(hot, w - 1, h - 1), Darken(at(flat, w - 1, h - 1), kShadowCorner[6]));
    EXPECT_EQ(at(hot, w - 4, 5), Darken(at(flat, w - 4, 5), kShadowCorner[0])) << "top right corner";
    EXPECT_EQ(at(hot, 2, 2), at(flat, 2, 2)) << "the top left stays the panel's own pixels";
}

// On a 200 % screen the shadow keeps its four shades, each two pixels wide, and the lifted face
// moves up and left by the wider shadow.
TEST_F(ControlsTest, AtTwiceTheScalingTheShadowAndTheLiftAreTwiceAsWide) {
    LitButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD, RECT{100, 40, 260, 200}, m_parent.m_hWnd, 503));
    button.SetDpi(192);
    const FlatAndHot pair = RenderFlatAndHot(button);
    const std::vector<COLORREF>&flat = pair.flat, &hot = pair.hot;
    const int w = pair.w, h = pair.h;
    auto at = [w](const std::vector<COLORREF>& p, int x, int y) { return p[static_cast<size_t>(y) * w + x]; };
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(at(hot, 60, h - 8 + k), Darken(at(flat, 60, h - 8 + k), kShadowEdge[k / 2])) << "bottom row " << k;
        EXPECT_EQ(at(hot, w - 8 + k, 60), Darken(at(flat, w - 8 + k, 60), kShadowEdge[k / 2])) << "right column " << k;
    }
    // The first column of the icon, found in its rows against the face's own colour (the lit
    // button's raised edge runs along the first column and row).
    auto iconLeft = [&](const std::vector<COLORREF>& p) {
        const COLORREF face = at(flat, 1, 1);
        for (int x = 2; x < w / 2; ++x)
            for (int y = 2; y < h / 2; ++y)
                if (at(p, x, y) != face) return x;
        return -1;
    };
    ASSERT_GT(iconLeft(flat), 8) << "no icon was drawn";
    EXPECT_EQ(iconLeft(flat) - iconLeft(hot), 8) << "the lifted icon did not move by the scaled shadow";
}

TEST_F(ControlsTest, ADoubleClickGivesTwoClicks) {
    m_button.SetTextItem(L"t", L"clicked text"); // a click copies it; nothing to ask
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    m_button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(m_parent.clicks, 2);
}

TEST_F(ControlsTest, TheMenuOffersEveryPageButTheShownOneAndMoveToSendsTheItem) {
    m_config.m_pageTitles = {L"1", L"Work", L"Games"};
    m_config.m_shownPage = 0;
    m_button.SetFileItem(L"C:\\tools\\app.exe");
    HMENU menu = m_button.BuildContextMenu();
    ASSERT_EQ(::GetMenuItemCount(menu), 8);
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, 7, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Propeties") << "the built-in label, as it always was";
    EXPECT_EQ(::GetMenuItemID(menu, 1), ID_ITEM_OPEN_FOLDER);
    HMENU pages = ::GetSubMenu(menu, 5);
    ASSERT_EQ(::GetMenuItemCount(pages), 3);
    EXPECT_TRUE(::GetMenuState(pages, 40000, MF_BYCOMMAND) & MF_GRAYED) << "the shown page must be grey";
    EXPECT_FALSE(::GetMenuState(pages, 40001, MF_BYCOMMAND) & MF_GRAYED);
    ::GetMenuStringW(pages, 2, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Games");
    ::DestroyMenu(menu);

    m_button.ResetButton();
    m_button.SetTextItem(L"t", L"x");
    menu = m_button.BuildContextMenu();
    EXPECT_EQ(::GetMenuItemCount(menu), 7) << "Open Containing Folder is for files only";
    ::DestroyMenu(menu);

    m_button.PostMessage(WM_COMMAND, 40002);
    Pump();
    EXPECT_EQ(m_parent.switches, 1);
    EXPECT_EQ(m_parent.switchedTo, 3u);
    EXPECT_EQ(m_parent.switchFlag, 1);
    EXPECT_EQ(m_config.m_movingKind, 2u);
    EXPECT_EQ(m_config.m_movingTarget, L"x");
    EXPECT_TRUE(m_button.IsEmptyItem());
    EXPECT_FALSE(::IsWindowEnabled(m_button.m_hWnd));
}

TEST_F(ControlsTest, TabsPaintTheirTextureAndTwoBuildsDiffer) {
    CIndexButton tab;
    ASSERT_TRUE(tab.Create(L"Work", WS_CHILD | WS_VISIBLE, RECT{100, 0, 160, 20}, m_parent.m_hWnd, 101));
    tab.SetPageNumber(2);
    tab.SetPageColours(RGB(64, 128, 128), RGB(192, 192, 192), RGB(0, 0, 200), RGB(0, 0, 0));
    tab.BuildBackground(6, 33, 10, 0, 0);
    const CCeXDib& normal = tab.NormalImage();
    ASSERT_EQ(normal.Width(), 60);
    int w = 0, h = 0;
    const std::vector<COLORREF> pixels = Render(tab, w, h);
    // Row y on screen is row h - 1 - y of the bottom-up image.
    const uint8_t index = normal.PixelRows()[static_cast<size_t>(h - 1 - 2) * normal.RowBytes() + 2];
    const RGBQUAD entry = normal.PaletteEntry(index);
    EXPECT_EQ(pixels[2 * static_cast<size_t>(w) + 2], RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue)) << "texture not drawn";
    const RGBQUAD hot = tab.HotImage().PaletteEntry(index);
    const COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);
    EXPECT_EQ(hot.rgbRed, (entry.rgbRed * 90 + GetRValue(light) * 10) / 100) << "the hot copy is blended 10 percent";

    std::vector<uint8_t> first(normal.PixelRows(), normal.PixelRows() + normal.RowBytes() * normal.Height());
    tab.BuildBackground(6, 33, 10, 0, 0);
    std::vector<uint8_t> second(normal.PixelRows(), normal.PixelRows() + normal.RowBytes() * normal.Height());
    EXPECT_NE(first, second) << "two textures with the same colours must differ in their noise";
}

TEST_F(ControlsTest, ARightPressOnTheCurrentTabReachesThePanelAndAClickSwitches) {
    CIndexButton current, other;
    ASSERT_TRUE(current.Create(L"1", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, m_parent.m_hWnd, 101));
    ASSERT_TRUE(other.Create(L"2", WS_CHILD | WS_VISIBLE, RECT{50, 0, 100, 20}, m_parent.m_hWnd, 102));
    current.SetPageNumber(1);
    current.SetCurrentMark(1);
    other.SetPageNumber(2);
    other.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(m_parent.rightPresses, 0) << "a tab that is not current has no menu";
    current.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(m_parent.rightPresses, 1);

    other.SetTip(L"my page");
    m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(102, BN_CLICKED), reinterpret_cast<LPARAM>(other.m_hWnd));
    EXPECT_EQ(m_parent.switches, 1);
    EXPECT_EQ(m_parent.switchedTo, 2u);
    EXPECT_EQ(m_parent.switchFlag, 0);
    EXPECT_EQ(other.TooltipText(), L"my page") << "the click gives the tip again";
}

TEST_F(ControlsTest, TheStripAndColourSamplesUseTheirColours) {
    CColorStatic strip;
    ASSERT_TRUE(strip.SubclassWindow(m_strip));
    HDC dc = ::GetDC(m_strip);
    const LRESULT brush = m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_strip));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(::GetTextColor(dc), RGB(37, 95, 220));
    ::ReleaseDC(m_strip, dc);
    strip.UnsubclassWindow();

    CBtnTab sample;
    ASSERT_TRUE(sample.Create(L"Aa", WS_CHILD | WS_VISIBLE, RECT{200, 30, 260, 60}, m_parent.m_hWnd, 1037));
    for (int slot : {0, 2, 4}) sample.SetColourSlot(slot, RGB(10, 200, 30));
    COLORREF read = 0;
    EXPECT_EQ(sample.GetColourSlot(2, read), 0);
    EXPECT_EQ(read, RGB(10, 200, 30));
    EXPECT_EQ(sample.GetColourSlot(6, read), kBadColourIndex);
    int w = 0, h = 0;
    EXPECT_EQ(Render(sample, w, h)[1 * static_cast<size_t>(w) + 1], RGB(10, 200, 30)) << "the face shows the sample colour";
}

TEST_F(ControlsTest, PaintingFreesEverythingItCreates) {
    const DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (gdi == 0) GTEST_SKIP() << "Wine does not count a process's GDI objects; this check runs on Windows";
    m_button.SetFileItem(L"C:\\windows\\system32\\notepad.exe");
    CIndexButton tab;
    tab.Create(L"1", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, m_parent.m_hWnd, 101);
    tab.BuildBackground(6, 33, 10, 0, 0);
    int w = 0, h = 0;
    Render(m_button, w, h);
    Render(tab, w, h); // the first paints make the kept parent copy and the cached section
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 300; ++i) {
        Render(m_button, w, h);
        Render(tab, w, h);
    }
    EXPECT_EQ(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), before) << "painting leaks GDI objects";
}
