// The language names shown for an audio stream's ISO 639-2 code.
#include <gtest/gtest.h>

#include "mpegts/LanguageNames.h"

namespace {

using namespace std::string_view_literals;
namespace LanguageNames = mpegts::LanguageNames;

TEST(LanguageNames, BibliographicAndTerminologyCodesBothFound) {
    EXPECT_EQ(LanguageNames::German("ger"), "Deutsch");
    EXPECT_EQ(LanguageNames::German("deu"), "Deutsch");
    EXPECT_EQ(LanguageNames::German("eng"), "Englisch");
    EXPECT_EQ(LanguageNames::German("fre"), "Französisch");
    EXPECT_EQ(LanguageNames::German("fra"), "Französisch");
    EXPECT_EQ(LanguageNames::German("alb"), "Albanisch");
    EXPECT_EQ(LanguageNames::German("sqi"), "Albanisch");
    EXPECT_EQ(LanguageNames::English("ger"), "German");
    EXPECT_EQ(LanguageNames::English("deu"), "German");
}

TEST(LanguageNames, FirstAndLastCodesOfTheTableFound) {
    EXPECT_EQ(LanguageNames::English("aar"), "Afar");
    EXPECT_EQ(LanguageNames::English("zza"), "Zaza");
    EXPECT_EQ(LanguageNames::German("aar"), "Afar");
    EXPECT_EQ(LanguageNames::German("zza"), "Zazaisch");
}

TEST(LanguageNames, OnlyTheFirstOfSeveralNamesKept) {
    EXPECT_EQ(LanguageNames::English("spa"), "Spanish");
    EXPECT_EQ(LanguageNames::German("mul"), "Mehrsprachig");
}

TEST(LanguageNames, UpperCaseFoundAndUnknownOrMisshapenCodesEmpty) {
    EXPECT_EQ(LanguageNames::German("GER"), "Deutsch");
    EXPECT_EQ(LanguageNames::English("Deu"), "German");
    for (std::string_view code : {"xyz"sv, ""sv, "ge"sv, "gerx"sv, "qaa"sv, "ge\0"sv}) {
        EXPECT_TRUE(LanguageNames::German(code).empty()) << code;
        EXPECT_TRUE(LanguageNames::English(code).empty()) << code;
    }
}

}  // namespace
