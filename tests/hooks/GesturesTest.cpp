// The Ctrl-twice and gesture decisions with exact ticks and points.
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

TEST(Gesture, OnlyWhereTheStrokeStartsAndEndsDecides) {
    GestureDetector g;
    g.OnRightDown({500, 500});
    for (int i = 1; i <= 100; ++i) g.OnMove({500 - i * 3, 500 - i}); // far up and left first
    for (int i = 1; i <= 100; ++i) g.OnMove({200 + i * 4, 400 + i * 2});
    EXPECT_TRUE(g.OnRightUp()) << "the stroke ends below and right of its start";
    g.OnRightDown({500, 500});
    for (int i = 1; i <= 100000; ++i) g.OnMove({500 + i % 7, 500 + i % 5});
    g.OnMove({499, 600});
    EXPECT_FALSE(g.OnRightUp()) << "a long stroke that ends one pixel left of its start";
}

// Windows lets only the process that set a hook remove it while it lives, and removes it by
// itself when that process's hook thread ends; Wine lets any process remove any hook, so only
// the decision can be seen here. A live hook of another process is never removed from here.
TEST(HookClaim, ALiveHookOfAnotherProcessIsAskedForAndAGoneOwnersHandleForgotten) {
    using qt::ClaimHook;
    using qt::HookClaim;
    EXPECT_EQ(ClaimHook(false, false, false), HookClaim::Install);
    EXPECT_EQ(ClaimHook(true, true, true), HookClaim::AlreadyOurs) << "a second call would set a second hook";
    EXPECT_EQ(ClaimHook(true, false, true), HookClaim::AskOwner);
    EXPECT_EQ(ClaimHook(true, false, false), HookClaim::ForgetStale);
}

// Windows' foreground lock: AllowSetForegroundWindow works only when called by the process that
// has the foreground (or may take it); from any other process it is refused. Wine has no such
// lock, so the decision is what can be checked.
TEST(ForegroundGrant, OnlyTheForegroundProcessGrantsAndOnlyToAnotherProcess) {
    EXPECT_EQ(qt::ForegroundGrantee(40, 40, 7), 7u) << "the keyboard hook inside the program in front";
    EXPECT_EQ(qt::ForegroundGrantee(40, 7, 7), 0u) << "the mouse hook runs in the launcher itself";
    EXPECT_EQ(qt::ForegroundGrantee(40, 55, 7), 0u) << "a program that is not in front";
    EXPECT_EQ(qt::ForegroundGrantee(0, 0, 7), 0u) << "nothing in front";
    EXPECT_EQ(qt::ForegroundGrantee(40, 40, 0), 0u) << "no panel";
}
