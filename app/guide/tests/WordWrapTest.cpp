// Guide texts in lines of fixed-width characters.
#include <gtest/gtest.h>

#include "guide/WordWrap.h"

namespace {

using Lines = std::vector<std::string>;

TEST(WordWrap, BreaksAtTheLastBlankThatFits) {
    EXPECT_EQ(WrapWords("Die Sendung mit der Maus", 11), (Lines{"Die Sendung", "mit der", "Maus"}));
    EXPECT_EQ(WrapWords("ab cd", 2), (Lines{"ab", "cd"}));  // the blank just after a full line
    EXPECT_EQ(WrapWords("kurz", 10), (Lines{"kurz"}));
    EXPECT_EQ(WrapWords("", 10), Lines{});
    EXPECT_EQ(WrapWords("abc ", 3), (Lines{"abc"}));
}

TEST(WordWrap, LongWordsAreCutAtTheWidth) {
    EXPECT_EQ(WrapWords("Donaudampfschiff fahrt", 6), (Lines{"Donaud", "ampfsc", "hiff", "fahrt"}));
    EXPECT_EQ(WrapWords("abc", 0), (Lines{"a", "b", "c"}));
}

TEST(WordWrap, CountsCharactersNotBytes) {
    EXPECT_EQ(WrapWords("Grüße äöü ÄÖÜ", 5), (Lines{"Grüße", "äöü", "ÄÖÜ"}));
    EXPECT_EQ(WrapWords("äöüäöü", 4), (Lines{"äöüä", "öü"}));
}

TEST(WordWrap, OnlyTheFirstLineFeedEndsALine) {
    EXPECT_EQ(WrapWords("Titel\nerste zweite\ndritte", 40),
              (Lines{"Titel", "erste zweite\ndritte"}));
    EXPECT_EQ(WrapWords("aa bb cc\ndd", 5), (Lines{"aa bb", "cc", "dd"}));
    EXPECT_EQ(WrapWords("\nx", 5), (Lines{"", "x"}));
    EXPECT_EQ(WrapWords("x\n", 5), (Lines{"x"}));
}

}  // namespace
