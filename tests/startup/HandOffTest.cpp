// The hand-off file's layout and how its reader copes with whatever it finds.
#include "ByteCodec.h"
#include "HandOff.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace lhl;

TEST(HandOffCodec, LayoutIsLengthTextAndEndWord) {
    const std::vector<uint8_t> bytes = EncodeHandOff(L"C:\\a b");
    ByteReader in(bytes);
    uint32_t length = 0, end = 0;
    std::wstring text;
    ASSERT_TRUE(in.U32(length));
    EXPECT_EQ(length, 6u) << "length in UTF-16 units";
    ASSERT_TRUE(in.Chars(6, 100, text));
    EXPECT_EQ(text, L"C:\\a b") << "no terminating zero, no quotes removed";
    ASSERT_TRUE(in.U32(end));
    EXPECT_EQ(end, 0xFFFFu);
    EXPECT_TRUE(in.AtEnd());
}

TEST(HandOffCodec, LongPathsPassWholeAndWhatCannotPassWholeIsRefused) {
    const std::wstring longPath = L"C:\\" + std::wstring(400, L'd');
    EXPECT_EQ(DecodeHandOff(EncodeHandOff(longPath)), longPath) << "a path beyond MAX_PATH was cut";
    const std::wstring longest(kMaxPathChars, L'e');
    EXPECT_EQ(DecodeHandOff(EncodeHandOff(longest)), longest);
    EXPECT_EQ(DecodeHandOff(EncodeHandOff(longest + L'e')), L"") << "a text longer than any path was taken";
    EXPECT_EQ(DecodeHandOff(EncodeHandOff(L"\"C:\\x y\\z.txt\"")), L"\"C:\\x y\\z.txt\"");

    std::vector<uint8_t> lying = EncodeHandOff(L"abc");
    lying[0] = 0xFF; lying[1] = 0xFF; lying[2] = 0xFF; lying[3] = 0xFF; // claims 4 G characters
    EXPECT_EQ(DecodeHandOff(lying), L"") << "a file that does not hold its whole text must not give a cut path";
    std::vector<uint8_t> cut = EncodeHandOff(L"C:\\folder\\file.txt");
    cut.resize(4 + 2 * 9);
    EXPECT_EQ(DecodeHandOff(cut), L"") << "a file cut short gave \"C:\\folder\"";
    std::vector<uint8_t> zero = EncodeHandOff(L"C:\\a.txt");
    zero[4 + 2 * 3] = 0;
    EXPECT_EQ(DecodeHandOff(zero), L"") << "a zero inside the text cut the path";
    EXPECT_EQ(DecodeHandOff({}), L"");
    EXPECT_EQ(DecodeHandOff({3, 0}), L"");
    EXPECT_EQ(DecodeHandOff({1, 0, 0, 0, 'a', 0}), L"a") << "the end word is not needed";
}

TEST(HandOffFileTest, ATextLongerThanAnyPathIsNotWritten) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"lhl hand-off test\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    HandOffFile handOff(folder, folder);
    handOff.Delete();
    EXPECT_FALSE(handOff.Write(std::wstring(kMaxPathChars + 1, L'x')));
    EXPECT_FALSE(lhltest::FileExists(handOff.DataFolderPath()));
    EXPECT_TRUE(handOff.Write(std::wstring(kMaxPathChars, L'x')));
    EXPECT_EQ(handOff.Take(), std::wstring(kMaxPathChars, L'x'));
    EXPECT_FALSE(lhltest::FileExists(handOff.DataFolderPath())) << "taking the text left the file";
    ::RemoveDirectoryW(folder.c_str());
}
