// The page files byte by byte, the loader's rules, and damaged files.
#include "ByteCodec.h"
#include "PageCodec.h"
#include <gtest/gtest.h>

using namespace lhl;

namespace {

// Reads a file field by field so expectations read like the layout tables.
struct Fields {
    explicit Fields(const std::vector<uint8_t>& bytes, size_t offset = 256) : in(bytes, offset) {}
    uint32_t U32() {
        uint32_t v = 0xDEADBEEF;
        EXPECT_TRUE(in.U32(v)) << "the file ends early";
        return v;
    }
    std::wstring String() {
        const uint32_t n = U32();
        std::wstring text;
        EXPECT_TRUE(in.Chars(n, n, text));
        return text;
    }
    ByteReader in;
};

std::vector<uint8_t> Header(uint32_t word1, uint32_t word2) {
    ByteWriter out;
    out.PadTo(256);
    out.PutU32At(0, 19790826);
    out.PutU32At(4, word1);
    out.PutU32At(8, word2);
    return out.Take();
}

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(PageCodec, FreshInstallFilesHoldOnePageAndNoItems) {
    PageGroup group;
    group.fileName = L"pages_info_2010_3_7_9_5_30.dat";
    group.pages.push_back(LauncherPage{0x808040, 0xC0C0C0, 0x0000C8, 0, L"1", L""});
    const std::vector<uint8_t> index = EncodeIndex(1, {group});
    Fields f(index, 0);
    EXPECT_EQ(f.U32(), 19790826u) << "magic";
    EXPECT_EQ(f.U32(), 1u) << "page count";
    EXPECT_EQ(f.U32(), 1u) << "group count";
    for (int i = 0; i < 61; ++i) ASSERT_EQ(f.U32(), 0u) << "header padding word " << i;
    EXPECT_EQ(f.U32(), 0u) << "reserved";
    EXPECT_EQ(f.String(), L"pages_info_2010_3_7_9_5_30.dat");
    EXPECT_EQ(f.U32(), 1u) << "pages in the group";
    EXPECT_EQ(f.String(), L"1") << "title";
    EXPECT_EQ(f.String(), L"") << "tip";
    EXPECT_EQ(f.U32(), 0x808040u);
    EXPECT_EQ(f.U32(), 0xC0C0C0u);
    EXPECT_EQ(f.U32(), 0x0000C8u);
    EXPECT_EQ(f.U32(), 0u);
    EXPECT_EQ(f.U32(), 255u) << "group end";
    EXPECT_EQ(f.U32(), 255u) << "file end";
    EXPECT_TRUE(f.in.AtEnd());

    EXPECT_EQ(EncodePageFile(0, 1, {}), Join(Header(0, 1), {255, 0, 0, 0})) << "header with first 0, end 1, end marker";
}

TEST(PageCodec, EachItemKindHasItsOwnRecord) {
    const PageItems items = {
        {kKindFile, 3, L"ignored for files", L"C:\\a.exe"},
        {kKindClipboardText, 1, L"Greeting", L"hello"},
        {kKindLink, 7, L"Site", L"example.org"},
        {kKindNone, 0, L"", L""},
    };
    const std::vector<uint8_t> bytes = EncodePageFile(2, 3, {&items});
    Fields f(bytes, 4);
    EXPECT_EQ(f.U32(), 2u) << "first";
    EXPECT_EQ(f.U32(), 3u) << "end";
    Fields r(bytes);
    EXPECT_EQ(r.U32(), 4u) << "record count";
    EXPECT_EQ(r.U32(), 1u); EXPECT_EQ(r.U32(), 3u); EXPECT_EQ(r.String(), L"C:\\a.exe") << "a File record stores only its target";
    EXPECT_EQ(r.U32(), 255u);
    EXPECT_EQ(r.U32(), 2u); EXPECT_EQ(r.U32(), 1u); EXPECT_EQ(r.String(), L"Greeting"); EXPECT_EQ(r.String(), L"hello");
    EXPECT_EQ(r.U32(), 255u);
    EXPECT_EQ(r.U32(), 3u); EXPECT_EQ(r.U32(), 7u); EXPECT_EQ(r.String(), L"Site"); EXPECT_EQ(r.String(), L"example.org");
    EXPECT_EQ(r.U32(), 255u);
    EXPECT_EQ(r.U32(), 0u); EXPECT_EQ(r.U32(), 0u) << "an empty record is kind and cell only";
    EXPECT_EQ(r.U32(), 255u) << "file end";
    EXPECT_TRUE(r.in.AtEnd());
}

TEST(PageCodec, LoadingDropsEmptyRecordsAndSecondRecordsForACell) {
    const PageItems saved = {
        {kKindFile, 5, L"", L"C:\\five.txt"},
        {kKindFile, 2, L"", L"C:\\two.txt"},
        {}, {}, {},
        {kKindFile, 5, L"", L"C:\\second for five.txt"},
        {kKindLink, 0, L"unplaced", L"x.org"},
    };
    std::vector<PageItems> pages;
    ASSERT_EQ(DecodePageFile(EncodePageFile(0, 1, {&saved}), pages), PageFileStatus::Read);
    ASSERT_EQ(pages.size(), 1u);
    const PageItems expected = {saved[0], saved[1], saved[6]};
    EXPECT_EQ(pages[0], expected);
}

TEST(PageCodec, PagesTheFileDoesNotHoldLoadEmpty) {
    const PageItems one = {{kKindFile, 1, L"", L"C:\\x"}};
    std::vector<PageItems> pages;
    ASSERT_EQ(DecodePageFile(EncodePageFile(5, 8, {&one}), pages), PageFileStatus::Read);
    ASSERT_EQ(pages.size(), 3u) << "one list per page of the range";
    EXPECT_EQ(pages[0], one);
    EXPECT_TRUE(pages[1].empty());
    EXPECT_TRUE(pages[2].empty());
    ASSERT_EQ(DecodePageFile(Header(0, 2), pages), PageFileStatus::Read) << "no end marker at all";
    EXPECT_EQ(pages.size(), 2u);
}

TEST(PageCodec, ARangeOfNoneOrMoreThan255PagesIsIgnored) {
    std::vector<PageItems> pages{{}};
    EXPECT_EQ(DecodePageFile(Join(Header(4, 4), {255, 0, 0, 0}), pages), PageFileStatus::Ignored);
    EXPECT_EQ(DecodePageFile(Join(Header(0, 256), {255, 0, 0, 0}), pages), PageFileStatus::Ignored);
    EXPECT_EQ(DecodePageFile(Join(Header(9, 2), {255, 0, 0, 0}), pages), PageFileStatus::Ignored) << "end before first";
    EXPECT_EQ(DecodePageFile(Join(Header(0, 255), {255, 0, 0, 0}), pages), PageFileStatus::Read);
}

TEST(PageCodec, DamagedPageFilesAreRefused) {
    ByteWriter hugeCount;
    hugeCount.U32(0x10000000);
    ByteWriter longString;
    longString.U32(1); longString.U32(1); longString.U32(1); longString.U32(70000);
    longString.Chars(std::wstring(70000, L'a'));
    longString.U32(255);
    ByteWriter cutRecord;
    cutRecord.U32(1); cutRecord.U32(1); cutRecord.U32(4); cutRecord.U32(100); cutRecord.Chars(L"C:\\");
    const std::vector<std::vector<uint8_t>> damaged = {
        {}, std::vector<uint8_t>(100, 1),
        Join(Header(0, 1), hugeCount.Take()),
        Join(Header(0, 1), longString.Take()),
        Join(Header(0, 1), cutRecord.Take()),
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        std::vector<PageItems> pages;
        EXPECT_EQ(DecodePageFile(damaged[i], pages), PageFileStatus::Damaged) << "case " << i;
    }
}

TEST(PageCodec, IndexRoundTripAndDamage) {
    PageGroup a, b;
    a.fileName = L"pages_info_2026_12_9_10_0_0.dat";
    a.pages = {LauncherPage{1, 2, 3, 4, L"Work", L"work things"}, LauncherPage{5, 6, 7, 8, L"", L""}};
    b.fileName = L"pages_info_2026_12_9_10_0_0_2.dat";
    b.reserved = 7;
    b.pages = {LauncherPage{9, 10, 11, 12, L"Games", L""}};
    IndexFile read;
    ASSERT_TRUE(DecodeIndex(EncodeIndex(3, {a, b}), read));
    EXPECT_EQ(read.pageCount, 3u);
    ASSERT_EQ(read.groups.size(), 2u);
    EXPECT_EQ(read.groups[0].pages, a.pages);
    EXPECT_EQ(read.groups[1].fileName, b.fileName);
    EXPECT_EQ(read.groups[1].reserved, 7u) << "reserved is kept unchanged";

    std::vector<uint8_t> lyingCount = EncodeIndex(3, {a, b});
    lyingCount[8] = 200; // 200 groups
    std::vector<uint8_t> truncated = EncodeIndex(3, {a, b});
    truncated.resize(truncated.size() - 30);
    IndexFile untouched;
    EXPECT_FALSE(DecodeIndex(lyingCount, untouched));
    EXPECT_FALSE(DecodeIndex(truncated, untouched));
    EXPECT_FALSE(DecodeIndex(EncodeIndex(5, {a, b}), untouched)) << "5 tabs but 3 page records";
    EXPECT_FALSE(DecodeIndex({1, 2, 3}, untouched));
    EXPECT_TRUE(untouched.groups.empty()) << "a refused file changed the result";
}

TEST(PageCodec, LongFileNamesInTheIndexAreCutTo260) {
    PageGroup g;
    g.fileName = std::wstring(300, L'n');
    g.pages = {LauncherPage{}};
    IndexFile read;
    ASSERT_TRUE(DecodeIndex(EncodeIndex(1, {g}), read));
    EXPECT_EQ(read.groups[0].fileName.size(), 260u);
}

TEST(PageCodec, AnIndexNamingAnythingButPlainFilesOfItsOwnIsDamaged) {
    const auto indexNaming = [](std::vector<std::wstring> names) {
        std::vector<PageGroup> groups;
        for (const std::wstring& name : names) {
            PageGroup g;
            g.fileName = name;
            g.pages = {LauncherPage{}};
            groups.push_back(g);
        }
        return EncodeIndex(static_cast<uint32_t>(groups.size()), groups);
    };
    IndexFile read;
    EXPECT_TRUE(DecodeIndex(indexNaming({L"pages_info_1.dat", L"my pages (old).dat", L"console.dat", L"com10.dat"}), read));
    // Groups made within one second by an older version share a name; the store sorts them out.
    EXPECT_TRUE(DecodeIndex(indexNaming({L"a.dat", L"A.dat"}), read));
    const std::vector<std::vector<std::wstring>> refused = {
        {L"..\\x.dat"}, {L"C:\\x.dat"}, {L"sub\\x.dat"}, {L"sub/x.dat"}, {L"x.dat:hidden"}, {L"C:x.dat"},
        {L""}, {L"."}, {L".."}, {L"x.dat."}, {L"x.dat "}, {std::wstring(L"x\x01.dat")}, {L"x?.dat"},
        {L"pages_info.dat"}, {L"PAGES_INFO.DAT"}, {L"pages_info.dat_bak"}, {L"Lanternhop_LauncherConfig.dat"}, {L"NUL.dat"}, {L"com1"}, {L"Lpt9.dat"},
    };
    for (const std::vector<std::wstring>& names : refused) {
        IndexFile untouched;
        EXPECT_FALSE(DecodeIndex(indexNaming(names), untouched)) << "accepted a group file named \"" << std::string(names.back().begin(), names.back().end()) << "\"";
    }
}
