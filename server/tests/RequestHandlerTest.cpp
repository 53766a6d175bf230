#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <random>

#include "CEmulatedCard.h"
#include "CRequestHandler.h"
#include "DatagramRecorder.h"
#include "TsTestUtil.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/ParamBlock.h"

using namespace nvdvbsrv;
namespace kp = kestrel::protocol;

namespace {

using Recorder = testutil::DatagramRecorder;

using Block = std::array<uint8_t, kp::kParamBlockSize>;

class RequestHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        capture = testutil::TestDataDir() + "/tsduck-test_018_mediaset-psi-si.ts";
        std::string err;
        auto inst = CInstallation::Parse(
            "[card]\nbase_port = 41000\n[position A]\n"
            "transponder = 11494000 H 27500000 " +
                capture + "\n",
            "", err);
        ASSERT_TRUE(inst) << err;
        inst->speed = 50;
        card_ = std::make_unique<CEmulatedCard>(*inst, sink_);
        handler_ = std::make_unique<CRequestHandler>(*card_);
        block_.fill(0xCC);  // the client never clears the block
    }

    std::string capture;  // the transponder's broadcast; a lock needs it

    uint32_t Run(uint16_t code, std::initializer_list<std::pair<size_t, uint32_t>> slots = {},
                 uint32_t client = 1) {
        kp::BlockWriter w(block_);
        w.U16(0, code);
        for (auto [off, v] : slots) w.U32(off, v);
        return handler_->Handle(client, block_);
    }
    uint32_t U32(size_t off) { return kp::BlockReader(block_).U32(off); }
    uint16_t U16(size_t off) { return kp::BlockReader(block_).U16(off); }
    std::string Text(size_t off) { return kp::BlockReader(block_).Text(off, 400); }

    uint32_t Tune(uint32_t freq, uint32_t lof, uint32_t volts, uint32_t tone) {
        return Run(4906, {{12, freq},
                          {16, lof},
                          {20, 27500000},
                          {24, 0},
                          {28, 2},
                          {32, volts},
                          {36, tone},
                          {40, 0}});
    }

    Recorder sink_;
    std::unique_ptr<CEmulatedCard> card_;
    std::unique_ptr<CRequestHandler> handler_;
    Block block_;
};

}  // namespace

TEST_F(RequestHandlerTest, BoardAnswersWithTheConfiguredIdentity) {
    ASSERT_EQ(Run(25), 1u);
    EXPECT_EQ(U32(8), 0u);
    EXPECT_EQ(U32(12), 9u);
    EXPECT_EQ(Text(20), "127.0.0.1");
    EXPECT_EQ(Text(100).substr(0, U32(16)), "255.255.255.0");
    EXPECT_EQ(U16(180), 41000);
    ASSERT_EQ(Run(28), 1u);
    EXPECT_EQ(Text(16), "Norvane");
    EXPECT_EQ(U32(8), 7u);
    ASSERT_EQ(Run(300), 1u);
    EXPECT_EQ(U32(8), 1u);  // satellite
    ASSERT_EQ(Run(26), 1u);
    EXPECT_GE(U32(8), 0x10000000u);  // final firmware
    EXPECT_LE(Text(20).size(), 12u);
}

TEST_F(RequestHandlerTest, BootChecksTheFirmwareFolder) {
    const std::string dir = std::filesystem::temp_directory_path().string();
    auto boot = [&](const std::string& path) {
        kp::BlockWriter w(block_);
        w.Bytes(12, path.data(), path.size());
        return Run(21, {{8, uint32_t(path.size())}});
    };
    EXPECT_EQ(boot(dir), 1u);
    ASSERT_EQ(Run(2901), 1u);
    EXPECT_EQ(U32(8), 1u);
    EXPECT_EQ(boot(dir + "/no-such-firmware-folder"), 2u);
    ASSERT_EQ(Run(2901), 1u);
    EXPECT_EQ(U32(8), 0u);
    EXPECT_EQ(Run(21, {{8, 397}}), 10u);  // longer than the block holds
    EXPECT_EQ(Run(21, {{8, 0xFFFFFFFF}}), 10u);
}

TEST_F(RequestHandlerTest, MalformedRequestsGetAnErrorResult) {
    struct Case {
        uint16_t code;
        std::initializer_list<std::pair<size_t, uint32_t>> slots;
        uint32_t result;
    } cases[] = {
        {60, {{8, 0x12}, {44, 17}}, 10},   // filter longer than 16 bytes
        {60, {{8, 0x2000}, {44, 1}}, 10},  // PID beyond 13 bits
        {43, {{8, 200}, {12, 255}}, 10},   // DiSEqC message too long
        {4909, {{8, 4}, {12, 256}}, 10},   // burst beyond a byte
        {50, {{8, 0x10000}}, 10},          // video PID
        {64, {{8, 0x10000}}, 10},          // handle beyond 16 bits
        {70, {{8, 1}, {12, 0x10000}}, 10},
        {9999, {}, 11},
        {97, {{8, 1}, {20, 385}}, 10},  // OSD text running past the block
        {80, {{8, 0x2000}}, 10},        // teletext PID beyond 13 bits
        {81, {{8, 5}}, 2},              // not the teletext handle
    };
    for (const auto& c : cases) EXPECT_EQ(Run(c.code, c.slots), c.result) << c.code;
}

