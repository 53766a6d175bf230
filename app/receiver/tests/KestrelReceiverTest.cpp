// CKestrelReceiver against the emulated card playing real captures: tuning
// from channel-list programs, sections with and without extension, ending a
// subscription inside its callback, teletext pages, decoder and recorder.
#include <QTest>
#include <memory>

#include "CardServerTest.h"
#include "kestrel/IDispatcher.h"
#include "receiver/CKestrelReceiver.h"
#include "receiver/CQtDispatcher.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

void NoSleep(std::chrono::milliseconds) {}

class KestrelReceiverTest : public CardServerTest {
  protected:
    void SetUp() override {
        CardServerTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(Connect());
        dispatcher_ = std::make_unique<CQtDispatcher>();
        kestrel::SetDispatcher(dispatcher_.get());
        receiver_ = std::make_unique<CKestrelReceiver>(&NoSleep);
    }
    void TearDown() override {
        receiver_.reset();
        kestrel::SetDispatcher(nullptr);
        dispatcher_.reset();
        CardServerTest::TearDown();
    }
    std::unique_ptr<CQtDispatcher> dispatcher_;
    std::unique_ptr<CKestrelReceiver> receiver_;
};

}  // namespace

TEST_F(KestrelReceiverTest, TunesProgramsOfTheListAndReportsLock) {
    const TuneResult rai = receiver_->Tune(list_, Rai());
    EXPECT_EQ(rai.status, TuneStatus::Locked);
    EXPECT_TRUE(rai.cardResult.Ok());
    EXPECT_EQ(rai.frontendStatus, 0);
    EXPECT_EQ(rai.plan.Lof, 10600000u);
    EXPECT_EQ(rai.plan.LnbVoltage, 13u);

    EXPECT_EQ(receiver_->Tune(list_, Nowhere()).status, TuneStatus::NotLocked);
    const TuneResult lost = receiver_->Tune(list_, NoLnb());
    EXPECT_EQ(lost.status, TuneStatus::NoLnb);
    EXPECT_EQ(lost.plan, CTuningPlan{});
}

TEST_F(KestrelReceiverTest, PatArrivesWholeAndFiltersByExtension) {
    ASSERT_EQ(receiver_->Tune(list_, Rai()).status, TuneStatus::Locked);
    std::vector<Bytes> any, right, wrong;
    SubscribeError error;
    auto a = receiver_->SubscribeSections(
        {0, 0, std::nullopt}, [&](auto s) { any.emplace_back(s.begin(), s.end()); }, &error);
    ASSERT_TRUE(a) << error.kind << " " << error.code;
    auto b = receiver_->SubscribeSections(
        {0, 0, kRaiTsid}, [&](auto s) { right.emplace_back(s.begin(), s.end()); }, &error);
    ASSERT_TRUE(b);
    auto c = receiver_->SubscribeSections(
        {0, 0, kRaiTsid + 1}, [&](auto s) { wrong.emplace_back(s.begin(), s.end()); }, &error);
    ASSERT_TRUE(c);
    EXPECT_EQ(receiver_->SectionSubscriptionCount(), 3u);
    ASSERT_TRUE(RunLoopUntil([&] { return any.size() >= 2 && right.size() >= 2; }, 5s));
    RunLoopFor(200ms);

    const Bytes& pat = any.front();
    ASSERT_GE(pat.size(), 12u);
    EXPECT_EQ(pat[0], 0x00);
    EXPECT_EQ(pat.size(), 3u + (((pat[1] & 0x0F) << 8) | pat[2]));
    EXPECT_EQ((pat[3] << 8) | pat[4], kRaiTsid);
    EXPECT_TRUE(CrcHolds(pat));
    EXPECT_EQ(right.front(), pat);
    EXPECT_TRUE(wrong.empty());
}

TEST_F(KestrelReceiverTest, SubscriptionEndedInsideItsCallbackGetsNoMore) {
    ASSERT_EQ(receiver_->Tune(list_, Rai()).status, TuneStatus::Locked);
    int once = 0, steady = 0;
    CSubscription first;
    first = receiver_->SubscribeSections({0, 0, std::nullopt}, [&](auto) {
        ++once;
        first.Reset();
    });
    auto second = receiver_->SubscribeSections({0, 0, std::nullopt}, [&](auto) { ++steady; });
    ASSERT_TRUE(first);
    ASSERT_TRUE(RunLoopUntil([&] { return steady >= 3; }, 8s));
    EXPECT_EQ(once, 1);
    EXPECT_EQ(receiver_->SectionSubscriptionCount(), 1u);
    second.Reset();
    EXPECT_EQ(receiver_->SectionSubscriptionCount(), 0u);
}

// Pages of the ARTE capture's teletext: 1960-byte datagrams whose header row
// carries the broadcaster's name.
TEST_F(KestrelReceiverTest, TeletextPagesArriveAndOnlyOneAcquisitionRuns) {
    ASSERT_EQ(receiver_->Tune(list_, Arte()).status, TuneStatus::Locked);
    std::vector<Bytes> pages;
    SubscribeError error;
    auto ttx = receiver_->SubscribeTeletext(
        kArteTeletextPid, [&](auto p) { pages.emplace_back(p.begin(), p.end()); }, &error);
    ASSERT_TRUE(ttx) << error.kind << " " << error.code;
    EXPECT_FALSE(receiver_->SubscribeTeletext(
        kArteTeletextPid, [](auto) {}, &error));
    EXPECT_EQ(error.kind, SubscribeError::Busy);
    ASSERT_TRUE(RunLoopUntil([&] { return pages.size() >= 3; }, 8s));
    const Bytes& page = pages.front();
    ASSERT_EQ(page.size(), 1960u);
    EXPECT_GE(page[1000], 1);
    EXPECT_LE(page[1000], 8);
    std::string header;
    for (int i = 0; i < 40; ++i) header += char(page[i] & 0x7F);  // without parity
    EXPECT_NE(header.find("ARTE"), std::string::npos) << header;

    ttx.Reset();
    pages.clear();
    RunLoopFor(300ms);
    EXPECT_TRUE(pages.empty());
    EXPECT_TRUE(receiver_->SubscribeTeletext(kArteTeletextPid, [](auto) {}));  // free again
}

TEST_F(KestrelReceiverTest, DecoderKeepsThePids) {
    ASSERT_EQ(receiver_->Tune(list_, Rai()).status, TuneStatus::Locked);
    EXPECT_TRUE(receiver_->SetVideoPid(0x0200).Ok());
    EXPECT_TRUE(receiver_->SetAudioPid(0x0290).Ok());
    const DecoderState state = receiver_->ReadDecoderState();
    ASSERT_TRUE(state.result.Ok()) << state.result.code;
    EXPECT_EQ(state.videoPid, 0x0200);
    EXPECT_EQ(state.audioPid, 0x0290);
}
