// Damaged data: valid index, page, settings and hand-off files mutated in thousands of seeded
// ways (bit flips, truncations at every length, inflated counts and lengths, swapped blocks) and
// fed to the readers. None may crash; each either reads a state that holds together or refuses
// the file, so the caller falls back to the backup copy or the defaults.
#include "ButtonEx.h"
#include "ConfigCodec.h"
#include "DataFile.h"
#include "HandOff.h"
#include "PageCodec.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "Program.h"
#include <functional>
#include <random>
#include <set>

using namespace lhl;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ValidIndex() {
    std::vector<PageGroup> groups(2);
    for (int p = 0; p < 5; ++p) groups[0].pages.push_back(LauncherPage{0x808040, 0xC0C0C0, 0xFF, 0, L"Page " + std::to_wstring(p), L"tip"});
    groups[0].fileName = L"pages_info_20261209_1.dat";
    groups[1].pages.push_back(LauncherPage{1, 2, 3, 4, L"Last", L""});
    groups[1].fileName = L"pages_info_20261209_2.dat";
    return EncodeIndex(6, groups);
}

Bytes ValidPageFile() {
    std::vector<PageItems> pages(3);
    for (uint32_t cell = 1; cell <= 12; ++cell)
        pages[0].push_back(LauncherItem{kKindFile, cell, L"", L"C:\\Tools\\tool" + std::to_wstring(cell) + L".exe"});
    pages[1].push_back(LauncherItem{kKindClipboardText, 3, L"Greeting", L"Hello, \x4E16\x754C"});
    pages[1].push_back(LauncherItem{kKindLink, 9, L"Site", L"https://lanternhop.example/"});
    std::vector<const PageItems*> blocks{&pages[0], &pages[1], &pages[2]};
    return EncodePageFile(0, 3, blocks);
}

Bytes ValidConfig() {
    ConfigSettings settings;
    settings.dimension = 296;
    settings.unitsPerRow = 6;
    settings.backgroundImage = L"C:\\Pictures\\calm.bmp";
    settings.windowRect = RECT{10, 20, 306, 336};
    return EncodeConfig(settings);
}

Bytes ValidHandOff() { return EncodeHandOff(L"C:\\Users\\me\\Documents\\report.docx"); }

// One damaged copy of `valid`, chosen by the seeded generator.
Bytes Mutate(const Bytes& valid, std::mt19937& random) {
    Bytes bytes = valid;
    const auto pick = [&](size_t n) { return n ? static_cast<size_t>(random() % n) : 0; };
    switch (random() % 4) {
    case 0: // bit flips
        for (int i = 1 + pick(8); i > 0 && !bytes.empty(); --i) bytes[pick(bytes.size())] ^= static_cast<uint8_t>(1u << pick(8));
        break;
    case 1: // a truncation
        bytes.resize(pick(bytes.size()));
        break;
    case 2: { // an inflated count or length in an aligned word
        static const uint32_t wild[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 65537u, 1000000u, 256u, 255u, 17u};
        if (bytes.size() < 4) break;
        const size_t at = pick(bytes.size() / 4) * 4;
        const uint32_t value = wild[pick(8)];
        for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<uint8_t>(value >> (8 * b));
        break;
    }
    default: { // two blocks swapped
        if (bytes.size() < 8) break;
        const size_t length = 1 + pick(bytes.size() / 4);
        const size_t a = pick(bytes.size() - length), b = pick(bytes.size() - length);
        for (size_t i = 0; i < length; ++i) std::swap(bytes[a + i], bytes[b + i]);
        break;
    }
    }
    return bytes;
}

// What a reader made of a file must hold together: limits kept, and written back and read
// again it gives the same bytes.
// Each check tells whether the reader accepted the file.
bool CheckIndex(const Bytes& bytes) {
    IndexFile index;
    if (!DecodeIndex(bytes, index)) return false;
    size_t pages = 0;
    for (const PageGroup& group : index.groups) {
        pages += group.pages.size();
        EXPECT_LE(group.fileName.size(), kMaxFileNameChars);
    }
    EXPECT_EQ(pages, index.pageCount);
    const Bytes again = EncodeIndex(index.pageCount, index.groups);
    IndexFile second;
    EXPECT_TRUE(DecodeIndex(again, second));
    EXPECT_EQ(EncodeIndex(second.pageCount, second.groups), again);
    return true;
}

bool CheckPageFile(const Bytes& bytes) {
    std::vector<PageItems> pages;
    if (DecodePageFile(bytes, pages) != PageFileStatus::Read) return false;
    EXPECT_LE(pages.size(), kMaxPagesPerFile);
    for (const PageItems& items : pages) {
        std::set<uint32_t> cells;
        for (const LauncherItem& item : items) {
            EXPECT_FALSE(item.IsEmptyRecord());
            if (item.cell) {
                EXPECT_TRUE(cells.insert(item.cell).second) << "two records for one cell";
            }
        }
    }
    return true;
}

