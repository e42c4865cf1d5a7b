// The matcher behind type to find: ranks, their order, and what counts as the same letter.
#include "ItemFinder.h"
#include <gtest/gtest.h>

using namespace lhl;

namespace {

// The titles of the matches, best first.
std::vector<std::wstring> TitlesFound(const ItemFinder& finder, const std::wstring& query) {
    std::vector<std::wstring> titles;
    for (const FoundItem& found : finder.Find(query)) titles.push_back(finder.Item(found.index).title);
    return titles;
}

} // namespace

TEST(ItemFinder, RanksTitleStartThenWordStartThenTitleThenTarget) {
    ItemFinder finder;
    finder.SetItems({
        {0, 1, L"Piano", L"piano.exe"},
        {0, 2, L"My notes", L"notes.txt"},
        {0, 3, L"Site", L"http://nowhere.example"},
        {0, 4, L"Nomad", L"nomad.exe"},
        {0, 5, L"C:\\Tools\\note-book", L"x"},
        {0, 6, L"Other", L"other"},
    });
    const std::vector<std::wstring> expected{L"Nomad", L"My notes", L"C:\\Tools\\note-book", L"Piano", L"Site"};
    EXPECT_EQ(TitlesFound(finder, L"no"), expected) << "a word begins after a space or a backslash too";
    const std::vector<FoundItem> found = finder.Find(L"no");
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0].rank, kTitleStarts);
    EXPECT_EQ(found[3].rank, kTitleContains);
    EXPECT_EQ(found[4].rank, kTargetContains);
    EXPECT_TRUE(finder.Find(L"").empty()) << "an empty query showed items";
    EXPECT_TRUE(finder.Find(L"zz").empty());
}

TEST(ItemFinder, EqualRanksKeepPageThenCellOrderWhateverOrderTheyCameIn) {
    ItemFinder finder;
    finder.SetItems({
        {2, 1, L"app three", L""},
        {0, 9, L"app one b", L""},
        {1, 4, L"app two", L""},
        {0, 2, L"app one a", L""},
    });
    const std::vector<std::wstring> expected{L"app one a", L"app one b", L"app two", L"app three"};
    EXPECT_EQ(TitlesFound(finder, L"APP"), expected);
}

TEST(ItemFinder, CaseAndAccentsAreOneLetterAndChineseIsFoundInside) {
    ItemFinder finder;
    finder.SetItems({
        {0, 1, L"Caf\u00E9 Cr\u00E8me", L""},
        {0, 2, L"R\u00C9SUM\u00C9", L""},
        {0, 3, L"\u8BB0\u4E8B\u672C\u7A0B\u5E8F", L""}, // "notepad program"
        {0, 4, L"\u00C5ngstr\u00F6m", L""},
    });
    EXPECT_EQ(TitlesFound(finder, L"CAFE CREME"), std::vector<std::wstring>{L"Caf\u00E9 Cr\u00E8me"});
    EXPECT_EQ(TitlesFound(finder, L"r\u00E9sum"), std::vector<std::wstring>{L"R\u00C9SUM\u00C9"});
    EXPECT_EQ(TitlesFound(finder, L"resume"), std::vector<std::wstring>{L"R\u00C9SUM\u00C9"});
    EXPECT_EQ(TitlesFound(finder, L"angstrom"), std::vector<std::wstring>{L"\u00C5ngstr\u00F6m"});
    const std::vector<FoundItem> chinese = finder.Find(L"\u4E8B\u672C");
    ASSERT_EQ(chinese.size(), 1u) << "a Chinese title was not found by a part of it";
    EXPECT_EQ(chinese[0].rank, kTitleContains);
}
