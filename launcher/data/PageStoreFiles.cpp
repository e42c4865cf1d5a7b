// Loading and saving the pages: "pages_info.dat", the page files of the groups, the shown
// page's index in the registry, and the items of a first run.
#include "ButtonEx.h"
#include "LanguageKeys.h"
#include "ByteCodec.h"
#include "DataFile.h"
#include "LanguageTable.h"
#include "LanternhopApp.h"
#include "LauncherConfig.h"
#include "Module.h"
#include "PageCodec.h"
#include "PageStore.h"
#include "RegKey.h"
#include "ShellFolder.h"
#include "ShortcutFiles.h"
#include "resource.h"
#include <algorithm>

namespace lhl {

struct ReadGroupFile {
    bool read = false;       // a usable file: its item lists are below
    uint32_t fileFirst = 0;  // the first page the file says it holds
    std::vector<PageItems> pages;
};

namespace {

constexpr REGSAM kKeyAccess = 0x2001F;
constexpr uint32_t kNoIndex = 65534;
constexpr int kNothingUsable = 3;
// Far beyond 17 pages of 256 items with long paths; a larger file is damaged.
constexpr size_t kDataFileLimit = 64u * 1024 * 1024;

bool ReadPageFile(const std::wstring& path, ReadGroupFile& file) {
    std::vector<uint8_t> bytes;
    if (!ReadDataFile(path, bytes, kDataFileLimit)) return false;
    const PageFileStatus status = DecodePageFile(bytes, file.pages);
    file.read = status == PageFileStatus::Read;
    file.fileFirst = bytes.size() >= 8 ? ByteReader(bytes).U32At(4) : 0;
    return status != PageFileStatus::Damaged;
}

} // namespace

std::wstring PageStore::DataPath(const std::wstring& name) const {
    return fw::WithTrailingBackslash(m_pConfig->DataFolder()) + name;
}

int PageStore::SavePagesInfo() {
    ++m_nChanges;
    return ReplaceDataFile(DataPath(kIndexFileName), EncodeIndex(GetPageCount(), m_groups)) ? 0 : 1;
}

int PageStore::SavePage(uint32_t index) {
    size_t group = 0;
    uint32_t first = 0;
    if (!FindGroupOf(index, group, first)) return 1;
    return WriteGroupFile(group, first);
}

// The shown page's records, rebuilt from its buttons in button order and padded with empty
// records to the count the page had. Empty buttons leave the grid. Should more buttons hold
// items than the page had records, the records grow: no item is ever dropped here.
void PageStore::RebuildShownRecords(uint32_t page) {
    PageItems& records = m_pageItems[page];
    const size_t count = records.size();
    PageItems rebuilt;
    for (PlacedButton& placed : m_buttons) {
        if (!placed.button || placed.cell == 0) continue;
        if (placed.button->IsEmptyItem()) {
            if (placed.cell <= m_cells.size()) m_cells[placed.cell - 1].hasButton = false;
            placed.cell = 0;
            continue;
        }
        rebuilt.push_back(ItemOfButton(*placed.button, placed.cell));
    }
    // Items beyond a grid made smaller have no button; they stay, in their cells, for the day
    // the grid grows again.
    for (const LauncherItem& record : records)
        if (record.HoldsItem() && record.cell > m_cells.size()) rebuilt.push_back(record);
    if (rebuilt.size() < count) rebuilt.resize(count);
    records = std::move(rebuilt);
}

int PageStore::WriteGroupFile(size_t group, uint32_t first) {
    ++m_nChanges;
    const uint32_t end = first + static_cast<uint32_t>(m_groups[group].pages.size());
    if (m_nCurrentPage >= first && m_nCurrentPage < end && m_nCurrentPage < m_pageItems.size())
        RebuildShownRecords(m_nCurrentPage);
    std::vector<const PageItems*> blocks;
    for (uint32_t i = first; i < end && i < m_pageItems.size(); ++i) blocks.push_back(&m_pageItems[i]);
    return ReplaceDataFile(DataPath(m_groups[group].fileName), EncodePageFile(first, end, blocks)) ? 0 : 1;
}

// The index file, or with the user's consent its backup; false when neither can be used.
// `whole` tells whether the index file itself was read.
bool PageStore::ReadIndexFile(IndexFile& index, bool& whole) {
    std::vector<uint8_t> bytes;
    const std::wstring path = DataPath(kIndexFileName);
    whole = ReadDataFile(path, bytes, kDataFileLimit) && DecodeIndex(bytes, index);
    if (whole) return true;
    index = IndexFile{};
    if (!ReadDataFile(path + kBackupSuffix, bytes, kDataFileLimit) || !DecodeIndex(bytes, index)) return false;
    LanguageTable* table = m_pConfig->GetLanguageTable();
    return ::MessageBoxW(m_hParent, TextOf(table, texts::kLastCorrectSetting).c_str(),
                         TextOf(table, texts::kWarningExclaimed).c_str(), MB_YESNO) == IDYES;
}

int PageStore::LoadPages() {
    IndexFile index;
    m_bReadWhole = false;
    bool indexWhole = false;
    if (!ReadIndexFile(index, indexWhole) || index.pageCount == 0) return kNothingUsable;
    m_nCurrentPage = ReadCurrentIndex();
    // An index the pages do not reach (65534 when the key is missing) shows the first page.
    if (m_nCurrentPage >= index.pageCount) m_nCurrentPage = 0;
    m_pConfig->m_moveSourcePage = m_nCurrentPage;
    m_groups = std::move(index.groups);
    m_tabs.resize(1);
    RebuildTitleList();
    ReadPageFiles();
    m_bReadWhole = m_bReadWhole && indexWhole;
    return 0;
}

// Each group's lists go to its own pages, whatever happened to the other groups' files.
void PageStore::ReadPageFiles() {
    ++m_nChanges;
    std::vector<ReadGroupFile> files(m_groups.size());
    std::vector<uint32_t> firsts;
    uint32_t pages = 0;
    std::vector<size_t> aliases;
    bool whole = true;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        const std::wstring path = DataPath(m_groups[g].fileName);
        // A short alias of another file (the settings, the index, another group's file) is
        // neither read nor ever written: the group gets a file of its own, its pages empty.
        if (!IsLongNameOfItsFile(path)) {
            aliases.push_back(g);
        } else if (!ReadPageFile(path, files[g])) {
            whole = false;
            ReadPageFile(path + kBackupSuffix, files[g]);
        }
        // A file that holds more or fewer pages than the index gives its group (an index written
        // without its group file, as a deleted page can leave) is not read whole either: the
        // pages it holds beyond the index may still name shortcut copies.
        whole = whole && files[g].read && files[g].pages.size() == m_groups[g].pages.size();
        firsts.push_back(pages);
        pages += static_cast<uint32_t>(m_groups[g].pages.size());
    }
    m_groupsToRename = GroupsNotOwningTheirFile(firsts, files);
    for (size_t g : aliases)
        if (std::find(m_groupsToRename.begin(), m_groupsToRename.end(), g) == m_groupsToRename.end())
            m_groupsToRename.push_back(g);
    std::sort(m_groupsToRename.begin(), m_groupsToRename.end());
    m_bReadWhole = whole && m_groupsToRename.empty();
    std::vector<PageItems> lists(pages);
    bool anyRead = false;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        if (!files[g].read || std::find(m_groupsToRename.begin(), m_groupsToRename.end(), g) != m_groupsToRename.end())
            continue;
        anyRead = true;
        const size_t count = std::min(files[g].pages.size(), m_groups[g].pages.size());
        for (size_t j = 0; j < count; ++j) lists[firsts[g] + j] = std::move(files[g].pages[j]);
    }
    if (anyRead) m_pageItems = std::move(lists);
    else m_pageItems.clear();
}

