// Text fields of DVB descriptors to UTF-8: the table selectors, the default
// table's diacritical marks, the multi-byte tables and the control codes.
#include <gtest/gtest.h>

#include <vector>

#include "mpegts/DvbText.h"

namespace {

using mpegts::DecodeDvbText;

// A literal with its embedded zero bytes.
template <std::size_t N>
std::string Decode(const char (&bytes)[N]) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes);
    return DecodeDvbText(std::span<const std::uint8_t>(p, N - 1));
}

std::string Decode(std::initializer_list<std::uint8_t> bytes) {
    return DecodeDvbText(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

TEST(DvbText, DefaultTableComposesUmlautsWithTheFollowingLetter) {
    EXPECT_EQ(Decode("M\xC8unchen"), "München");
    EXPECT_EQ(Decode("Stra\xFB"
                     "e \xC8O\xC8"
                     "a"),
              "Straße Öä");
    EXPECT_EQ(Decode("\xC2"
                     "e\xC1"
                     "a\xC3o\xCB"
                     "c\xCD"
                     "o\xCEz"),
              "éàôçőz\u0328");  // no precomposed z with ogonek: z and the combining mark
    EXPECT_EQ(Decode("5 \xA4, 3 \xA8"), "5 €, 3 ¤");
    EXPECT_EQ(Decode("\xE8\xF5\xE9\xA6"), "ŁıØ\uFFFD");  // 0xA6 is not in the table
}

TEST(DvbText, DiacriticBeforeABlankIsTheAccentAndIsDroppedBeforeNoLetter) {
    EXPECT_EQ(Decode("a\xC8 b"), "a¨b");
    EXPECT_EQ(Decode("Ende\xC8"), "Ende");
    EXPECT_EQ(Decode("x\xC2\x8Ay"), "x\ny");
    EXPECT_EQ(Decode("\xC2\xC8u"), "ü");
}

// Event names of the Slovak fragment capture (table 0x60, service 4006).
TEST(DvbText, SlovakNamesOfARealCaptureInTheDefaultTable) {
    EXPECT_EQ(Decode("Babi\xCF"
                     "cka, rozpr\xC2"
                     "avaj! (2)"),
              "Babička, rozprávaj! (2)");
    EXPECT_EQ(Decode("M\xC2"
                     "a\xCFsa a medve\xCF"
                     "d V (20)"),
              "Máša a medveď V (20)");
    EXPECT_EQ(Decode("Hani\xCF"
                     "cka a Murko pre najmen\xCFs\xC2ich (5)"),
              "Hanička a Murko pre najmenších (5)");
}

TEST(DvbText, Iso8859PartsBySelectorByteAndByThreeByteForm) {
    EXPECT_EQ(Decode("\x10\x00\x02P\xF8\xEDli\xB9 \xBElu\xBBou\xE8k\xFD k\xF9\xF2"),
              "Příliš žluťoučký kůň");
    EXPECT_EQ(Decode("\x05I\xF0"
                     "d\xFDr \xDE"
                     "anl\xFDurfa"),
              "Iğdır Şanlıurfa");
    EXPECT_EQ(Decode("\x0B\xA4 \xBD \xBE"), "€ œ Ÿ");
    EXPECT_EQ(Decode("\x10\x00\x0F\xA4"), "€");
    EXPECT_EQ(Decode("\x01\xDE\xE1\xE2"), "ост");  // ISO 8859-5
    // From the German schedule and the Polish fragment capture.
    EXPECT_EQ(Decode("\x0B"
                     "Die Ern\xE4hrungs-Docs (73)"),
              "Die Ernährungs-Docs (73)");
    EXPECT_EQ(Decode("\x09"
                     "Jan Pawe\xF9 II wci\xE0\xFD \xFDywy"),
              "Jan Paweł II wciąż żywy");
}

TEST(DvbText, UnknownTablesKeepAsciiAndReplaceTheRest) {
    EXPECT_EQ(Decode("\x10\x00\x0C"
                     "A\xE4"),
              "A\uFFFD");  // there is no ISO 8859-12
    EXPECT_EQ(Decode("\x10\x01\x02"
                     "A"),
              "A");
    EXPECT_EQ(Decode("\x08"
                     "A\xE4"),
              "A\uFFFD");
    EXPECT_EQ(Decode("\x1F\x01"
                     "A\xE4"),
              "A\uFFFD");
    EXPECT_EQ(Decode("\x17"
                     "abc"),
              "abc");
}

TEST(DvbText, Ucs2BigEndianWithItsControlCodes) {
    EXPECT_EQ(Decode({0x11, 0x00, 0x4D, 0x00, 0xFC, 0x00, 0x6E, 0x4E, 0x2D, 0x20, 0xAC}), "Mün中€");
    EXPECT_EQ(Decode({0x11, 0x00, 0x41, 0xE0, 0x8A, 0xE0, 0x86, 0x00, 0x42, 0xE0, 0x87}), "A\nB");
    EXPECT_EQ(Decode({0x11, 0xD8, 0x00, 0x00, 0x41, 0x00}),
              "\uFFFDA\uFFFD");  // surrogate, odd byte
    EXPECT_EQ(Decode({0x11, 0x00, 0x00, 0x00, 0x8A}), "\n");
}

TEST(DvbText, Utf8IsCheckedAndEachBrokenPartReplacedOnce) {
    EXPECT_EQ(Decode("\x15Gr\xC3\xBC\xC3\x9F"
                     "e \xE2\x82\xAC"),
              "Grüße €");
    EXPECT_EQ(Decode("\x15"
                     "a\xC3"),
              "a\uFFFD");                                         // cut off at the end
    EXPECT_EQ(Decode("\x15\xC0\xAF"), "\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(Decode("\x15\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");  // a surrogate
    EXPECT_EQ(Decode("\x15\xE2\x82"
                     "x"),
              "\uFFFDx");                                                   // truncated sequence
    EXPECT_EQ(Decode("\x15\xF4\x90\x80\x80"), "\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
    EXPECT_EQ(Decode("\x15\xF0\x9F\x93\xBA"), "\U0001F4FA");
    EXPECT_EQ(Decode("\x15"
                     "a\xEE\x82\x8A"
                     "b\xC2\x86"
                     "c"),
              "a\nbc");
}

TEST(DvbText, ControlCodesBreakTheLineOrVanish) {
    EXPECT_EQ(Decode("\x86Tat\x87ort\x8AKrimi\x00!\x9F"), "Tatort\nKrimi!");
    EXPECT_EQ(Decode("\x0B\x86"
                     "a\x8A"
                     "b\x80"),
              "a\nb");
}

TEST(DvbText, EastAsianTablesThroughTheCLibrary) {
    EXPECT_EQ(Decode({0x13, 0xD6, 0xD0, 0xCE, 0xC4}), "中文");
    EXPECT_EQ(Decode({0x12, 0xC7, 0xD1, 0xB1, 0xB9}), "한국");
    EXPECT_EQ(Decode({0x14, 0xA4, 0xA4, 0xA4, 0xE5}), "中文");
    EXPECT_EQ(Decode({0x13, 0xFF, 'A', 0xD6}), "\uFFFDA\uFFFD");
}

TEST(DvbText, EmptyFieldsAndLoneSelectors) {
    EXPECT_EQ(Decode(""), "");
    for (const std::vector<std::uint8_t>& field :
         std::vector<std::vector<std::uint8_t>>{{0x05},
                                                {0x0B},
                                                {0x10},
                                                {0x10, 0x00},
                                                {0x10, 0x00, 0x02},
                                                {0x11},
                                                {0x12},
                                                {0x15},
                                                {0x1F},
                                                {0x1F, 0x07},
                                                {0x00}})
        EXPECT_EQ(DecodeDvbText(field), "") << int(field[0]) << " of " << field.size();
}

}  // namespace
