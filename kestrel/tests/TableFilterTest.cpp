// Section collection of the table filter, fed directly and through a real
// filter socket on loopback.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "Connected.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CTableFilter.h"

namespace kestrel::test {
namespace {

// A long-syntax section: table id, length, extension, version, cni, numbers.
std::vector<std::uint8_t> Section(int number, int last, int version, bool current = true,
                                  std::uint8_t tableId = 0x42, int payload = 4) {
    const int length = 5 + payload + 4;
    std::vector<std::uint8_t> s = {
        tableId,
        static_cast<std::uint8_t>(0xB0 | (length >> 8)),
        static_cast<std::uint8_t>(length),
        0x12,
        0x34,
        static_cast<std::uint8_t>(0xC0 | (version << 1) | (current ? 1 : 0)),
        static_cast<std::uint8_t>(number),
        static_cast<std::uint8_t>(last)};
    for (int i = 0; i < payload; ++i) s.push_back(static_cast<std::uint8_t>(number * 16 + i));
    s.insert(s.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    return s;
}

struct Calls {
    CTableFilter* filter = nullptr;
    int count = 0;
    int lastSectionSeen = -2;
    std::uint32_t value = 0;
};

void Record(char* data, std::uint32_t value) {
    auto* c = reinterpret_cast<Calls*>(data);
    ++c->count;
    c->lastSectionSeen = c->filter->GetLastSection();
    c->value = value;
}

class Collect : public ::testing::Test {
  protected:
    void SetUp() override {
        calls.filter = &filter;
        filter.SetCallback(Record, reinterpret_cast<char*>(&calls), 77);
    }
    void Feed(std::vector<std::uint8_t> s) {
        filter.OnDataArrival(s.data(), static_cast<int>(s.size()));
    }
    void SetMode(int mode) {
        // OpenFilter without a connection fails at SetBitFilter but stores the mode.
        int err = 0;
        EXPECT_EQ(filter.OpenFilter(0x12, 0x42, 0, 0, &err, 0, mode), -1);
        EXPECT_EQ(filter.Mode(), mode);
    }
    CTableFilter filter;
    Calls calls;
};

TEST_F(Collect, ThreeSectionsOutOfOrderCompleteOnTheThird) {
    SetMode(0);
    Feed(Section(2, 2, 5));
    Feed(Section(0, 2, 5));
    EXPECT_EQ(calls.count, 0);
    EXPECT_EQ(filter.State(), 1);
    Feed(Section(1, 2, 5));
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(calls.value, 77u);
    EXPECT_EQ(filter.State(), 2);
    EXPECT_EQ(filter.GetLastSection(), 2);
    EXPECT_EQ(filter.GetValue(1, 64, 8), 0x10u);  // first payload byte of section 1
    EXPECT_EQ(filter.GetPayLoadLength(1), 13);
    ASSERT_NE(filter.GetBytePointer(2, 8), nullptr);
    EXPECT_EQ(*filter.GetBytePointer(2, 8), 0x20);
    EXPECT_EQ(filter.GetBytePointer(2, 16), nullptr);  // past the stored section
    // Same version again: the callback runs again, nothing is re-collected.
    Feed(Section(0, 2, 5));
    EXPECT_EQ(calls.count, 2);
    EXPECT_EQ(filter.State(), 2);
    // A new version restarts collection.
    Feed(Section(0, 1, 6));
    EXPECT_EQ(calls.count, 3);  // called once more on arrival, as the table was complete
    EXPECT_EQ(filter.State(), 1);
    EXPECT_EQ(filter.Version(), 6);
    EXPECT_EQ(filter.GetBytePointer(2, 0), nullptr);  // old sections are gone
    Feed(Section(1, 1, 6));
    EXPECT_EQ(calls.count, 4);
    EXPECT_EQ(filter.GetLastSection(), 1);
}

TEST_F(Collect, VersionChangeWhileCollectingDropsTheOldSections) {
    SetMode(0);
    Feed(Section(0, 1, 3));
    Feed(Section(1, 1, 4));
    EXPECT_EQ(filter.State(), 1);
    EXPECT_EQ(filter.Version(), 4);
    EXPECT_EQ(filter.GetBytePointer(0, 0), nullptr);
    Feed(Section(0, 1, 4));
    EXPECT_EQ(calls.count, 1);
}

TEST_F(Collect, ModeZeroIgnoresSectionsNotYetCurrent) {
    SetMode(0);
    Feed(Section(0, 0, 1, false));
    EXPECT_EQ(calls.count, 0);
    EXPECT_EQ(filter.State(), 0);
    EXPECT_EQ(filter.Version(), CTableFilter::kNoVersion);
    EXPECT_EQ(filter.GetBytePointer(0, 0), nullptr);
}

TEST_F(Collect, OtherModesTakeSectionsNotYetCurrent) {
    SetMode(2);
    Feed(Section(0, 0, 1, false));
    EXPECT_EQ(calls.count, 1);
}

TEST_F(Collect, ModeOneCallsBackForEverySection) {
    SetMode(1);
    for (int i = 0; i < 3; ++i) Feed(Section(i, 2, 1));
    EXPECT_EQ(calls.count, 3);
    EXPECT_EQ(calls.lastSectionSeen, 0);
    EXPECT_EQ(filter.GetLastSection(), -1);  // cleared after the callback
    // A short-syntax section (time and date table, 8 bytes) is passed too.
    Feed({0x70, 0x70, 0x05, 0xE5, 0x4C, 0x12, 0x00, 0x00});
    EXPECT_EQ(calls.count, 4);
}

TEST_F(Collect, TruncatedSectionsAreDropped) {
    SetMode(0);
    Feed({0x42, 0xB0, 0x0D, 0x12, 0x34, 0xC1, 0x00});  // 7 bytes: no last_section_number
    EXPECT_EQ(filter.State(), 0);
    SetMode(1);
    Feed({0x70, 0x70});
    EXPECT_EQ(calls.count, 0);
    filter.OnDataArrival(nullptr, 0);
    EXPECT_EQ(calls.count, 0);
}

TEST(TableFilterBits, GetValueReadsMsbFirstAndZeroPastTheEnd) {
    CTableFilter f;
    int err = 0;
    f.OpenFilter(0, 0, 0, 0, &err, 0, 1);
    Calls c;
    c.filter = &f;
    std::uint32_t seen = 0;
    static std::uint32_t* out;
    out = &seen;
    f.SetCallback(
        [](char* d, std::uint32_t) {
            auto* cc = reinterpret_cast<Calls*>(d);
            *out = cc->filter->GetValue(0, 4, 12) | (cc->filter->GetValue(0, 28, 8) << 16);
        },
        reinterpret_cast<char*>(&c), 0);
    std::uint8_t s[4] = {0xAB, 0xCD, 0xEF, 0x12};
    f.OnDataArrival(s, 4);
    EXPECT_EQ(seen & 0xFFFF, 0xBCDu);
    EXPECT_EQ(seen >> 16, 0x20u);  // 4 real bits then 4 zero bits
    EXPECT_EQ(f.GetValue(0, 0, 33), 0u);
    EXPECT_EQ(f.GetValue(300, 0, 8), 0u);
}

// Through the server: filter bytes, socket on loopback, failure clean-up.
class FilterSocketTest : public ConnectedTest {
  protected:
    void SetUp() override {
        ConnectedTest::SetUp();
        // Find a free UDP port range on loopback for the base port.
        int probe = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        getsockname(probe, reinterpret_cast<sockaddr*>(&a), &len);
        close(probe);
        basePort_ = static_cast<std::uint16_t>(ntohs(a.sin_port) - 5);
        server_->SetHandler([this](std::uint16_t code, std::span<std::uint8_t> block) {
            protocol::BlockWriter w(block);
            protocol::BlockReader r(block);
            codes_.push_back(code);
            if (code == 25) {
                w.U32(8, 0);
                w.U32(12, 9);
                w.Bytes(20, "127.0.0.1", 10);
                w.U16(180, basePort_);
            } else if (code == 60) {
                filters_.push_back(
                    std::vector<std::uint8_t>(block.begin() + 8, block.begin() + 52));
                w.U16(8, 5);
            } else if (code == 64) {
                shutdowns_.push_back(r.U32(8));
            }
            return 1u;
        });
        SetDispatcher(&loop_);
    }
    void TearDown() override {
        SetDispatcher(nullptr);
        ConnectedTest::TearDown();
    }
    std::uint16_t basePort_ = 0;
    std::vector<std::uint16_t> codes_;
    std::vector<std::vector<std::uint8_t>> filters_;
    std::vector<std::uint32_t> shutdowns_;
    CPollDispatcher loop_;
};

TEST_F(FilterSocketTest, SectionsArriveAsDatagramsAndCompleteATable) {
    CTableFilter filter;
    Calls calls;
    calls.filter = &filter;
    filter.SetCallback(Record, reinterpret_cast<char*>(&calls), 1);
    int err = -5;
    ASSERT_EQ(filter.OpenFilter(0x11, 0x42, 0x1234, 1, &err, 1, 0), 0);
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(filter.IsOpened());
    ASSERT_EQ(filters_.size(), 1u);
    protocol::BlockReader f(filters_[0]);  // offsets relative to 8
    EXPECT_EQ(f.U32(0), 0x11u);
    EXPECT_EQ(f.U8(4), 0x42);
    EXPECT_EQ(f.U8(7), 0x12);
    EXPECT_EQ(f.U8(8), 0x34);
    EXPECT_EQ(f.U8(20), 0xFF);
    EXPECT_EQ(f.U8(21), 0x00);
    EXPECT_EQ(f.U8(23), 0xFF);
    EXPECT_EQ(f.U8(24), 0xFF);
    EXPECT_EQ(f.U32(36), 8u);  // length with the extension
    EXPECT_EQ(f.U32(40), 5u);  // type 5 asked for

    int tx = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(basePort_ + 5));
    for (int n : {1, 0}) {
        auto s = Section(n, 1, 2);
        sendto(tx, s.data(), s.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    close(tx);
    for (int i = 0; i < 50 && calls.count == 0; ++i) loop_.RunOnce(20);
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(filter.GetLastSection(), 1);

    // Opening again closes the first filter before setting the next one.
    codes_.clear();
    ASSERT_EQ(filter.OpenFilter(0x12, 0x4E, 0, 0, &err, 0, 0), 0);
    EXPECT_EQ(codes_, (std::vector<std::uint16_t>{64, 60, 25}));
    protocol::BlockReader g(filters_[1]);
    EXPECT_EQ(g.U32(36), 1u);
    EXPECT_EQ(g.U32(40), 4u);
    EXPECT_EQ(filter.CloseFilter(), 0);
    EXPECT_FALSE(filter.IsOpened());
    EXPECT_EQ(loop_.WatchCount(), 0u);
}

TEST_F(FilterSocketTest, SocketFailureShutsTheFilterDown) {
    // Occupy the port the filter would use.
    int blocker = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(basePort_ + 5));
    ASSERT_EQ(bind(blocker, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    CTableFilter filter;
    int err = 0;
    EXPECT_EQ(filter.OpenFilter(0x11, 0x42, 0, 0, &err, 0, 0), -2);
    EXPECT_EQ(err, EADDRINUSE);
    EXPECT_EQ(shutdowns_, std::vector<std::uint32_t>{5});
    EXPECT_FALSE(filter.IsOpened());
    close(blocker);
}

// An empty datagram and one longer than the buffer are counted and dropped;
// the receiver goes on and delivers the next one whole.
TEST_F(FilterSocketTest, WinSockDropsDatagramsOfTheWrongSize) {
    struct Receiver : CDVBWinSock {
        std::vector<int> lengths;
        void OnDataArrival(std::uint8_t*, int length) override { lengths.push_back(length); }
    } sock;
    int err = 1;
    ASSERT_EQ(sock.SOpen(9, &err), 1);
    int tx = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(basePort_ + 9));
    const std::vector<std::uint8_t> big(CDVBWinSock::kBufferSize + 1, 0x42);
    for (const std::size_t n : {std::size_t(0), big.size(), std::size_t(100)})
        sendto(tx, big.data(), n, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    close(tx);
    for (int i = 0; i < 50 && sock.lengths.empty(); ++i) loop_.RunOnce(20);
    EXPECT_EQ(sock.lengths, std::vector<int>{100});
    EXPECT_EQ(sock.Dropped(), 2u);
}

TEST_F(FilterSocketTest, WinSockReportsItsOwnErrors) {
    CDVBWinSock sock;
    int err = 1;
    ASSERT_EQ(sock.SOpen(7, &err), 1);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(sock.PortOffset(), 7);
    EXPECT_EQ(sock.AddressText(), "127.0.0.1");
    EXPECT_EQ(sock.BasePort(), basePort_);
    EXPECT_EQ(sock.SOpen(8, &err), 0);
    EXPECT_EQ(err, -1);
    sock.SClose();
    server_->SetHandler([](std::uint16_t, std::span<std::uint8_t> b) {
        protocol::BlockWriter(b).U32(8, 2);  // check code: address unknown
        return 1u;
    });
    EXPECT_EQ(sock.SOpen(7, &err), 0);
    EXPECT_EQ(err, -2);
    EXPECT_EQ(sock.PortOffset(), -1);
    server_->SetHandler([](std::uint16_t, std::span<std::uint8_t> b) {
        protocol::BlockWriter w(b);
        w.U32(8, 6);
        w.U32(12, 8);
        w.Bytes(20, "10.1.2.3", 9);  // never bound: loopback only
        w.U16(180, 4000);
        return 1u;
    });
    EXPECT_EQ(sock.SOpen(7, &err), 0);
    EXPECT_EQ(err, EADDRNOTAVAIL);
}

}  // namespace
}  // namespace kestrel::test
