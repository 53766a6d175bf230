// The request primitive: mutex waits, block layout, replies only on success.
#include <gtest/gtest.h>

#include <thread>

#include "CServerLink.h"
#include "Connected.h"
#include "Request.h"
#include "kestrel/CBoardControl.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CPIDFilter.h"
#include "kestrel/CRecordPlayback.h"
#include "kestrel/CTeletext.h"

namespace kestrel::test {
namespace {

using RequestTest = ConnectedTest;
using protocol::BlockWriter;
using protocol::Command;

// Holds the server's parameter mutex on another thread for a while.
class MutexHolder {
  public:
    MutexHolder(protocol::SharedMutex& m, std::chrono::milliseconds hold) {
        thread_ = std::thread([&m, hold, this] {
            m.LockForever();
            locked_ = true;
            std::this_thread::sleep_for(hold);
            m.Unlock();
        });
        while (!locked_) std::this_thread::yield();
    }
    ~MutexHolder() { thread_.join(); }

  private:
    std::atomic<bool> locked_{false};
    std::thread thread_;
};

TEST_F(RequestTest, SlotsAreWrittenAndTheBlockIsNeverCleared) {
    Reply(1, [](BlockWriter& w) { w.U32(200, 0xAABBCCDD); });  // leftover of a reply
    CFrontend fe;
    EXPECT_EQ(fe.SetLNBParams(1, -2, 3, 4), CCommonDVB::RET_OK);
    auto r = Seen();
    EXPECT_EQ(lastCode_, 36);
    EXPECT_EQ(r.U16(0), 36);
    EXPECT_EQ(r.U32(8), 1u);
    EXPECT_EQ(r.I32(12), -2);
    EXPECT_EQ(r.U32(16), 3u);
    EXPECT_EQ(r.U32(20), 4u);
    EXPECT_EQ(r.U32(200), 0xAABBCCDDu);  // the client did not clear it
}

TEST_F(RequestTest, ByteAndWordArgumentsAreZeroExtended) {
    Reply(1, [](BlockWriter& w) {
        w.U32(8, 0xFFFFFFFF);
        w.U32(12, 0xFFFFFFFF);
    });
    CFrontend fe;
    fe.SetLNBParams(0, 0, 0, 0);  // leaves 0xFF.. in slots 8 and 12 via the reply
    EXPECT_EQ(fe.SetSlowBlank(0x80), CCommonDVB::RET_OK);
    EXPECT_EQ(Seen().U32(8), 0x80u);
}

TEST_F(RequestTest, HeldMutexTimesOutWithoutSending) {
    Reply(1);
    const int before = Requests();
    MutexHolder hold(server_->ParamMutex(), std::chrono::milliseconds(400));
    CBoardControl board;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_EQ(Requests(), before);
}

TEST_F(RequestTest, DefaultWaitIsOneSecond) {
    // Reconnect with the production request wait.
    CServerConnection::Instance().Disconnect();
    server_.reset();
    server_ = std::make_unique<FakeServer>();
    ConnectTimings t = FastTimings();
    t.requestWait = ConnectTimings{}.requestWait;
    ASSERT_TRUE(CServerConnection::Instance().Connect(t));
    CBoardControl board;
    {
        MutexHolder hold(server_->ParamMutex(), std::chrono::milliseconds(700));
        EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_OK);  // 700 ms is within the limit
    }
    {
        MutexHolder hold(server_->ParamMutex(), std::chrono::milliseconds(1300));
        EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_TIMEOUT);
    }
}

TEST_F(RequestTest, AbandonedMutexFailsOnceThenWorks) {
    Reply(1);
    std::thread([&] { server_->ParamMutex().LockForever(); }).join();  // dies holding it
    CBoardControl board;
    const int before = Requests();
    EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_TIMEOUT);
    EXPECT_EQ(Requests(), before);
    EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_OK);
}

TEST_F(RequestTest, ServerFailureCodesPassThroughAndLeaveOutputsAlone) {
    Reply(17, [](BlockWriter& w) {
        for (std::size_t o = 8; o < 400; o += 4) w.U32(o, 0x41414141);
    });
    CBoardControl board;
    std::string mac = "keep", text = "keep";
    int check = 5, result = 5, state = 5;
    EXPECT_EQ(board.GetMAC(mac, check), 17);
    EXPECT_EQ(check, -1);  // preset
    EXPECT_EQ(mac, "keep");
    EXPECT_EQ(board.GetSelfTestResult(result, text), 17);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(board.GetFWRunningState(state), 17);
    EXPECT_EQ(state, 0);

    CRecordPlayback rec;
    std::uint32_t a = 1, b = 2, c = 3;
    REC_PLAY_MODE mode = RP_PAUSED;
    TYPE_REC_PLAY_FORMAT fmt = RP_AUDIO_MP2;
    EXPECT_EQ(rec.GetStatus(a, b, c, mode, fmt), 17);
    EXPECT_EQ(std::tie(a, b, c), std::make_tuple(1u, 2u, 3u));
    EXPECT_EQ(mode, RP_PAUSED);
    EXPECT_EQ(fmt, RP_AUDIO_MP2);

    CFrontend fe;
    std::uint16_t status = 77;
    EXPECT_EQ(fe.zSetChannel(status, CHANNEL_TYPE{}), 17);
    EXPECT_EQ(status, 77);
}

