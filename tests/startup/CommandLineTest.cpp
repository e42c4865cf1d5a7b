// What the launcher makes of the command-line tail it is started with.
#include "CommandLine.h"
#include "PathLimit.h"
#include <gtest/gtest.h>

using namespace lhl;

namespace {
const std::wstring kInstalled = L"C:\\Users\\x\\AppData\\Local\\Programs\\Lanternhop Launcher\\Lanternhop Launcher.exe";
}

// An unquoted start takes the program name up to the first blank; the rest becomes the tail.
TEST(CommandLineTail, TheRestOfTheProgramsOwnUnquotedPathIsNoPath) {
    EXPECT_TRUE(IsOwnPathRemnant(L"Launcher\\Lanternhop Launcher.exe", kInstalled));
    EXPECT_TRUE(IsOwnPathRemnant(L"Launcher.exe", kInstalled));
    EXPECT_TRUE(IsOwnPathRemnant(L"launcher\\LANTERNHOP launcher.EXE", kInstalled)) << "paths know no case";
    EXPECT_TRUE(IsOwnPathRemnant(L"Launcher\\Lanternhop Launcher", kInstalled)) << "started without \".exe\"";
    EXPECT_TRUE(IsOwnPathRemnant(L"Launcher.exe  ", kInstalled));
    EXPECT_TRUE(IsOwnPathRemnant(L"Files\\Lanternhop Launcher\\Lanternhop Launcher.exe",
                                 L"C:\\Program Files\\Lanternhop Launcher\\Lanternhop Launcher.exe"));

    EXPECT_FALSE(IsOwnPathRemnant(L"", kInstalled));
    EXPECT_FALSE(IsOwnPathRemnant(kInstalled, kInstalled)) << "the program's own full path is a real request";
    EXPECT_FALSE(IsOwnPathRemnant(L"auncher.exe", kInstalled)) << "not after a blank";
    EXPECT_FALSE(IsOwnPathRemnant(L"Launcher.exe", L"C:\\Tools\\Launcher.exe"));
    EXPECT_FALSE(IsOwnPathRemnant(L"D:\\My Files\\Launcher.exe", kInstalled));
}

TEST(CommandLineTail, OneQuotedStringLosesItsQuotesAnythingElseIsTakenWhole) {
    EXPECT_EQ(PathFromCommandLine(L"\"D:\\My Files\\a b.txt\"", kInstalled), L"D:\\My Files\\a b.txt");
    EXPECT_EQ(PathFromCommandLine(L"\"D:\\My Files\\a b.txt\"  ", kInstalled), L"D:\\My Files\\a b.txt");
    EXPECT_EQ(PathFromCommandLine(L"D:\\My Files\\a b.txt", kInstalled), L"D:\\My Files\\a b.txt");
    EXPECT_EQ(PathFromCommandLine(L"\"D:\\a\" \"D:\\b\"", kInstalled), L"\"D:\\a\" \"D:\\b\"");
    EXPECT_EQ(PathFromCommandLine(L"\"D:\\a", kInstalled), L"\"D:\\a");
    EXPECT_EQ(PathFromCommandLine(L"D:\\a\"", kInstalled), L"D:\\a\"");
    EXPECT_EQ(PathFromCommandLine(L"\"\"", kInstalled), L"");
    EXPECT_EQ(PathFromCommandLine(L"Launcher\\Lanternhop Launcher.exe", kInstalled), L"");
    EXPECT_EQ(PathFromCommandLine(L"\"Launcher\\Lanternhop Launcher.exe\"", kInstalled), L"Launcher\\Lanternhop Launcher.exe")
        << "a quoted tail was given on purpose";
}

TEST(CommandLineTail, APathLongerThanWindowsAllowsIsRefusedNotCut) {
    const std::wstring longest = L"C:\\" + std::wstring(kMaxPathChars - 3, L'p');
    EXPECT_EQ(PathFromCommandLine(longest, kInstalled), longest);
    EXPECT_EQ(PathFromCommandLine(longest + L'p', kInstalled), L"");
    EXPECT_EQ(PathFromCommandLine(L"\"" + longest + L"\"", kInstalled), longest);
}
