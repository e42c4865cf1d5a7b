// The text rules of items: address normalisation, title shortening, the browser fallback.
#include "ItemText.h"
#include "ShellCache.h"
#include "TestSupport.h"
#include <windows.h>
#include <gtest/gtest.h>

using namespace lhl;

TEST(ItemText, AddressesGetTheSchemeTheShellNeeds) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"example.org", L"http://example.org"},
        {L"www.example.org/a b", L"http://www.example.org/a b"},
        {L"HTTP://example.org", L"HTTP://example.org"},
        {L"ftp://files.example.org", L"ftp://files.example.org"},
        {L"httpbin.org", L"httpbin.org"}, // begins with "http": left alone
        {L"HtTpd.example", L"HtTpd.example"},
        {L"htt.example", L"http://htt.example"},
        {L"me@example.org", L"mailto:me@example.org"},
        {L"MAILTO:me@example.org", L"MAILTO:me@example.org"},
        {L"mailto:me@example.org", L"mailto:me@example.org"},
        {L"http://user@example.org", L"mailto:http://user@example.org"}, // "@" makes it a mail address
        {L"mail@x", L"mailto:mail@x"},
    };
    for (const auto& [address, opened] : cases) EXPECT_EQ(NormaliseLinkAddress(address), opened) << address;
}

TEST(ItemText, TitlesAreShortenedAtTheirLimits) {
    EXPECT_EQ(ShortenFileTitle(std::wstring(40, L'f')), std::wstring(32, L'f') + L" ...");
    EXPECT_EQ(ShortenFileTitle(std::wstring(32, L'f')), std::wstring(32, L'f'));
    EXPECT_EQ(ShortenItemTitle(std::wstring(17, L't')), std::wstring(16, L't') + L"...");
    EXPECT_EQ(ShortenItemTitle(std::wstring(16, L't')), std::wstring(16, L't'));
}

TEST(ItemText, BrowserCommandsAreCutBeforeTheirPlaceholder) {
    EXPECT_EQ(CutBeforePlaceholder(L"\"C:\\b\\browser.exe\" -url \"%1\""), L"\"C:\\b\\browser.exe\" -url ");
    EXPECT_EQ(CutBeforePlaceholder(L"C:\\b\\browser.exe %1"), L"C:\\b\\browser.exe ");
    EXPECT_EQ(CutBeforePlaceholder(L"C:\\b\\browser.exe"), L"C:\\b\\browser.exe");
}

TEST(ItemText, TheContainingFolderIsTheFolderPartOfAFile) {
    EXPECT_EQ(ContainingFolderOf(L"C:\\Tools\\app.exe"), L"C:\\Tools");
    EXPECT_EQ(ContainingFolderOf(L"C:\\Tools\\app.exe-flag"), L"C:\\Tools");
    EXPECT_EQ(ContainingFolderOf(L"C:\\Tools\\Folder"), L"C:\\Tools\\Folder") << "no dot: taken as a folder";
    EXPECT_EQ(ContainingFolderOf(L"nothing"), L"nothing");
    EXPECT_EQ(ExtensionOf(L"C:\\a\\b.LNK"), L".LNK");
    EXPECT_EQ(ExtensionOf(L"noext"), L"noext");
}

// The shell is asked once per extension, attributes and size, and every button showing that size
// shows that one icon; another size is an icon of its own, made at that size.
TEST(ShellIcons, OneLookupPerExtensionAndSizeSharedByEveryCaller) {
    const unsigned before = lhl::ShellIconLookups();
    HICON first = lhl::SharedShellIcon(L"C:\\one\\report.lhlcache", FILE_ATTRIBUTE_NORMAL, 32);
    HICON second = lhl::SharedShellIcon(L"D:\\two\\OTHER.LHLCACHE", FILE_ATTRIBUTE_NORMAL, 32);
    EXPECT_EQ(lhl::ShellIconLookups(), before + 1) << "the same extension was looked up twice";
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    HICON folder = lhl::SharedShellIcon(L"C:\\one\\report.lhlcache", FILE_ATTRIBUTE_DIRECTORY, 32);
    EXPECT_EQ(lhl::ShellIconLookups(), before + 2) << "a folder shares a file's icon";
    EXPECT_NE(folder, first);
    HICON larger = lhl::SharedShellIcon(L"C:\\one\\report.lhlcache", FILE_ATTRIBUTE_NORMAL, 60);
    EXPECT_EQ(lhl::ShellIconLookups(), before + 3) << "a larger cell was given the 32-pixel icon";
    ASSERT_NE(larger, nullptr);
    EXPECT_NE(larger, first);
    EXPECT_GE(lhltest::IconWidth(larger), 60) << "the icon for a 60-pixel square is a smaller one stretched";
}

// Names are remembered only when the shell gave one: a file that appears later gets its name.
TEST(ShellNames, RememberedByPathUntilASettingsChange) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"lhl-named-later.txt";
    ::DeleteFileW(path.c_str());
    const unsigned before = lhl::ShellNameLookups();
    EXPECT_EQ(lhl::ShellDisplayNameOf(path), L"");
    EXPECT_EQ(lhl::ShellDisplayNameOf(path), L"");
    EXPECT_EQ(lhl::ShellNameLookups(), before + 2) << "a missing file's failure was remembered";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    const std::wstring name = lhl::ShellDisplayNameOf(path);
    EXPECT_NE(name.find(L"lhl-named-later"), std::wstring::npos) << "the shell named it \"" << name << "\"";
    EXPECT_EQ(lhl::ShellDisplayNameOf(path), name);
    EXPECT_EQ(lhl::ShellNameLookups(), before + 3) << "a known name was asked again";
    lhl::ForgetShellDisplayNames();
    EXPECT_EQ(lhl::ShellDisplayNameOf(path), name);
    EXPECT_EQ(lhl::ShellNameLookups(), before + 4) << "the settings change left the old names";
    lhl::ForgetShellDisplayNames();
    {
        // Through the open folder the shell gives the very same names, and none for a missing file.
        lhl::ShellNameBatch batch;
        EXPECT_EQ(lhl::ShellDisplayNameOf(path), name);
        EXPECT_EQ(lhl::ShellDisplayNameOf(std::wstring(temp) + L"lhl-not-there.txt"), L"");
        EXPECT_EQ(lhl::ShellDisplayNameOf(L"C:\\windows"), L"windows");
    }
    ::DeleteFileW(path.c_str());
}
