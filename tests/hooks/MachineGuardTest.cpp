// The rule by which tests that change the machine decide whether they may run here.
#include "TestSupport.h"

using lhltest::MachineFacts;
using lhltest::MayChangeThisMachine;

TEST(MachineGuard, OnlyAFreshWinePrefixOrAWindowsMachineMarkedDisposableByNameMayBeChanged) {
    MachineFacts wine;
    wine.wine = true;
    EXPECT_FALSE(MayChangeThisMachine(wine)) << "someone's own Wine setup";
    wine.winePrefixMark = true;
    EXPECT_TRUE(MayChangeThisMachine(wine));

    MachineFacts windows;
    windows.computerName = L"TESTVM-07";
    EXPECT_FALSE(MayChangeThisMachine(windows)) << "a user's own Windows";
    windows.winePrefixMark = true;
    EXPECT_FALSE(MayChangeThisMachine(windows)) << "the Wine run's mark means nothing on Windows";
    windows.disposableMark = true;
    EXPECT_FALSE(MayChangeThisMachine(windows)) << "an empty mark names no machine";
    windows.disposableText = L"OTHER-PC";
    EXPECT_FALSE(MayChangeThisMachine(windows)) << "a mark carried over from another machine";
    windows.disposableText = L"testvm-07 ";
    EXPECT_TRUE(MayChangeThisMachine(windows)) << "as `echo %COMPUTERNAME%>` writes it, in any case";
}
