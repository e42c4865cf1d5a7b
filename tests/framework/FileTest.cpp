// The binary file wrapper: the data readers rely on zeros past the end of a short file.
#include "File.h"
#include "RegKey.h"
#include "ShellFolder.h"
#include "TestSupport.h"

namespace {
std::wstring TempPath(const wchar_t* name) { return lhltest::DataFolder() + name; }
}

class FileTest : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        ::CreateDirectoryW(lhltest::DataFolder().c_str(), nullptr);
    }
};

TEST_F(FileTest, ReadingPastTheEndYieldsZerosAndSaysHowMuchWasReal) {
    lhltest::WriteBytes(TempPath(L"short.bin"), {1, 2, 3});
    fw::CFile file;
    ASSERT_TRUE(file.Open(TempPath(L"short.bin"), fw::CFile::modeRead | fw::CFile::typeBinary));
    uint8_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 0xCC);
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 3u);
    const uint8_t expected[8] = {1, 2, 3, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(buffer), std::end(buffer), expected)) << "stale bytes after the end";
    EXPECT_EQ(file.GetLength(), 3u);
}

TEST_F(FileTest, CreateTruncatesAndReadAllKeepsToItsLimit) {
    lhltest::WriteBytes(TempPath(L"f.bin"), std::vector<uint8_t>(100, 7));
    lhltest::WriteBytes(TempPath(L"f.bin"), {9, 9});
    EXPECT_EQ(lhltest::ReadBytes(TempPath(L"f.bin")), (std::vector<uint8_t>{9, 9}));
    lhltest::WriteBytes(TempPath(L"big.bin"), std::vector<uint8_t>(1000, 1));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(fw::CFile::ReadAll(TempPath(L"big.bin"), bytes, 64));
    EXPECT_EQ(bytes.size(), 64u);
    EXPECT_FALSE(fw::CFile::ReadAll(TempPath(L"missing.bin"), bytes, 64));
    fw::CFile missing;
    EXPECT_FALSE(missing.Open(TempPath(L"missing.bin"), fw::CFile::modeRead));
}

TEST_F(FileTest, RegistryValuesRoundTripAndWrongTypesAreRefused) {
    fw::CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"Software\\QuenvidWorks\\Lanternhop"), ERROR_SUCCESS);
    EXPECT_EQ(key.SetStringValue(L"Path", L"C:\\Program Files\\Lanternhop\\"), ERROR_SUCCESS);
    EXPECT_EQ(key.SetDWORDValue(L"index", 3), ERROR_SUCCESS);
    fw::CRegKey reader;
    ASSERT_EQ(reader.Open(HKEY_CURRENT_USER, L"Software\\QuenvidWorks\\Lanternhop", KEY_READ), ERROR_SUCCESS);
    std::wstring text;
    DWORD number = 0;
    EXPECT_EQ(reader.QueryStringValue(L"Path", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"C:\\Program Files\\Lanternhop\\");
    EXPECT_EQ(reader.QueryDWORDValue(L"index", number), ERROR_SUCCESS);
    EXPECT_EQ(number, 3u);
    EXPECT_NE(reader.QueryDWORDValue(L"Path", number), ERROR_SUCCESS) << "a string was read as a number";
    EXPECT_NE(reader.QueryStringValue(L"absent", text), ERROR_SUCCESS);
}

// Windows refuses a plain path of MAX_PATH characters or more in its file calls unless the
// program is long-path aware and LongPathsEnabled is set, and in its shell calls always; Wine
// takes such paths anyway, so the forms the launcher hands over are checked here.
TEST_F(FileTest, LongPathsTakeTheFormsWindowsAccepts) {
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\file.txt";
    EXPECT_EQ(fw::FileSystemPath(deep), L"\\\\?\\" + deep);
    EXPECT_EQ(fw::FileSystemPath(L"\\\\server\\share\\" + std::wstring(300, L'u')),
              L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'u'));
    EXPECT_EQ(fw::FileSystemPath(L"\\\\?\\" + deep), L"\\\\?\\" + deep) << "a prefixed path was prefixed again";
    EXPECT_EQ(fw::FileSystemPath(L"C:\\short.txt"), L"C:\\short.txt");

    const lhltest::LongPathFile file(lhltest::DataFolder(), 300);
    const std::wstring shell = fw::ShellPath(file.Path());
    EXPECT_LT(shell.size(), static_cast<size_t>(MAX_PATH)) << "the shell is handed a path it refuses";
    EXPECT_EQ(shell.rfind(L"\\\\?\\", 0), std::wstring::npos) << "the shell does not take the \\\\?\\ form";
    wchar_t full[MAX_PATH * 4] = {};
    ASSERT_GT(::GetLongPathNameW(shell.c_str(), full, MAX_PATH * 4), 0u) << "the short form names no file";
    EXPECT_EQ(std::wstring(full), file.Path());
}
