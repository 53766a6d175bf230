#include <gtest/gtest.h>

#include <string>

#include "channellist/Windows1252.h"
#include "dialogs/Cp1252.h"
#include "dialogs/QtCp1252.h"

namespace {

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
    return s;
}

struct KnownChar {
    std::uint8_t byte;
    char16_t unicode;
};

// Both ends of the special range, the letters German lists use, and the five
// bytes the code page leaves undefined.
constexpr KnownChar kKnown[] = {
    {0x41, u'A'},      {0x80, u'\u20AC'}, {0x81, u'\u0081'}, {0x84, u'\u201E'}, {0x8A, u'\u0160'},
    {0x8D, u'\u008D'}, {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x93, u'\u201C'}, {0x96, u'\u2013'},
    {0x99, u'\u2122'}, {0x9D, u'\u009D'}, {0x9F, u'\u0178'}, {0xA0, u'\u00A0'}, {0xB4, u'\u00B4'},
    {0xC4, u'\u00C4'}, {0xDF, u'\u00DF'}, {0xFC, u'\u00FC'}, {0xFF, u'\u00FF'},
};

}  // namespace

TEST(Cp1252, KnownBytesMapBothWays) {
    for (const auto& k : kKnown) {
        SCOPED_TRACE(k.byte);
        EXPECT_EQ(Cp1252::ToUnicode(k.byte), k.unicode);
        std::uint8_t back = 0;
        ASSERT_TRUE(Cp1252::FromUnicode(k.unicode, back));
        EXPECT_EQ(back, k.byte);
    }
}

TEST(Cp1252, EveryByteSurvivesBothRoundTrips) {
    const std::string bytes = AllBytes();
    bool lossless = false;
    EXPECT_EQ(Cp1252::FromUtf16(Cp1252::ToUtf16(bytes), &lossless), bytes);
    EXPECT_TRUE(lossless);
    lossless = false;
    EXPECT_EQ(Cp1252::FromUtf8(Cp1252::ToUtf8(bytes), &lossless), bytes);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(QStringToCp1252(QStringFromCp1252(bytes)), bytes);
}

TEST(Cp1252, Utf8OfGermanText) {
    EXPECT_EQ(Cp1252::ToUtf8("Verschl\xFCsselt \x80"), "Verschlüsselt €");
    EXPECT_EQ(Cp1252::FromUtf8("Größe „ARD“"),
              "Gr\xF6\xDF"
              "e \x84"
              "ARD\x93");
}

TEST(Cp1252, UnrepresentableCharactersBecomeQuestionMarks) {
    struct Case {
        const char* name;
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"Polish L", "\xC5\x81odz", "?odz"},  // U+0141
        {"emoji is one character",
         "a\xF0\x9F\x98\x80"
         "b",
         "a?b"},
        {"lone continuation byte",
         "a\x80"
         "b",
         "a?b"},
        {"truncated sequence at end", "ab\xC3", "ab?"},
        {"overlong slash", "\xC0\xAF", "?"},
        {"encoded surrogate", "\xED\xA0\x80", "?"},
        {"bad continuation keeps next char",
         "\xC3"
         "A",
         "?A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool lossless = true;
        EXPECT_EQ(Cp1252::FromUtf8(c.utf8, &lossless), c.bytes);
        EXPECT_FALSE(lossless);
    }
}

TEST(Cp1252, Utf16SurrogatesCountAsOneCharacter) {
    bool lossless = true;
    EXPECT_EQ(Cp1252::FromUtf16(u"x\U0001F600y", &lossless), "x?y");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(Cp1252::FromUtf16(std::u16string(1, char16_t(0xD800)) + u"z", &lossless), "?z");
}

// The record library carries a UTF-8 converter of its own; both must read and
// write every byte alike, or a name edited here would change in the list view.
TEST(Cp1252, AgreesWithTheRecordLibrarysConverter) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Cp1252::ToUtf8(byte);
        EXPECT_EQ(utf8, Windows1252ToUtf8(byte)) << b;
        std::string back;
        EXPECT_TRUE(Utf8ToWindows1252(utf8, back)) << b;
        EXPECT_EQ(back, byte) << b;
    }
}
