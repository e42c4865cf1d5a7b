// The hand-off file's layout and how its reader copes with whatever it finds.
#include "ByteCodec.h"
#include "HandOff.h"
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

TEST(HandOffCodec, ReaderKeepsAtMost260CharactersAndNeverReadsPastTheFile) {
    const std::wstring longPath = L"C:\\" + std::wstring(400, L'd');
    EXPECT_EQ(DecodeHandOff(EncodeHandOff(longPath)), longPath.substr(0, 260));
    EXPECT_EQ(DecodeHandOff(EncodeHandOff(L"\"C:\\x y\\z.txt\"")), L"\"C:\\x y\\z.txt\"");

    std::vector<uint8_t> lying = EncodeHandOff(L"abc");
    lying[0] = 0xFF; lying[1] = 0xFF; lying[2] = 0xFF; lying[3] = 0xFF; // claims 4 G characters
    EXPECT_EQ(DecodeHandOff(lying).substr(0, 3), L"abc") << "the text that is there should still arrive";
    EXPECT_LE(DecodeHandOff(lying).size(), 5u);
    EXPECT_EQ(DecodeHandOff({}), L"");
    EXPECT_EQ(DecodeHandOff({3, 0}), L"");
    EXPECT_EQ(DecodeHandOff({3, 0, 0, 0, 'a', 0}), L"a");
}
