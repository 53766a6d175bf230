#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ci/CSlotReadyFlags.h"
#include "ci/CiMenu.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Message(std::uint8_t type, const std::vector<std::string>& strings) {
    Bytes m = {type, 1, 0};
    for (const auto& s : strings) {
        m.insert(m.end(), s.begin(), s.end());
        m.push_back(0);
    }
    return m;
}

}  // namespace

TEST(CiMenuTest, MenuRowsWithTitleEmptySubtitleBottomAndTwoChoices) {
    const auto rows = CiMenu::Rows(Message(2, {"Titel", "", "Unten", "Eins", "Zwei"}));
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, (std::vector<CiMenuRow>{{"Titel", 0},
                                             {"", 0},
                                             {"", 0},
                                             {"", 0},
                                             {"1. Eins", 1},
                                             {"2. Zwei", 2},
                                             {"", 0},
                                             {"Unten", 0}}));
    // A double click: the second choice sends 2, the empty row after the
    // title 0, the title and no selection nothing.
    EXPECT_EQ(CiMenu::KeyForRow(*rows, 5), std::optional<std::uint8_t>(2));
    EXPECT_EQ(CiMenu::KeyForRow(*rows, 1), std::optional<std::uint8_t>(0));
    EXPECT_EQ(CiMenu::KeyForRow(*rows, 0), std::nullopt);
    EXPECT_EQ(CiMenu::KeyForRow(*rows, -1), std::nullopt);
    EXPECT_EQ(CiMenu::KeyForRow(*rows, 8), std::nullopt);
}

TEST(CiMenuTest, ControlBytesDroppedTextsInWindows1252AndIncompleteStrings) {
    Bytes m = Message(3, {"Men\xFC", "\x86Sub\x87", "Fu\xDF"});
    m.insert(m.end(), {'o', 'f', 'f', 'e', 'n'});  // no zero: not shown
    const auto rows = CiMenu::Rows(m);
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows,
              (std::vector<CiMenuRow>{
                  {"Men\xC3\xBC", 0}, {"", 0}, {"Sub", 0}, {"", 0}, {"", 0}, {"Fu\xC3\x9F", 0}}));
    // A text with a title only, and one without strings.
    EXPECT_EQ(CiMenu::Rows(Message(4, {"PIN korrekt"}))->size(), 2u);
    EXPECT_TRUE(CiMenu::Rows(Bytes{4, 0, 0, 'x'})->empty());
    EXPECT_FALSE(CiMenu::Rows(Bytes{4, 0, 0}));
}

TEST(CiMenuTest, AnswerAndKeyInputValues) {
    EXPECT_EQ(CiMenu::AnswerKeys("123456", 4), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(CiMenu::AnswerKeys("12", 4), (Bytes{1, 2}));
    EXPECT_EQ(CiMenu::KeyInputKeys("1 2 3 4 5 6 7 8 9 a", 6),
              (std::optional<Bytes>({0, 0, 1, 0, 0, 2})));
    EXPECT_EQ(CiMenu::KeyInputKeys("ff 0 0 0 0 0 0 0 0 7", 30)->size(), 30u);
    EXPECT_EQ(CiMenu::KeyInputKeys("ff 0 0 0 0 0 0 0 0 7", 30)->back(), 7);
    EXPECT_EQ(CiMenu::KeyInputKeys("ff 1 2 3 4 5 6 7 8 9", 3), (std::optional<Bytes>({2, 5, 5})));
    EXPECT_EQ(CiMenu::KeyInputKeys("1 2 3 4 5 6 7 8 9", 6), std::nullopt);
    EXPECT_EQ(CiMenu::KeyInputKeys("1 2 3 4 x 6 7 8 9 a", 6), std::nullopt);
}

TEST(CiMenuTest, SlotFlagsFollowReadyAndEmptyOnly) {
    CSlotReadyFlags flags;
    EXPECT_FALSE(flags.Apply(1, 1));  // module in slot: no change
    EXPECT_FALSE(flags.Ready(1));
    EXPECT_TRUE(flags.Apply(1, 2));
    EXPECT_FALSE(flags.Apply(1, 2));
    EXPECT_FALSE(flags.Apply(1, 1));
    EXPECT_FALSE(flags.Apply(1, 7));
    EXPECT_TRUE(flags.Ready(1));
    EXPECT_FALSE(flags.Ready(2));
    EXPECT_FALSE(flags.Apply(3, 2));
    EXPECT_TRUE(flags.Apply(1, 0));
    EXPECT_FALSE(flags.Ready(1));
}
