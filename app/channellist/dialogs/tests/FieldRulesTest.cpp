#include <gtest/gtest.h>

#include <climits>

#include "channellist/dialogs/FieldRules.h"

using namespace FieldRules;

TEST(FieldRules, ParseIdTable) {
    struct Case {
        const char* text;
        bool hex;
        std::uint16_t value;
    };
    const Case cases[] = {
        // decimal: the number ends at the first non-digit
        {"1FFF", false, 1},
        {"8191", false, 8191},
        {"  42", false, 42},
        {"42abc", false, 42},
        {"-1", false, 0xFFFF},
        {"+7", false, 7},
        {"70000", false, 70000 & 0xFFFF},
        {"99999999999", false, static_cast<std::uint16_t>(99999999999ULL & 0xFFFF)},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"-", false, 0},
        // hex: at most four characters of one number
        {"1FFF", true, 8191},
        {"1fff", true, 8191},
        {"001F", true, 0x1F},
        {"12345", true, 0x1234},
        {" FFFF", true, 0xFFFF},
        {"1G", true, 1},
        {"0x1F", true, 0x1F},
        {"0x", true, 0},
        {"-1", true, 0xFFFF},
        {"", true, 0},
        {"XYZ", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex ? "hex " : "dec ") + "'" + c.text + "'");
        EXPECT_EQ(ParseId(c.text, c.hex), c.value);
    }
}

TEST(FieldRules, IdsSurviveTheirOwnText) {
    for (bool hex : {false, true}) {
        for (unsigned v : {0u, 1u, 255u, 256u, 4095u, 8191u, 32768u, 65535u}) {
            const auto id = static_cast<std::uint16_t>(v);
            EXPECT_EQ(ParseId(FormatId(id, hex), hex), id) << v << (hex ? " hex" : " dec");
        }
    }
}

TEST(FieldRules, WholeNumberTable) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"12345", 12345},
        {" 12345 ", 12345},
        {"-5", -5},
        {"+5", 5},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {"1A", std::nullopt},
        {"1 2", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseWholeNumber(c.text), c.value);
    }
}

TEST(FieldRules, FrequenciesAreWholeMHz) {
    EXPECT_EQ(FormatMHz(10700000), "10700");
    EXPECT_EQ(FormatMHz(10700500), "10700");
    EXPECT_EQ(FormatMHz(999), "0");
    EXPECT_EQ(ParseMHz("10700"), 10700000);
    EXPECT_EQ(ParseMHz(FormatMHz(10700500)), 10700000);
    EXPECT_EQ(ParseMHz("-5"), -5000);
    EXPECT_EQ(ParseMHz("2147483"), 2147483000);
    EXPECT_EQ(ParseMHz("2147484"), std::nullopt);  // beyond the 32-bit kHz field
    EXPECT_EQ(ParseMHz("10.7"), std::nullopt);
}

TEST(FieldRules, LofListsSelectByPrefix) {
    const auto low = LowBandLofEntries();
    const auto high = HighBandLofEntries();
    ASSERT_EQ(low.size(), 8u);
    ASSERT_EQ(high.size(), 7u);
    struct Case {
        std::int32_t kHz;
        int lowIndex;
        int highIndex;
    };
    const Case cases[] = {
        {9750000, 2, 1},  {9750999, 2, 1},  // whole MHz
        {10600000, 4, 3}, {5150000, 0, -1},   {11475000, 7, 6},
        {10000, 3, 2},  // "10" is the start of "10500"
        {1000, 3, 2},   // "1" is the start of "10500" too
        {5000, 0, -1},  // "5" -> "5150"
        {0, -1, -1},      {-9750000, -1, -1}, {12000000, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kHz);
        EXPECT_EQ(LofIndex(low, c.kHz), c.lowIndex);
        EXPECT_EQ(LofIndex(high, c.kHz), c.highIndex);
    }
    for (const auto& e : low) EXPECT_EQ(std::to_string(e.kHz / 1000), e.text);
    for (const auto& e : high) EXPECT_EQ(std::to_string(e.kHz / 1000), e.text);
}

TEST(FieldRules, ProgramKindBits) {
    EXPECT_EQ(KindIndex(0x10006), 1);  // only bits 0 and 1 count
    EXPECT_EQ(KindIndex(0x10000), -1);
    struct Case {
        std::uint32_t before;
        int kind;
        int encrypted;
        std::uint32_t after;
    };
    const Case cases[] = {
        {0x00002, 0, 0, 0x00001},    // radio -> TV
        {0x10001, 0, 0, 0x00001},    // encryption cleared
        {0x00001, 2, 1, 0x10003},    // data, encrypted
        {0x000C2, 0, 0, 0x000C1},    // other bits stay
        {0x00002, -1, -1, 0x00002},  // no selection: unchanged
        {0x10000, -1, 0, 0x00000},  {0xFFFFFFFF, 1, 1, 0xFFFFFFFE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        EXPECT_EQ(ApplyKind(c.before, c.kind, c.encrypted), c.after);
    }
}
