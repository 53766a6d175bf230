// The dialogs' QString side of the Windows-1252 record strings.
#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "channellist/dialogs/QtCp1252.h"

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

QString FromUtf16(std::u16string_view units) {
    return QString(reinterpret_cast<const QChar*>(units.data()),
                   static_cast<qsizetype>(units.size()));
}

}  // namespace

TEST(Cp1252, KnownBytesMapBothWays) {
    for (const auto& k : kKnown) {
        SCOPED_TRACE(k.byte);
        const std::string byte(1, static_cast<char>(k.byte));
        EXPECT_EQ(QStringFromCp1252(byte), QString(QChar(k.unicode)));
        bool lossless = false;
        EXPECT_EQ(QStringToCp1252(QString(QChar(k.unicode)), &lossless), byte);
        EXPECT_TRUE(lossless);
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    const std::string bytes = AllBytes();
    bool lossless = false;
    EXPECT_EQ(QStringToCp1252(QStringFromCp1252(bytes), &lossless), bytes);
    EXPECT_TRUE(lossless);
}

TEST(Cp1252, GermanText) {
    EXPECT_EQ(QStringFromCp1252("Verschl\xFCsselt \x80"), QString::fromUtf8("Verschlüsselt €"));
    EXPECT_EQ(QStringToCp1252(QString::fromUtf8("Größe „ARD“")),
              "Gr\xF6\xDF"
              "e \x84"
              "ARD\x93");
}

// Typed or pasted text the code page cannot hold: each character becomes one
// '?', the rest stays, and the caller learns of the loss.
TEST(Cp1252, UnrepresentableCharactersBecomeQuestionMarks) {
    struct Case {
        const char* name;
        QString text;
        std::string bytes;
    };
    const Case cases[] = {
        {"Polish L", QString::fromUtf8("\xC5\x81odz"), "?odz"},  // U+0141
        {"emoji is one character", FromUtf16(u"a\U0001F600b"), "a?b"},
        {"lone high surrogate", FromUtf16(u"\xD800z"), "?z"},
        {"lone low surrogate at end", FromUtf16(u"x\xDC00"), "x?"},
        {"malformed UTF-8 from the clipboard",
         QString::fromUtf8("a\x80"
                           "b"),
         "a?b"},
        {"two in a row", QString::fromUtf8("\xE2\x82\xAC\xE2\x88\x9E\xE2\x88\x9E"), "\x80??"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool lossless = true;
        EXPECT_EQ(QStringToCp1252(c.text, &lossless), c.bytes);
        EXPECT_FALSE(lossless);
    }
}

TEST(Cp1252, EmptyTextIsLossless) {
    bool lossless = false;
    EXPECT_EQ(QStringToCp1252(QString(), &lossless), "");
    EXPECT_TRUE(lossless);
    EXPECT_TRUE(QStringFromCp1252("").isEmpty());
}