TEST_F(RequestHandlerTest, RandomBlocksNeverCrash) {
    std::mt19937 rng(1234);
    const uint16_t codes[] = {21,   23,   25,   26,   28, 29, 33, 331, 41,  43,
                              4902, 4904, 4906, 4909, 54, 60, 64, 70,  118, 130};
    for (int i = 0; i < 3000; ++i) {
        for (auto& b : block_) b = uint8_t(rng());
        kp::BlockWriter(block_).U16(0, codes[rng() % std::size(codes)]);
        const uint32_t r = handler_->Handle(rng() % 4, block_);
        EXPECT_NE(r, 0u);
    }
}

TEST_F(RequestHandlerTest, SignalFollowsTheLock) {
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "capture not found: " << capture;
    ASSERT_EQ(Tune(11494000, 9750000, 18, 0), 1u);
    EXPECT_EQ(U16(8), 0u);  // locked
    ASSERT_EQ(Run(4904, {{12, 500}}), 1u);
    EXPECT_EQ(U16(8), 0u);
    EXPECT_GT(U16(16 + 14), 0u);  // strength
    EXPECT_GT(U32(16 + 16), 0u);  // quality
    ASSERT_EQ(Run(33), 1u);
    EXPECT_EQ(block_[8], 0x1F);
    ASSERT_EQ(Run(4902), 1u);
    EXPECT_EQ(U32(12), 11494000u);
    EXPECT_EQ(U32(24), 0u);  // horizontal

    ASSERT_EQ(Tune(11494000, 9750000, 13, 0), 1u);
    EXPECT_EQ(U16(8), 1u);  // no lock
    ASSERT_EQ(Run(4904, {{12, 500}}), 1u);
    EXPECT_EQ(U16(16 + 14), 0u);
    EXPECT_EQ(U32(16 + 16), 0u);
    ASSERT_EQ(Run(41), 1u);
    EXPECT_EQ(U32(8), 0u);
    ASSERT_EQ(Run(33), 1u);
    EXPECT_EQ(block_[8], 0);
}

TEST_F(RequestHandlerTest, FilterHandlesAvoidFixedPortsAndBelongToTheirClient) {
    std::set<uint16_t> handles;
    for (;;) {
        block_[12] = 0x42;
        block_[28] = 0xFF;
        const uint32_t r = Run(60, {{8, 0x11}, {44, 1}, {48, 4}});
        if (r != 1) {
            EXPECT_EQ(r, 2u);
            break;
        }
        handles.insert(U16(8));
        ASSERT_LT(handles.size(), 1000u);
    }
    EXPECT_EQ(handles.size(), CEmulatedCard::kMaxFilters);
    for (uint16_t h = 32; h <= 37; ++h) EXPECT_FALSE(handles.count(h)) << h;
    const uint16_t first = *handles.begin();
    EXPECT_EQ(Run(64, {{8, first}}, 2), 2u);  // another client's filter
    EXPECT_EQ(Run(64, {{8, first}}, 1), 1u);
    EXPECT_EQ(Run(64, {{8, first}}, 1), 2u);  // already gone
}

// A client gone silent loses its filters but keeps their handles: nobody
// else is given them while its filter objects may still name them; it frees
// one by removing it (which succeeds, the filter being gone), or all of them
// by going.
TEST_F(RequestHandlerTest, HandlesOfASuspendedClientAreNotGivenToOthers) {
    const auto setFilter = [&](uint32_t client) {
        block_[12] = 0x42;
        block_[28] = 0xFF;
        EXPECT_EQ(Run(60, {{8, 0x11}, {44, 1}, {48, 4}}, client), 1u);
        return U16(8);
    };
    const uint16_t first = setFilter(1);
    const uint16_t second = setFilter(1);
    card_->SuspendClient(1);
    const uint16_t other = setFilter(2);
    EXPECT_NE(other, first);
    EXPECT_NE(other, second);
    EXPECT_EQ(Run(64, {{8, first}}, 2), 2u);  // not the other client's to free
    EXPECT_EQ(Run(64, {{8, first}}, 1), 1u);  // gone already: freed
    EXPECT_EQ(setFilter(2), first);
    card_->RemoveClient(1);
    EXPECT_EQ(setFilter(2), second);
}

TEST_F(RequestHandlerTest, CiDataLongerThanTheBlockHoldsIsCut) {
    block_[12] = 1;  // slot 1
    ASSERT_EQ(Run(130, {{8, 9}, {44, 300}}), 1u);
    ASSERT_EQ(sink_.got.size(), 1u);
    EXPECT_EQ(sink_.got[0].first, 34);
    EXPECT_EQ(sink_.got[0].second[0], 2);  // the module's menu
}

