// The playlist's order: repetitions in a row, the wrap after the last entry,
// the empty list, the statuses, a stop outside the list, a removed entry.
#include <gtest/gtest.h>

#include <vector>

#include "recording/CPlayListSequencer.h"

namespace {

struct Player : IPlayListPlayer {
    std::vector<std::string> log;
    bool fail = false;
    void CloseTitle() override { log.push_back("close"); }
    bool OpenAndPlay(const std::string& name) override {
        log.push_back(name);
        return !fail;
    }
    void ShowEmptyList() override { log.push_back("empty"); }
};

CPlayListFile List(std::initializer_list<std::pair<const char*, std::uint32_t>> entries) {
    CPlayListFile list;
    for (const auto& [name, repetitions] : entries) {
        CPlayListEntry e;
        e.fileName = name;
        e.repetitions = repetitions;
        list.entries.push_back(e);
    }
    return list;
}

// The names played by `n` plays, each title closed by the next.
std::vector<std::string> Played(CPlayListSequencer& s, Player& p, int n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        s.PlayNext(QDateTime::currentDateTime());
        names.push_back(p.log.back());
    }
    return names;
}

TEST(PlayListSequencer, RepetitionsInARowThenTheNextAndRoundAgain) {
    CPlayListFile list = List({{"a", 3}, {"b", 1}, {"c", 2}});
    Player player;
    CPlayListSequencer s(list, player);
    EXPECT_EQ(Played(s, player, 9),
              (std::vector<std::string>{"a", "a", "a", "b", "c", "c", "a", "a", "a"}));
    EXPECT_EQ(player.log[1], "close") << "the title before is closed first";
}

TEST(PlayListSequencer, EndlessPlayOfTwoEntriesAlternates) {
    CPlayListFile list = List({{"1", 1}, {"2", 1}});
    Player player;
    CPlayListSequencer s(list, player);
    std::vector<std::string> names;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(s.PlayNext(QDateTime::currentDateTime()), CPlayListSequencer::Result::Played);
        names.push_back(player.log.back());
        EXPECT_EQ(s.PlayingEntry()->status, CPlayListEntry::Playing);
        s.TitleEnded();  // played to its end
    }
    EXPECT_EQ(names, (std::vector<std::string>{"1", "2", "1", "2", "1"}));
    EXPECT_EQ(list.entries[0].status, CPlayListEntry::Finished);
    EXPECT_EQ(list.entries[0].lastPlayed.status, ArchiveDateTime::Valid);
}

TEST(PlayListSequencer, EmptyListPlaysNothing) {
    CPlayListFile list;
    Player player;
    CPlayListSequencer s(list, player);
    EXPECT_EQ(s.PlayNext(QDateTime::currentDateTime()), CPlayListSequencer::Result::EmptyList);
    EXPECT_EQ(player.log, (std::vector<std::string>{"empty"}));
    EXPECT_FALSE(s.TitlePlaying());
}

TEST(PlayListSequencer, StopOutsideTheListStartsFromTheFirstEntry) {
    CPlayListFile list = List({{"a", 1}, {"b", 1}, {"c", 1}});
    Player player;
    CPlayListSequencer s(list, player);
    Played(s, player, 2);  // a, b
    s.Stopped();           // b stopped: finished, the cursor stays
    EXPECT_EQ(list.entries[1].status, CPlayListEntry::Finished);
    EXPECT_EQ(s.Cursor(), 1);
    s.Stopped();  // nothing of the list plays now
    EXPECT_EQ(s.Cursor(), 0);
    EXPECT_EQ(Played(s, player, 2), (std::vector<std::string>{"a", "b"}));
}

TEST(PlayListSequencer, AFailedTitleIsNotPlayingAndARemovedEntryTakesNoStatus) {
    CPlayListFile list = List({{"a", 1}, {"b", 1}});
    Player player;
    CPlayListSequencer s(list, player);
    player.fail = true;
    EXPECT_EQ(s.PlayNext(QDateTime::currentDateTime()), CPlayListSequencer::Result::Failed);
    EXPECT_FALSE(s.TitlePlaying());
    player.fail = false;
    ASSERT_EQ(s.PlayNext(QDateTime::currentDateTime()), CPlayListSequencer::Result::Played);
    list.entries.pop_back();  // "b" removed while it plays
    EXPECT_EQ(s.PlayingEntry(), nullptr);
    s.TitleEnded();
    EXPECT_EQ(list.entries[0].status, CPlayListEntry::Playing)
        << "a's status from its failed start";
}

}  // namespace