TEST_F(RequestTest, RepliesAreReadOnSuccess) {
    Reply(1, [](BlockWriter& w) {
        w.U32(8, 0);
        w.U32(12, 9);
        w.U32(16, 13);
        w.Bytes(20, "127.0.0.1", 10);
        w.Bytes(100, "255.255.255.0", 14);
        w.U16(180, 5000);
    });
    CBoardControl board;
    std::string ip, mask;
    int check = 0;
    EXPECT_EQ(board.GetIP(ip, mask, check), CCommonDVB::RET_OK);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(ip, "127.0.0.1");
    EXPECT_EQ(mask, "255.255.255.0");
}

TEST_F(RequestTest, RequestFieldsPastTheBlockAreRefused) {
    Request r(Command::Board_PingDVBServer);
    r.Slot(404, 1);
    EXPECT_TRUE(r.ok());
    r.Slot(405, 1);
    EXPECT_FALSE(r.ok());
    const int before = Requests();
    EXPECT_EQ(CServerLink::Instance().Transact(r), CCommonDVB::RET_INVALID);
    EXPECT_EQ(Requests(), before);
    Request low(Command::Board_PingDVBServer);
    low.Slot(4, 1);  // bytes 2..7 belong to nobody
    EXPECT_FALSE(low.ok());
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

// A server that keeps the block locked after answering: ordinary replies give
// up after the request wait, the filter handle is waited for as long as for
// an answer.
class SlowReplyTest : public KestrelTest {};

TEST_F(SlowReplyTest, FilterHandleIsWaitedForAsLongAsForAnAnswer) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.holdAfterResult = std::chrono::milliseconds(300);  // past the 150 ms request wait
    FakeServer server(o);
    ASSERT_TRUE(ConnectFast());
    server.SetHandler([](std::uint16_t, std::span<std::uint8_t> b) {
        BlockWriter(b).U16(8, 6);
        return 1u;
    });
    CTeletext ttx;
    EXPECT_EQ(ttx.TTXOn(0x20), CCommonDVB::RET_TIMEOUT);  // carried out, reply not read
    EXPECT_EQ(ttx.GetFilterHandle(), CTeletext::kNoHandle);
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    CPIDFilter filter;
    const std::uint8_t f[1] = {0}, m[1] = {0xFF};
    EXPECT_EQ(filter.SetBitFilter(0, f, m, 1, 4), CCommonDVB::RET_OK);
    EXPECT_EQ(filter.GetFilterHandle(), 6);
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
}

TEST_F(SlowReplyTest, FilterHandleHeldPastTheAnswerLimitIsATimeout) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.holdAfterResult = std::chrono::milliseconds(900);  // past the 600 ms answer limit
    FakeServer server(o);
    ASSERT_TRUE(ConnectFast());
    CPIDFilter filter;
    const std::uint8_t f[1] = {0}, m[1] = {0xFF};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(filter.SetBitFilter(0, f, m, 1, 4), CCommonDVB::RET_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(850));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

// A server that stops answering (stopped, hung): the request comes back with
// the wait failure after the answer limit, the connection is given up, and
// every later request and the disconnect return at once.
TEST_F(SlowReplyTest, SilentServerTimesOutOnceAndThenFailsAtOnce) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.answerRequests = false;
    FakeServer server(o);
    ASSERT_TRUE(ConnectFast());
    using Clock = std::chrono::steady_clock;
    CBoardControl board;
    auto start = Clock::now();
    EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_TIMEOUT);
    const auto first = Clock::now() - start;
    EXPECT_GE(first, std::chrono::milliseconds(550));
    EXPECT_LT(first, std::chrono::milliseconds(1500));
    start = Clock::now();
    EXPECT_NE(board.PingDVBServer(), CCommonDVB::RET_OK);
    EXPECT_NE(board.PingDVBServer(), CCommonDVB::RET_OK);
    CServerConnection::Instance().Disconnect();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(server.requests(), 1);  // the later ones never reached it
}

// The disconnect waits for the server's answer no longer than its own limit.
TEST_F(SlowReplyTest, DisconnectFromASilentServerIsBounded) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.answerRequests = false;
    FakeServer server(o);
    ASSERT_TRUE(ConnectFast());
    const auto start = std::chrono::steady_clock::now();
    CServerConnection::Instance().Disconnect();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(250));
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    EXPECT_EQ(server.disconnects(), 1);
}

TEST_F(KestrelTest, AbandonedStatusMutexLeavesNoServerWindow) {
    SetServerPath("/bin/true");
    FakeServer server;
    std::thread([&] { server.StatusMutex().LockForever(); }).join();  // owner dies
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(CServerConnection::Instance().LastError(),
              "No connection to NVDVBSrv!\n\nDVB Client Application will be closed.");
    EXPECT_EQ(CServerConnection::Instance().ServerWindow(), 0u);
    EXPECT_EQ(server.connects(), 0);
}

}  // namespace
}  // namespace kestrel::test