bool CheckConfig(const Bytes& bytes) {
    ConfigSettings settings;
    if (!DecodeConfig(bytes, settings)) return false;
    EXPECT_LE(settings.hotKeyName.size(), kMaxHotKeyNameChars);
    EXPECT_LE(settings.backgroundImage.size(), kMaxBackgroundChars);
    const Bytes again = EncodeConfig(settings);
    ConfigSettings second;
    EXPECT_TRUE(DecodeConfig(again, second));
    EXPECT_EQ(EncodeConfig(second), again);
    return true;
}

// The hand-off reader has no refusal: it yields at most 260 characters without a zero.
bool CheckHandOff(const Bytes& bytes) {
    const std::wstring text = DecodeHandOff(bytes);
    EXPECT_LE(text.size(), kMaxHandOffChars);
    EXPECT_EQ(text.find(L'\0'), std::wstring::npos);
    return !text.empty();
}

struct Reader {
    const char* name;
    Bytes valid;
    std::function<bool(const Bytes&)> check;
};

std::vector<Reader> Readers() {
    return {{"index", ValidIndex(), CheckIndex},
            {"page file", ValidPageFile(), CheckPageFile},
            {"settings", ValidConfig(), CheckConfig},
            {"hand-off", ValidHandOff(), CheckHandOff}};
}

} // namespace

TEST(DamagedData, EveryTruncationIsReadOrRefused) {
    for (const Reader& reader : Readers()) {
        SCOPED_TRACE(reader.name);
        EXPECT_TRUE(reader.check(reader.valid)) << "the valid file was refused";
        for (size_t length = 0; length < reader.valid.size(); ++length) {
            reader.check(Bytes(reader.valid.begin(), reader.valid.begin() + static_cast<long>(length)));
            if (::testing::Test::HasFailure()) return;
        }
    }
}

TEST(DamagedData, TenThousandSeededMutationsAreReadOrRefused) {
    std::mt19937 random(20261209);
    const std::vector<Reader> readers = Readers();
    int cases = 0;
    std::vector<int> accepted(readers.size(), 0);
    for (int round = 0; round < 3000; ++round) {
        for (size_t r = 0; r < readers.size(); ++r) {
            const Bytes damaged = Mutate(readers[r].valid, random);
            accepted[r] += readers[r].check(damaged) ? 1 : 0;
            ++cases;
            if (::testing::Test::HasFailure()) {
                ADD_FAILURE() << readers[r].name << " case " << cases << " of seed 20261209";
                return;
            }
        }
    }
    EXPECT_GE(cases, 10000);
    // Both outcomes must occur, or the campaign would only ever exercise one of them.
    for (size_t r = 0; r < readers.size(); ++r) {
        EXPECT_GT(accepted[r], 0) << readers[r].name << ": every damaged file was refused";
        EXPECT_LT(accepted[r], 3000) << readers[r].name << ": no damaged file was refused";
    }
}

namespace {

// The launcher started on damaged files still shows its panel.
class DamagedStart : public lhltest::CleanLauncherState {
protected:
    void StartAndSeePanel() {
        lhltest::Program launcher;
        ASSERT_TRUE(launcher.Start(lhltest::kLauncherExe));
        HWND panel = launcher.WaitForWindow(L"#32770", L"Lanternhop Launcher", 20000);
        ASSERT_NE(panel, nullptr) << "no panel on damaged data";
        EXPECT_TRUE(lhltest::PumpUntil([panel] { return ::IsWindowVisible(panel) != FALSE; }, 20000));
        ::PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_TRUE(launcher.WaitForExit(20000));
    }
    static void Write(const wchar_t* name, const Bytes& bytes) { lhltest::WriteBytes(lhltest::DataFolder() + name, bytes); }
};

} // namespace

TEST_F(DamagedStart, WildCountsInEveryFileStillShowThePanel) {
    lhltest::WriteTestSettings();
    Bytes index = ValidIndex();
    for (size_t at = 256; at + 4 <= index.size(); at += 4) index[at] = index[at + 1] = index[at + 2] = index[at + 3] = 0xFF;
    Write(L"pages_info.dat", index);
    Write(L"pages_info_20261209_1.dat", Bytes(300, 0xFF));
    Bytes config = ValidConfig();
    for (size_t at = 256; at < config.size(); ++at) config[at] = 0xFF;
    Write(L"Lanternhop_LauncherConfig.dat", config);
    StartAndSeePanel();
}

