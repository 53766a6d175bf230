// Windows-1252 <-> UTF-8: every byte survives the trip through text.
#include <gtest/gtest.h>

#include "channellist/Windows1252.h"

namespace {

TEST(Windows1252, AllBytesRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string text = Windows1252ToUtf8(all);
    std::string back;
    ASSERT_TRUE(Utf8ToWindows1252(text, back));
    EXPECT_EQ(back, all);
}

TEST(Windows1252, KnownCharacters) {
    EXPECT_EQ(Windows1252ToUtf8("Astra 19\xB0"), "Astra 19\u00B0");
    EXPECT_EQ(Windows1252ToUtf8("\x80 \xFC \x9F"), "\u20AC \u00FC \u0178");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081");
    std::string bytes;
    ASSERT_TRUE(Utf8ToWindows1252("Verschl\u00FCsselt \u20AC", bytes));
    EXPECT_EQ(bytes, "Verschl\xFCsselt \x80");
}

TEST(Windows1252, RefusesWhatHasNoByte) {
    std::string bytes;
    EXPECT_FALSE(Utf8ToWindows1252("\u0100", bytes));            // no such byte
    EXPECT_FALSE(Utf8ToWindows1252("\u0080", bytes));            // 0x80 is the euro sign
    EXPECT_FALSE(Utf8ToWindows1252("\xC3", bytes));              // truncated sequence
    EXPECT_FALSE(Utf8ToWindows1252("\xC0\xAF", bytes));          // overlong
    EXPECT_FALSE(Utf8ToWindows1252("\xF0\x9F\x98\x80", bytes));  // outside the code page
    EXPECT_FALSE(Utf8ToWindows1252("\xFF", bytes));
}

}  // namespace