TEST_F(RequestHandlerTest, RemoteKeysGoOutOnlyWhileTheReceiverIsOn) {
    EXPECT_FALSE(card_->PressKey(46));
    ASSERT_EQ(Run(70, {{8, 1}, {12, 0xFFFF}}), 1u);
    EXPECT_TRUE(card_->PressKey(46));
    ASSERT_EQ(Run(70, {{8, 0}, {12, 0xFFFF}}), 1u);
    EXPECT_FALSE(card_->PressKey(12));
    ASSERT_EQ(sink_.got.size(), 1u);
    EXPECT_EQ(sink_.got[0].first, 37);
    EXPECT_EQ(sink_.got[0].second, (std::vector<uint8_t>{46, 0x80}));
}

// The table serves exactly the codes the card knows: the gaps between the
// groups (44-46, 83, ...) and codes past the last one answer "unknown", and
// the groups the card does not have answer "not available".
TEST_F(RequestHandlerTest, CommandTableServesTheKnownCodesOnly) {
    int served = 0;
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        if (!CRequestHandler::Serves(uint16_t(code))) {
            block_.fill(0);
            ASSERT_EQ(Run(uint16_t(code)), 11u) << code;
        } else {
            ++served;
        }
    }
    EXPECT_EQ(served, 118);
    for (uint16_t gap : {0,   9,   18,  19,   44,   45,   46,   61,  63,  65,  83,  85, 109,
                         117, 131, 147, 4900, 4913, 2900, 2902, 301, 332, 497, 589, 597}) {
        EXPECT_FALSE(CRequestHandler::Serves(gap)) << gap;
    }
    for (uint16_t code : {10,   17,   20, 29, 300, 2901, 30, 43, 47, 49, 331, 491, 495,
                          4901, 4912, 50, 59, 590, 596,  60, 64, 70, 80, 82,  84,  130}) {
        EXPECT_TRUE(CRequestHandler::Serves(code)) << code;
    }
    // The recorder: a form it does not know, a name past the block.
    block_.fill(0);
    EXPECT_EQ(Run(118, {{8, 0}}), 3u);
    EXPECT_EQ(Run(140, {{8, 9}}), 3u);
    EXPECT_EQ(Run(118, {{8, 5}, {16, 381}}), 10u);
    EXPECT_EQ(Run(146, {{8, 2}}), 10u);
    block_.fill(0);
    EXPECT_EQ(Run(90), 10u);  // the OSD is there; window 0 is not
}

namespace {

// An installation can make the start-up requests fail, one by one; without
// it they all succeed.
TEST(StartStepFailures, TheNamedStepsAnswerWithAFailure) {
    const std::pair<StartStep, uint16_t> steps[] = {
        {StartStep::InitPci, 20},
        {StartStep::BootArm, 21},
        {StartStep::FrontendInit, 30},
        {StartStep::FrontendType, 300},
    };
    std::string err;
    const std::string firmware = testing::TempDir();
    for (const auto& [failing, failingCode] : steps) {
        auto inst = CInstallation::Parse("[card]\n", "", err);
        ASSERT_TRUE(inst) << err;
        inst->failingSteps = {failing};
        Recorder sink;
        CEmulatedCard card(*inst, sink);
        CRequestHandler handler(card);
        for (const auto& [step, code] : steps) {
            Block block{};
            kp::BlockWriter w(block);
            w.U16(0, code);
            if (code == 21) {  // BootARM with an existing folder
                w.U32(8, uint32_t(firmware.size()));
                w.Bytes(12, firmware.data(), firmware.size());
            }
            EXPECT_EQ(handler.Handle(1, block), step == failing ? 2u : 1u)
                << "command " << code << " with " << failingCode << " failing";
        }
    }
}

}  // namespace

TEST_F(RequestHandlerTest, TeletextSearchTableHoldsEveryPageWhileTeletextIsOn) {
    auto table = [&](uint32_t page, uint32_t subpage, uint32_t third, uint32_t request) {
        return Run(82, {{8, page}, {12, subpage}, {16, third}, {20, request}});
    };
    EXPECT_EQ(table(0xFFFF, 0xFFFF, 0xFFFF, 1), 2u);  // teletext is off
    EXPECT_EQ(Run(84, {{8, 0}}), 2u);
    ASSERT_EQ(Run(80, {{8, 0x100}}), 1u);
    const uint16_t handle = U16(8);
    EXPECT_EQ(handle, 32);
    EXPECT_EQ(table(0xFFFF, 0xFFFF, 0xFFFF, 1), 1u);
    EXPECT_EQ(table(0x100, 0xFFFF, 0xFFFF, 1), 12u);  // no table of single pages
    EXPECT_EQ(table(0xFFFF, 0xFFFF, 0xFFFF, 0), 12u);
    EXPECT_EQ(table(0x10000, 0xFFFF, 0xFFFF, 1), 10u);
    EXPECT_EQ(Run(84, {{8, 0}}), 1u);
    ASSERT_EQ(Run(81, {{8, handle}}), 1u);
    EXPECT_EQ(table(0xFFFF, 0xFFFF, 0xFFFF, 1), 2u);
    EXPECT_EQ(Run(81, {{8, handle}}), 2u);  // already off
}