// Two groups made within one second by an older version share one file name, so one file holds
// the pages of whichever group wrote it last, and its header says which. That group keeps the
// file (the first of them, when the header names none); the others start empty.
std::vector<size_t> PageStore::GroupsNotOwningTheirFile(const std::vector<uint32_t>& firsts,
                                                        const std::vector<ReadGroupFile>& files) const {
    std::vector<size_t> strangers;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        std::vector<size_t> sharing;
        for (size_t o = 0; o < m_groups.size(); ++o)
            if (SameFileName(m_groups[o].fileName, m_groups[g].fileName)) sharing.push_back(o);
        if (sharing.size() < 2) continue;
        size_t owner = sharing.front();
        for (size_t o : sharing)
            if (files[o].fileFirst == firsts[o]) owner = o;
        if (g != owner) strangers.push_back(g);
    }
    return strangers;
}

// Groups that shared a file get names of their own, written at once: the index must name the
// new files before any page is saved into them.
void PageStore::GiveSharedGroupsFilesOfTheirOwn() {
    const std::vector<size_t> renamed = std::move(m_groupsToRename);
    m_groupsToRename.clear();
    if (renamed.empty()) return;
    for (size_t g : renamed) m_groups[g].fileName = NewGroupFileName();
    SavePagesInfo();
    uint32_t first = 0;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        if (std::find(renamed.begin(), renamed.end(), g) != renamed.end()) WriteGroupFile(g, first);
        first += static_cast<uint32_t>(m_groups[g].pages.size());
    }
}

