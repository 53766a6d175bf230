// The card's file method as a back end: the calls it makes, the card put
// back to its file method before every open and playback, the status read
// only when the card answers it.
#include <gtest/gtest.h>

#include "receiver/CFakeDeviceSet.h"
#include "recording/CHighLevelBackEnd.h"

namespace {

using Lines = std::vector<std::string>;

TEST(HighLevelBackEnd, PassesEachOperationToTheCardsRecorder) {
    CFakeDeviceSet card;
    CHighLevelBackEnd backEnd(card);
    int announced = 0;
    EXPECT_EQ(backEnd.SetStatusChangedMessage([&] { ++announced; }, 1239, 1), 1);
    EXPECT_EQ(backEnd.Open("/tmp/a.pva", 5, 1), 1);
    EXPECT_EQ(backEnd.Playback(0), 1);
    EXPECT_EQ(backEnd.Pause(), 1);
    EXPECT_EQ(backEnd.SlowPlayback(2), 1);
    EXPECT_EQ(backEnd.FastPlayback(1), 1);
    EXPECT_EQ(backEnd.Stop(), 1);
    EXPECT_EQ(backEnd.Close(), 1);
    EXPECT_EQ(backEnd.Open("/tmp/b.pva", 5, 0), 1);
    EXPECT_EQ(backEnd.Record(), 1);
    EXPECT_EQ(card.Calls(),
              (Lines{"RecSetStatusChangedMessage 1239 1", "WS_RecPlayMethod 0",
                     "RecOpen /tmp/a.pva 5 1", "WS_RecPlayMethod 0", "RecPlayback 0", "RecPause",
                     "RecSlowPlayback 2", "RecFastPlayback 1", "RecStop", "RecClose",
                     "WS_RecPlayMethod 0", "RecOpen /tmp/b.pva 5 0", "RecRecord"}));
    EXPECT_TRUE(card.AnnounceRecorderChange());
    EXPECT_EQ(announced, 1);
}

TEST(HighLevelBackEnd, ResultsAndStatusAsTheCardGivesThem) {
    CFakeDeviceSet card;
    CHighLevelBackEnd backEnd(card);
    card.ScriptResult("RecOpen", 3);
    EXPECT_EQ(backEnd.Open("/tmp/long", 2, 1), 3);
    card.ScriptResult("RecPlayback", 9);
    EXPECT_EQ(backEnd.Playback(1500), 9);
    EXPECT_EQ(card.CallsStartingWith("RecPlayback"), Lines{"RecPlayback 1500"});

    card.recorderStatus = {CardResult{}, 24000, 192, 1000, 2, 5};
    RecPlayStatus status;
    EXPECT_EQ(backEnd.GetStatus(status), 1);
    EXPECT_EQ(status.lengthMs, 24000u);
    EXPECT_EQ(status.kbits, 192u);
    EXPECT_EQ(status.positionMs, 1000u);
    EXPECT_EQ(status.mode, 2);
    EXPECT_EQ(status.format, 5);

    card.ScriptResult("RecGetStatus", 9);
    card.recorderStatus.positionMs = 7;
    EXPECT_EQ(backEnd.GetStatus(status), 9);
    EXPECT_EQ(status.positionMs, 1000u) << "left as it was";
}

}  // namespace
