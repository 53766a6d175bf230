// The card's keep-alive on the program's event loop. The server frees the
// filters of a client that stays silent for its keep-alive time (here
// 1.5 s); with CKestrelCard started the Qt loop keeps the connection alive
// and sections still arrive after more than twice that time. Without the
// connection on the loop (the control case) the filter is dropped.
#include <memory>

#include "CardServerTest.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/IDispatcher.h"
#include "receiver/CKestrelCard.h"
#include "receiver/CKestrelReceiver.h"
#include "receiver/CQtDispatcher.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kShortTimeout = "--keepalive-timeout-ms 1500";
constexpr auto kKeepAlive = 400ms;
constexpr auto kSilence = 3500ms;  // more than twice the server's time-out
constexpr auto kWindow = 1000ms;   // sections are counted in this last stretch

class KeepAliveTest : public CardServerTest {
  protected:
    // Tunes, holds a PAT filter open for kSilence, and returns how many
    // sections came in the kWindow after that (and in the first second).
    void HoldFilterOpen(IReceiver& receiver, int& early, int& late) {
        ASSERT_EQ(receiver.Tune(list_, Rai()).status, TuneStatus::Locked);
        int count = 0;
        auto pat = receiver.SubscribeSections({0, 0, std::nullopt}, [&](auto) { ++count; });
        ASSERT_TRUE(pat);
        RunLoopFor(1000ms);
        early = count;
        RunLoopFor(kSilence - 1000ms);
        count = 0;
        RunLoopFor(kWindow);
        late = count;
    }
};

}  // namespace

TEST_F(KeepAliveTest, SectionsStillArriveWithTheCardOnTheQtLoop) {
    ASSERT_TRUE(Connect(kShortTimeout, kKeepAlive));
    CKestrelCard card;
    card.StartUp(nullptr);
    ASSERT_NE(card.Receiver(), nullptr);
    int early = 0, late = 0;
    HoldFilterOpen(*card.Receiver(), early, late);
    EXPECT_GT(early, 0);
    EXPECT_GT(late, 0) << "the filter was dropped although the keep-alive ran";
    card.TearDown();
    EXPECT_FALSE(kestrel::CServerConnection::Instance().IsConnected());
    EXPECT_EQ(card.Receiver(), nullptr);
}

TEST_F(KeepAliveTest, WithoutTheConnectionOnTheLoopTheServerDropsTheFilter) {
    ASSERT_TRUE(Connect(kShortTimeout, kKeepAlive));
    // The receivers run on the Qt loop, but the connection is not attached:
    // no keep-alive goes out.
    CQtDispatcher dispatcher;
    kestrel::SetDispatcher(&dispatcher);
    int early = 0, late = 0;
    {
        CKestrelReceiver receiver;
        HoldFilterOpen(receiver, early, late);
    }
    kestrel::SetDispatcher(nullptr);
    EXPECT_GT(early, 0);
    EXPECT_EQ(late, 0) << "sections kept coming without a keep-alive";
}