TEST_F(DamagedStart, TruncatedFilesAndTheirBackupsStillShowThePanel) {
    lhltest::WriteTestSettings();
    const Bytes index = ValidIndex();
    Write(L"pages_info.dat", Bytes(index.begin(), index.begin() + 300));
    Write(L"pages_info.dat_bak", Bytes(index.begin(), index.begin() + 7));
    const Bytes page = ValidPageFile();
    Write(L"pages_info_20261209_1.dat", Bytes(page.begin(), page.begin() + static_cast<long>(page.size() / 2)));
    Write(L"Lanternhop_LauncherConfig.dat", Bytes(3, 0x12));
    Write(L"Lanternhop_LauncherConfig.dat_bak", Bytes());
    StartAndSeePanel();
}

namespace {

std::wstring ShortNameOf(const std::wstring& path) {
    wchar_t shortPath[MAX_PATH + 1] = {};
    if (!::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH)) return L"";
    const std::wstring full = shortPath;
    return full.substr(full.find_last_of(L'\\') + 1);
}

class ForeignPageFileNames : public lhltest::CleanLauncherState {};

} // namespace

// An index that names, as a group's page file, another file of the data folder: by its name
// (the hand-off file, a backup, a console device) or by a second name of it (the 8.3 alias of
// the settings, or of another group's page file). No page save may write such a file.
TEST_F(ForeignPageFileNames, ArePlainlyRefusedOrGiveTheGroupAFileOfItsOwn) {
    for (const wchar_t* name : {L"tmp_swap.dat", L"CONIN$", L"conout$.dat", L"pages_info_20261209_1.dat_bak"}) {
        std::vector<PageGroup> groups(1);
        groups[0].pages.resize(1);
        groups[0].fileName = name;
        IndexFile index;
        EXPECT_FALSE(DecodeIndex(EncodeIndex(1, groups), index)) << "a page file named " << name << " was taken";
    }

    lhltest::WriteTestSettings();
    const std::wstring folder = lhltest::DataFolder();
    const std::wstring settings = folder + kConfigFileName;
    const std::wstring ownName = L"pages_info_20261209_with_a_long_name.dat";
    const PageItems own{LauncherItem{kKindFile, 1, L"", L"C:\\own item.txt"}};
    lhltest::WriteBytes(folder + ownName, EncodePageFile(0, 1, {&own}));
    const std::wstring settingsAlias = ShortNameOf(settings), ownAlias = ShortNameOf(folder + ownName);
    ASSERT_FALSE(SameFileName(settingsAlias, kConfigFileName)) << "no 8.3 alias: " << settingsAlias;
    ASSERT_FALSE(SameFileName(ownAlias, ownName)) << "no 8.3 alias: " << ownAlias;
    std::vector<PageGroup> groups(3);
    for (PageGroup& group : groups) group.pages.resize(1);
    groups[0].fileName = ownName;
    groups[1].fileName = ownAlias;
    groups[2].fileName = settingsAlias;
    lhltest::WriteBytes(folder + kIndexFileName, EncodeIndex(3, groups));
    const Bytes settingsBefore = lhltest::ReadBytes(settings);

    CLanternhopDlg panel;
    ASSERT_TRUE(panel.Create());
    ASSERT_NE(panel.Store()->ButtonAtCell(1), nullptr) << "the group's own file was not read";
    for (uint32_t page : {2u, 3u}) {
        ::SendMessageW(panel.m_hWnd, UM_SWITCH_PAGE, page, 0);
        ASSERT_EQ(panel.Store()->GetCurrentPage(), page - 1);
        const CButtonEx* first = panel.Store()->ButtonAtCell(1);
        EXPECT_TRUE(!first || first->IsEmptyItem()) << "page " << page << " showed another file's items";
        panel.Store()->AddFileItem(L"C:\\added on page " + std::to_wstring(page) + L".txt");
    }
    EXPECT_EQ(lhltest::ReadBytes(settings), settingsBefore) << "a page save wrote the settings by their short name";
    std::vector<PageItems> pages;
    ASSERT_EQ(DecodePageFile(lhltest::ReadBytes(folder + ownName), pages), PageFileStatus::Read);
    EXPECT_EQ(pages, std::vector<PageItems>{own}) << "another group's save went into the first group's file";
    IndexFile index;
    ASSERT_TRUE(DecodeIndex(lhltest::ReadBytes(folder + kIndexFileName), index));
    ASSERT_EQ(index.groups.size(), 3u);
    std::set<std::wstring> files;
    for (const PageGroup& group : index.groups) {
        EXPECT_TRUE(IsLongNameOfItsFile(folder + group.fileName)) << "still known by an alias: " << group.fileName;
        std::wstring upper = group.fileName;
        ::CharUpperW(upper.data());
        files.insert(upper);
    }
    EXPECT_EQ(files.size(), 3u) << "two groups share one file";
    panel.DestroyWindow();
}