uint32_t PageStore::ReadCurrentIndex() {
    fw::CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) != ERROR_SUCCESS) return kNoIndex;
    DWORD value = 0;
    if (key.QueryDWORDValue(L"index", value) != ERROR_SUCCESS) value = 0;
    m_nCurrentPage = value;
    return value;
}

void PageStore::WriteCurrentIndex() {
    fw::CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) != ERROR_SUCCESS &&
        key.Create(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) != ERROR_SUCCESS)
        return;
    key.SetDWORDValue(L"index", m_nCurrentPage);
}

void PageStore::LoadAll() {
    if (LoadPages() == kNothingUsable) {
        SavePagesInfo();
        SavePage(0);
    }
    if (m_nCurrentPage < m_pageItems.size()) {
        for (const LauncherItem& record : m_pageItems[m_nCurrentPage])
            if (record.cell >= 1 && record.cell <= m_cells.size()) m_cells[record.cell - 1].hasButton = true;
    }
    BuildTabs();
    GiveSharedGroupsFilesOfTheirOwn(); // after the buttons: saving the shown page reads them
}

void PageStore::RemoveLeftOverCopies(const std::vector<std::wstring>& alsoKept) {
    if (!m_bReadWhole) return;
    m_bReadWhole = false; // once: later loads are no start
    std::vector<std::wstring> targets = alsoKept;
    // Every record of every page, items beyond a grid made smaller too, whatever their kind.
    for (const PageItems& items : m_pageItems)
        for (const LauncherItem& item : items) targets.push_back(item.target);
    for (const PlacedButton& placed : m_buttons)
        if (placed.button) targets.push_back(placed.button->GetTarget());
    targets.push_back(m_pConfig->m_movingTarget);
    const std::wstring folder = fw::WithTrailingBackslash(m_pConfig->ShortcutFolder());
    for (const std::wstring& name : FilesNoTargetNames(ShortcutsIn(folder), targets))
        ::DeleteFileW(fw::FileSystemPath(folder + name).c_str());
}

void PageStore::CreateFirstRunItems() {
    fw::CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kRegistryKey, kKeyAccess) != ERROR_SUCCESS) return;
    DWORD flag = 0;
    if (key.QueryDWORDValue(L"MyComputer", flag) == ERROR_SUCCESS && flag != 0) {
        wchar_t windows[MAX_PATH + 1] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        AddFileItem(fw::WithTrailingBackslash(windows) + L"explorer.exe");
        key.DeleteValue(L"MyComputer");
    }
    flag = 0;
    if (key.QueryDWORDValue(L"StartWeb", flag) == ERROR_SUCCESS && flag != 0) {
        AddLinkItemAt(0, 0, L"Go QuenvidWorks", fw::LoadResString(IDS_HOME_URL));
        key.DeleteValue(L"StartWeb");
    }
}

} // namespace lhl
