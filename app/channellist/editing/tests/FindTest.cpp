#include <gtest/gtest.h>

#include <QPushButton>

#include "TestHost.h"
#include "channellist/editing/CFindDialog.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CProgramFinder.h"

namespace {
using Dir = CProgramFinder::Direction;

class FindTest : public ::testing::Test {
  protected:
    void SetUp() override { host.AddPrograms({"ZDF", "Das Erste", "zdf_neo", "arte", "ZDFinfo"}); }
    TestHost host;
    RecordingSink sink;
    CListEditor editor{host, sink};
    CProgramFinder finder{editor};
};
}  // namespace

TEST_F(FindTest, DownwardsFromTheSelectionByPartOfTheName) {
    host.selected = {0};
    EXPECT_EQ(finder.Find("zdf", false, Dir::Down, false), std::optional<std::size_t>(2));
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{2}));
    EXPECT_EQ(finder.Find("zdf", false, Dir::Down, false), std::optional<std::size_t>(4));
}

TEST_F(FindTest, UpwardsFromTheSelection) {
    host.selected = {4};
    EXPECT_EQ(finder.Find("ZDF", false, Dir::Up, false), std::optional<std::size_t>(2));
    EXPECT_EQ(finder.Find("ZDF", false, Dir::Up, false), std::optional<std::size_t>(0));
}

TEST_F(FindTest, MatchCase) {
    host.selected = {0};
    EXPECT_EQ(finder.Find("ZDF", true, Dir::Down, false), std::optional<std::size_t>(4));
}

TEST_F(FindTest, NoWrapAroundAndAMessageWhenNothingIsLeft) {
    host.selected = {4};
    EXPECT_EQ(finder.Find("arte", false, Dir::Down, false), std::nullopt);
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{4}));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, QStringLiteral("Keine Übereinstimmung gefunden"));
    EXPECT_TRUE(sink.messages[0].topmost);
}

TEST_F(FindTest, FromStartIgnoresTheSelectionAndFollowsRowOrder) {
    host.listedOverride = {3, 4, 1, 0};  // sorted differently from the document
    host.selected = {0};
    EXPECT_EQ(finder.Find("ZDF", false, Dir::Down, true), std::optional<std::size_t>(4));
    EXPECT_EQ(finder.Find("ZDF", false, Dir::Up, true), std::optional<std::size_t>(0));
}

TEST_F(FindTest, DialogButtons) {
    CFindDialog dialog(editor);
    EXPECT_FALSE(dialog.FindButton()->isEnabled());  // nothing to search for yet
    dialog.SetText("erste");
    dialog.FindButton()->click();
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{1}));
    dialog.SetText("zdf");
    dialog.SetDirection(Dir::Up);
    dialog.FindNextButton()->click();
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{0}));
}
