// The Ctrl-twice and gesture decisions with exact ticks and points, and the library's exports.
#include "Gestures.h"
#include "TestSupport.h"

using qt::CtrlTwiceDetector;
using qt::GestureDetector;

TEST(CtrlTwice, TwoReleasesWithin500msNotifyAnd501DoNot) {
    CtrlTwiceDetector d;
    EXPECT_FALSE(d.OnKeyRelease(true, 10000));
    EXPECT_TRUE(d.OnKeyRelease(true, 10500)) << "500 ms apart is still twice";
    EXPECT_FALSE(d.OnKeyRelease(true, 20000));
    EXPECT_FALSE(d.OnKeyRelease(true, 20501)) << "501 ms apart is too slow";
    EXPECT_FALSE(d.OnKeyRelease(true, 20600)) << "the late release started nothing: this is a new first one";
    EXPECT_TRUE(d.OnKeyRelease(true, 20700));
}

TEST(CtrlTwice, AnotherKeyBetweenStartsOver) {
    CtrlTwiceDetector d;
    d.OnKeyRelease(true, 1000);
    EXPECT_FALSE(d.OnKeyRelease(false, 1100));
    EXPECT_FALSE(d.OnKeyRelease(true, 1200));
    EXPECT_TRUE(d.OnKeyRelease(true, 1300));
}

TEST(CtrlTwice, TheTickCounterWrappingAroundStillMeasuresTheGap) {
    CtrlTwiceDetector d;
    d.OnKeyRelease(true, 0xFFFFFF00u);
    EXPECT_TRUE(d.OnKeyRelease(true, 0x00000010u)) << "0x110 ms apart across the wrap";
}

namespace {
bool Stroke(size_t points, int dx, int dy) {
    GestureDetector g;
    g.OnRightDown({100, 100});
    for (size_t i = 1; i < points; ++i) {
        const int step = static_cast<int>(i);
        g.OnMove({100 + dx * step / static_cast<int>(points - 1), 100 + dy * step / static_cast<int>(points - 1)});
    }
    return g.OnRightUp();
}
} // namespace

TEST(Gesture, ThirtyTwoPointsRightOrDownNotify) {
    EXPECT_FALSE(Stroke(31, 200, 200)) << "31 points, the down point included, is too short";
    EXPECT_TRUE(Stroke(32, 200, 200));
    EXPECT_TRUE(Stroke(40, 200, 0)) << "straight right";
    EXPECT_TRUE(Stroke(40, 0, 200)) << "straight down";
    EXPECT_FALSE(Stroke(40, -1, 200)) << "ends left of its start";
    EXPECT_FALSE(Stroke(40, 200, -1)) << "ends above its start";
}

TEST(Gesture, MovesWithoutTheRightButtonAreNotRecorded) {
    GestureDetector g;
    for (int i = 0; i < 50; ++i) g.OnMove({i, i});
    EXPECT_FALSE(g.OnRightUp());
    g.OnRightDown({0, 0});
    for (int i = 0; i < 40; ++i) g.OnMove({i, i});
    EXPECT_TRUE(g.OnRightUp());
    EXPECT_FALSE(g.Recording());
    EXPECT_FALSE(g.OnRightUp()) << "a second release without a press";
}

TEST(HookLibrary, ExportsHaveTheirOrdinalsAndRemoveIsRegister) {
    HMODULE library = ::LoadLibraryW((lhltest::BinFolder() + L"QuenvidTools.dll").c_str());
    ASSERT_NE(library, nullptr);
    const char* names[] = {"DisableUseOtherHotKey", "RegisterMenuSentToMe", "RemoveMenuSentToMe", "SetMouseCapture",
                           "SetUseOtherHotKey"};
    for (int ordinal = 1; ordinal <= 5; ++ordinal) {
        FARPROC byOrdinal = ::GetProcAddress(library, MAKEINTRESOURCEA(ordinal));
        EXPECT_NE(byOrdinal, nullptr) << "ordinal " << ordinal;
        EXPECT_EQ(byOrdinal, ::GetProcAddress(library, names[ordinal - 1])) << names[ordinal - 1];
    }
    EXPECT_EQ(::GetProcAddress(library, MAKEINTRESOURCEA(2)), ::GetProcAddress(library, MAKEINTRESOURCEA(3)));
    using SetUseFn = int(__cdecl*)(HWND);
    using CaptureFn = int(__cdecl*)(HWND, BOOL);
    using DisableFn = int(__cdecl*)();
    auto setUse = reinterpret_cast<SetUseFn>(reinterpret_cast<void*>(::GetProcAddress(library, "SetUseOtherHotKey")));
    auto capture = reinterpret_cast<CaptureFn>(reinterpret_cast<void*>(::GetProcAddress(library, "SetMouseCapture")));
    auto disable = reinterpret_cast<DisableFn>(reinterpret_cast<void*>(::GetProcAddress(library, "DisableUseOtherHotKey")));
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(setUse(window), 1);
    EXPECT_EQ(capture(window, TRUE), 1);
    EXPECT_EQ(capture(window, TRUE), 1);
    EXPECT_EQ(capture(window, FALSE), 1);
    EXPECT_EQ(disable(), 1);
    ::DestroyWindow(window);
    ::FreeLibrary(library);
}
