// The HWND-to-object link and message reflection, with real windows.
#include "Wnd.h"
#include <gtest/gtest.h>
#include <commctrl.h>

namespace {

class Parent : public fw::CWnd {
public:
    int commands = 0;
    int destroyed = 0;

protected:
    bool OnCommand(WORD id, WORD, HWND) override {
        if (id == 77) ++commands;
        return id == 77;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY) ++destroyed;
        return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
};

class ReflectingButton : public fw::CWnd {
public:
    int clicks = 0;
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    ~ReflectingButton() override { ::DeleteObject(brush); }

protected:
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            return true;
        }
        if (msg == WM_CTLCOLORBTN) {
            *result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        return false;
    }
};

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

} // namespace

TEST(Wnd, ObjectsAreFoundFromTheirWindowsUntilTheWindowGoes) {
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"parent", WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0));
    EXPECT_EQ(fw::CWnd::FromHandle(parent.m_hWnd), &parent);
    HWND hWnd = parent.m_hWnd;
    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(parent.destroyed, 1) << "WM_DESTROY did not reach the object";
    EXPECT_EQ(parent.m_hWnd, nullptr) << "the object still thinks it has a window";
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(fw::CWnd::FromHandle(nullptr), nullptr);
}

TEST(Wnd, AWindowCarriesOneObjectAndAnUnlinkedOneIsLeftAlone) {
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    {
        fw::CWnd first, second;
        EXPECT_TRUE(first.SubclassWindow(plain));
        EXPECT_FALSE(second.SubclassWindow(plain)) << "two objects on one window";
        EXPECT_EQ(first.UnsubclassWindow(), plain);
        EXPECT_EQ(fw::CWnd::FromHandle(plain), nullptr);
        EXPECT_TRUE(second.SubclassWindow(plain));
    }
    EXPECT_TRUE(::IsWindow(plain)) << "an object destroyed a window it did not create";
    EXPECT_EQ(fw::CWnd::FromHandle(plain), nullptr) << "a dead object is still linked";
    ::DestroyWindow(plain);
    {
        fw::CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, L"STATIC", L"", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
        plain = owner.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(plain)) << "an object left its own window behind";
}

TEST(Wnd, ControlsHandleTheirOwnNotificationsThroughReflection) {
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"parent", WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0));
    ReflectingButton button;
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, Rect(0, 0, 50, 20), parent.m_hWnd, 1234));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(button.clicks, 1) << "the click did not come back to the button";
    EXPECT_EQ(parent.commands, 0);

    const LRESULT brush = parent.SendMessage(WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(button.brush));

    parent.SendMessage(WM_COMMAND, MAKEWPARAM(77, 0), 0);
    EXPECT_EQ(parent.commands, 1) << "a menu command did not reach the parent";
}
