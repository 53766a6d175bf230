// The network engine against a card side made of real loopback sockets: the
// test receives the playback datagrams at the card's own address and sends
// the recording's datagrams to the engine. The library calls go to the fake
// device set.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "kestrel/protocol/RecorderDatagram.h"
#include "receiver/CFakeDeviceSet.h"
#include "recording/CRecorderSocket.h"
#include "recording/CWSFileStreamer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr std::uint32_t kCardIp = 0x7F000001;     // 127.0.0.1
constexpr std::uint32_t kCardOwnIp = 0x7F0000FF;  // 127.0.0.255, the card's own address

sockaddr_in Address(std::uint32_t ip, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(ip);
    a.sin_port = htons(port);
    return a;
}

// A UDP socket of the card's side, bound to ip:port (0 when that failed).
struct CardSocket {
    int fd = -1;
    CardSocket(std::uint32_t ip, std::uint16_t port) {
        fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int buffer = 1 << 20;
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
        const sockaddr_in a = Address(ip, port);
        if (bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~CardSocket() {
        if (fd >= 0) ::close(fd);
    }
    bool Bound() const { return fd >= 0; }
    // The next datagram within `wait`; nothing when none came.
    std::optional<Bytes> Receive(milliseconds wait) const {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, int(wait.count())) != 1) return std::nullopt;
        Bytes b(8192);
        const ssize_t n = recv(fd, b.data(), b.size(), 0);
        if (n < 0) return std::nullopt;
        b.resize(std::size_t(n));
        return b;
    }
    void SendTo(std::uint32_t ip, std::uint16_t port, const Bytes& b) const {
        const sockaddr_in to = Address(ip, port);
        sendto(fd, b.data(), b.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
};

// A base port whose recording and playback ports are free on both addresses.
std::uint16_t FreeBasePort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        CardSocket probe(kCardIp, 0);
        sockaddr_in a{};
        socklen_t n = sizeof a;
        getsockname(probe.fd, reinterpret_cast<sockaddr*>(&a), &n);
        const int base = ntohs(a.sin_port) - 40;
        if (base < 1024 || base + 40 > 0xFFFF) continue;
        CardSocket r(kCardIp, std::uint16_t(base + 33)), p(kCardIp, std::uint16_t(base + 35)),
            own(kCardOwnIp, std::uint16_t(base + 35));
        if (r.Bound() && p.Bound() && own.Bound()) return std::uint16_t(base);
    }
    return 0;
}

// `count` MP2 frames of 576 bytes (48 kHz, 192 kbit/s: 24 ms each), the
// fourth byte and the fill numbering them.
Bytes Mp2Frames(int count) {
    Bytes f;
    for (int i = 0; i < count; ++i) {
        f.insert(f.end(), {0xFF, 0xFD, 0xA4, std::uint8_t(i)});
        f.insert(f.end(), 572, std::uint8_t(i));
    }
    return f;
}

void PvaPacket(Bytes& f, std::uint8_t stream, std::optional<std::uint32_t> pts, std::size_t n) {
    const std::size_t length = n + (pts ? 4 : 0);
    f.insert(f.end(), {'A', 'V', stream, 0, 0x55, std::uint8_t(pts ? 0x10 : 0),
                       std::uint8_t(length >> 8), std::uint8_t(length)});
    if (pts)
        for (int i = 3; i >= 0; --i) f.push_back(std::uint8_t(*pts >> (8 * i)));
    f.insert(f.end(), n, stream);
}

// `pictures` video packets 40 ms apart, each followed by an audio packet.
Bytes PvaFile(int pictures) {
    Bytes f;
    for (int i = 0; i < pictures; ++i) {
        PvaPacket(f, 1, 90000 + std::uint32_t(i) * 3600, 2000);
        PvaPacket(f, 2, std::nullopt, 300);
    }
    return f;
}

class WSFileStreamerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        base = FreeBasePort();
        ASSERT_NE(base, 0) << "no free base port";
        card.basePort = std::to_string(base);
        card.mask = "255.255.255.0";  // as the emulated card has it: its own address is 127.0.0.255
        engine.SetStatusChangedMessage([this] { ++notified; }, 1239, 1);
    }

    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }
    static Bytes Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    RecPlayStatus Status() {
        RecPlayStatus s;
        EXPECT_EQ(engine.GetStatus(s), 1);
        return s;
    }
    // Polls the status (as the VCR bar does on a notification) until `mode`.
    bool WaitForMode(int mode, milliseconds wait) {
        const auto until = Clock::now() + wait;
        while (Clock::now() < until) {
            if (Status().mode == mode) return true;
            std::this_thread::sleep_for(milliseconds(5));
        }
        return false;
    }
    // The payloads of the playback datagrams until none comes for `quiet`,
    // and the milliseconds from the first to the last.
    struct Received {
        std::vector<Bytes> payloads;
        double spanMs = 0;
    };
    static Received Payloads(const CardSocket& at, milliseconds quiet) {
        Received r;
        Clock::time_point first, last;
        while (const auto d = at.Receive(quiet)) {
            last = Clock::now();
            if (r.payloads.empty()) first = last;
            const auto payload = kestrel::protocol::recorder::PlaybackPayload(*d);
            EXPECT_TRUE(payload) << "prefix does not match a datagram of " << d->size();
            if (payload) r.payloads.emplace_back(payload->begin(), payload->end());
        }
        r.spanMs = std::chrono::duration<double, std::milli>(last - first).count();
        return r;
    }
    std::uint16_t PlaybackPort() const { return std::uint16_t(base + 35); }

    QTemporaryDir dir;
    std::uint16_t base = 0;
    CFakeDeviceSet card;
    CWSFileStreamer engine{card};
    std::atomic<int> notified{0};
};

TEST(SmoothedRate, HalfTheNewWindowAndHalfThePreviousRoundedUp) {
    EXPECT_EQ(SmoothedRateKbit(62500, 500, 0), 500u);      // 1000 kbit/s over 500 ms
    EXPECT_EQ(SmoothedRateKbit(62500, 500, 1000), 1000u);  // steady
    EXPECT_EQ(SmoothedRateKbit(62500, 1000, 0), 250u);     // a longer window counts its length
    EXPECT_EQ(SmoothedRateKbit(0, 500, 3), 2u);
    EXPECT_EQ(SmoothedRateKbit(10, 0, 4), 2u) << "no time: no new rate";
}

TEST(RecorderEndpoints, TheCardsOwnAddressOnLoopbackOnly) {
    const auto e = RecorderEndpointsOf("127.0.0.1", "255.255.255.0", "5000", 35);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->local, kCardIp);
    EXPECT_EQ(e->destination, kCardOwnIp);
    EXPECT_EQ(e->port, 5035);
    EXPECT_EQ(RecorderEndpointsOf("127.0.0.1", "255.0.0.0", "5000", 33)->destination, 0x7FFFFFFFu);
    EXPECT_FALSE(RecorderEndpointsOf("192.168.1.5", "255.255.255.0", "5000", 33));
    EXPECT_FALSE(RecorderEndpointsOf("127.0.0.1", "0.0.0.0", "5000", 33)) << "a broadcast";
    EXPECT_FALSE(RecorderEndpointsOf("127.0.0.1", "255.0.0.0", "65510", 33));
    EXPECT_FALSE(RecorderEndpointsOf("127.0.0.1", "255.0.0.0", "50x0", 33));
    EXPECT_FALSE(RecorderEndpointsOf("127.0.0.1", "255.0.0.0", "", 33));
}

TEST_F(WSFileStreamerTest, OpensForPlaybackInTheNetworkMethodAndScansTheLength) {
    // 1000 frames of 576 bytes at 48 kHz, 192 kbit/s.
    const std::string path = Write("a.mp2", Mp2Frames(1000));
    EXPECT_EQ(engine.Open(path, 2, 1), 1);
    EXPECT_EQ(card.Calls(), (Lines{"WS_RecPlayMethod 1", "GetIPandPort", "GetIP"}));
    const RecPlayStatus s = Status();
    EXPECT_EQ(s.lengthMs, 24000u);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.format, 2);
    EXPECT_EQ(notified, 1);

    card.ClearLog();
    EXPECT_EQ(engine.Open(path, 2, 1), 0) << "a file is open";
    EXPECT_TRUE(card.Calls().empty()) << "the open file keeps the network method";
    EXPECT_EQ(engine.Playback(0), 1);
    EXPECT_EQ(card.Calls(), Lines{"WS_Playback 2 48000"});
    EXPECT_EQ(engine.Close(), 0) << "close while playing";
    EXPECT_EQ(Status().mode, 2);
    EXPECT_EQ(engine.Stop(), 1);
    EXPECT_EQ(engine.Close(), 1);
    EXPECT_EQ(card.Calls(), (Lines{"WS_Playback 2 48000", "WS_Stop", "WS_RecPlayMethod 0"}));
    const RecPlayStatus closed = Status();
    EXPECT_EQ(closed.lengthMs, 0u);
    EXPECT_EQ(closed.format, 0);
}

TEST_F(WSFileStreamerTest, PreconditionsRefuseAndChangeNothing) {
    const std::string path = Write("a.mp2", Mp2Frames(200));
    EXPECT_EQ(engine.Pause(), 0) << "nothing open";
    EXPECT_EQ(engine.Playback(0), 0);
    EXPECT_EQ(engine.Record(), 0);
    EXPECT_TRUE(card.Calls().empty());

    ASSERT_EQ(engine.Open(path, 2, 1), 1);
    card.ClearLog();
    EXPECT_EQ(engine.Record(), 0) << "a playback file";
    ASSERT_EQ(engine.SlowPlayback(2), 1);
    EXPECT_EQ(engine.SlowPlayback(2), 0) << "already at half speed";
    ASSERT_EQ(engine.FastPlayback(1), 1);
    EXPECT_EQ(engine.FastPlayback(1), 0);
    EXPECT_EQ(card.Calls(), (Lines{"WS_PlaySlow 2", "WS_PlayFast 1"}));
    EXPECT_EQ(Status().mode, 7);

    // A library call that fails leaves the mode.
    card.ScriptResult("WS_Pause", 0);
    EXPECT_EQ(engine.Pause(), 0);
    card.ScriptResult("WS_Stop", 9);
    EXPECT_EQ(engine.Stop(), 0);
    EXPECT_EQ(Status().mode, 7);
    card.ScriptResult("WS_Stop", 1);
    EXPECT_EQ(engine.Stop(), 1);
    EXPECT_EQ(engine.Close(), 1);

    const std::string rec = dir.filePath("r.pva").toStdString();
    ASSERT_EQ(engine.Open(rec, 5, 0), 1);
    card.ScriptResult("WS_Record", 0);
    EXPECT_EQ(engine.Record(), 0);
    EXPECT_EQ(Status().mode, 0);
    EXPECT_EQ(engine.Playback(0), 0) << "a recording file";
    EXPECT_EQ(engine.Close(), 1);
}

TEST_F(WSFileStreamerTest, AFailingOpenLeavesTheNetworkMethodAndTheFile) {
    const Bytes old = Mp2Frames(2);
    const std::string existing = Write("old.mp2", old);

    card.ipAndPortKnown = false;
    EXPECT_EQ(engine.Open(existing, 2, 0), 0);
    EXPECT_EQ(card.Calls(), (Lines{"WS_RecPlayMethod 1", "GetIPandPort", "WS_RecPlayMethod 0"}));
    EXPECT_EQ(Read(existing), old) << "not truncated by an open that failed";
    card.ipAndPortKnown = true;

    card.ipCheck = 3;
    EXPECT_EQ(engine.Open(existing, 2, 1), 0) << "no usable address";
    card.ipCheck = 0;

    CardSocket taken(kCardIp, PlaybackPort());
    ASSERT_TRUE(taken.Bound());
    EXPECT_EQ(engine.Open(existing, 2, 1), 0) << "the port is taken";

    card.ClearLog();
    card.ScriptResult("WS_RecPlayMethod", 0);
    EXPECT_EQ(engine.Open(existing, 2, 0), 0);
    EXPECT_EQ(card.Calls(), (Lines{"WS_RecPlayMethod 1", "WS_RecPlayMethod 0"}));
    card.ScriptResult("WS_RecPlayMethod", 1);

    Bytes late = Mp2Frames(3);
    late.insert(late.begin(), 0);
    EXPECT_EQ(engine.Open(Write("late.mp2", late), 2, 1), 0) << "no frame at offset 0";
    Bytes audioOnly;
    PvaPacket(audioOnly, 2, 1000, 100);
    EXPECT_EQ(engine.Open(Write("a.pva", audioOnly), 5, 1), 0) << "no video PTS";
    EXPECT_EQ(engine.Open(dir.filePath("missing.mp2").toStdString(), 2, 1), 0);
    EXPECT_EQ(engine.Open(existing, 0, 1), 0) << "no format to play";
    EXPECT_EQ(Status().format, 0);
    EXPECT_EQ(notified, 0);
}

TEST_F(WSFileStreamerTest, PlaysEachFrameAtItsPaceAndStopsAtTheEnd) {
    CardSocket cardSide(kCardOwnIp, PlaybackPort());
    ASSERT_TRUE(cardSide.Bound());
    const Bytes mp2 = Mp2Frames(20);  // 480 ms
    ASSERT_EQ(engine.Open(Write("a.mp2", mp2), 2, 1), 1);
    ASSERT_EQ(engine.Playback(0), 1);
    const Received got = Payloads(cardSide, milliseconds(300));
    const auto& frames = got.payloads;
    ASSERT_EQ(frames.size(), 20u);
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i], Bytes(mp2.begin() + 576 * i, mp2.begin() + 576 * (i + 1))) << i;
    EXPECT_GT(got.spanMs, 380) << "the last of 20 frames of 24 ms goes 456 ms after the first";
    EXPECT_LT(got.spanMs, 1200);

    ASSERT_TRUE(WaitForMode(0, milliseconds(1000))) << "the end stops playback";
    EXPECT_EQ(Status().positionMs, 480u);
    EXPECT_EQ(card.CallsStartingWith("WS_Stop"), Lines{"WS_Stop"}) << "the card hears of it";
    EXPECT_EQ(engine.Close(), 1);
}

TEST_F(WSFileStreamerTest, DoubleSpeedSendsEverySecondFrameHalfSpeedEachTwice) {
    CardSocket cardSide(kCardOwnIp, PlaybackPort());
    ASSERT_TRUE(cardSide.Bound());
    const Bytes mp2 = Mp2Frames(12);
    ASSERT_EQ(engine.Open(Write("a.mp2", mp2), 2, 1), 1);
    ASSERT_EQ(engine.FastPlayback(1), 1);
    const auto fast = Payloads(cardSide, milliseconds(300)).payloads;
    ASSERT_EQ(fast.size(), 6u);
    for (std::size_t i = 0; i < fast.size(); ++i) EXPECT_EQ(fast[i][3], 2 * i + 1);
    ASSERT_TRUE(WaitForMode(0, milliseconds(1000)));

    ASSERT_EQ(engine.SlowPlayback(2), 1);
    const Received got = Payloads(cardSide, milliseconds(300));
    const auto& slow = got.payloads;
    ASSERT_EQ(slow.size(), 12u) << "from the start again";
    for (std::size_t i = 0; i < slow.size(); ++i) {
        const Bytes frame(mp2.begin() + 576 * i, mp2.begin() + 576 * (i + 1));
        Bytes twice = frame;
        twice.insert(twice.end(), frame.begin(), frame.end());
        EXPECT_EQ(slow[i], twice) << i;
    }
    EXPECT_GT(got.spanMs, 420) << "the last of 12 frames at half speed goes 528 ms after the first";
    EXPECT_LT(got.spanMs, 1200);
    EXPECT_TRUE(WaitForMode(0, milliseconds(1000)));
}

TEST_F(WSFileStreamerTest, SeeksToTheStartPositionAndBeyondTheEndEnds) {
    CardSocket cardSide(kCardOwnIp, PlaybackPort());
    ASSERT_TRUE(cardSide.Bound());
    Bytes mp2 = Mp2Frames(20);
    ASSERT_EQ(engine.Open(Write("a.mp2", mp2), 2, 1), 1);
    ASSERT_EQ(engine.Playback(240), 1);
    const auto frames = Payloads(cardSide, milliseconds(300)).payloads;
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_EQ(frames.front()[3], 10) << "240 ms into 24 ms frames";
    ASSERT_TRUE(WaitForMode(0, milliseconds(1000)));

    ASSERT_EQ(engine.Playback(5000), 1);
    EXPECT_FALSE(cardSide.Receive(milliseconds(200))) << "nothing beyond the end";
    ASSERT_TRUE(WaitForMode(0, milliseconds(1000)));
    EXPECT_EQ(Status().positionMs, 480u) << "the position is the length";
}

TEST_F(WSFileStreamerTest, PauseHoldsTheStreamAndPlayGoesOnWhereItWas) {
    CardSocket cardSide(kCardOwnIp, PlaybackPort());
    ASSERT_TRUE(cardSide.Bound());
    ASSERT_EQ(engine.Open(Write("a.mp2", Mp2Frames(40)), 2, 1), 1);
    ASSERT_EQ(engine.Playback(0), 1);
    std::this_thread::sleep_for(milliseconds(200));
    ASSERT_EQ(engine.Pause(), 1);
    const auto before = Payloads(cardSide, milliseconds(150)).payloads;
    ASSERT_FALSE(before.empty());
    EXPECT_LT(before.size(), 30u);
    EXPECT_FALSE(cardSide.Receive(milliseconds(200))) << "paused";
    EXPECT_EQ(Status().mode, 3);
    ASSERT_EQ(engine.Playback(0), 1);
    const auto after = Payloads(cardSide, milliseconds(300)).payloads;
    ASSERT_EQ(before.size() + after.size(), 40u);
    EXPECT_EQ(after.front()[3], before.size());
}

TEST_F(WSFileStreamerTest, PvaPlaysAtThePaceOfItsTimeStamps) {
    CardSocket cardSide(kCardOwnIp, PlaybackPort());
    ASSERT_TRUE(cardSide.Bound());
    const Bytes pva = PvaFile(51);  // 2 s from the first picture to the last
    ASSERT_EQ(engine.Open(Write("a.pva", pva), 5, 1), 1);
    EXPECT_EQ(Status().lengthMs, 2000u);
    ASSERT_EQ(engine.Playback(0), 1);
    const Received got = Payloads(cardSide, milliseconds(500));
    ASSERT_EQ(got.payloads.size(), 102u);
    EXPECT_GT(got.spanMs, 1700) << "a 2-second file takes about 2 s";
    EXPECT_LT(got.spanMs, 3000);
    Bytes joined;
    for (const Bytes& p : got.payloads) joined.insert(joined.end(), p.begin(), p.end());
    EXPECT_EQ(joined, pva) << "every packet, in order, one per datagram";
}

TEST_F(WSFileStreamerTest, TransportStreamGoesInDatagramsOfSevenPackets) {
    CardSocket cardSide(kCardOwnIp, PlaybackPort());
    ASSERT_TRUE(cardSide.Bound());
    Bytes tsFile;
    for (int i = 0; i < 20; ++i) {
        tsFile.insert(tsFile.end(), {0x47, 0x01, 0x00, 0x10});
        tsFile.insert(tsFile.end(), 184, std::uint8_t(i));
    }
    ASSERT_EQ(engine.Open(Write("a.ts", tsFile), 6, 1), 1);
    EXPECT_EQ(Status().lengthMs, 0u) << "no known length";
    ASSERT_EQ(engine.Playback(0), 1);
    const auto got = Payloads(cardSide, milliseconds(300)).payloads;
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], Bytes(tsFile.begin(), tsFile.begin() + 7 * 188));
    EXPECT_EQ(got[2].size(), 6u * 188);
    EXPECT_TRUE(WaitForMode(0, milliseconds(1000)));
}

TEST_F(WSFileStreamerTest, RecordsWhatArrivesAndSmoothsTheRate) {
    const std::string path = dir.filePath("rec.pva").toStdString();
    ASSERT_EQ(engine.Open(path, 5, 0), 1);
    EXPECT_EQ(card.CallsStartingWith("GetIP"), (Lines{"GetIPandPort", "GetIP"}));
    ASSERT_EQ(engine.Record(), 1);
    EXPECT_EQ(card.CallsStartingWith("WS_Record"), Lines{"WS_Record 5"});
    EXPECT_EQ(engine.Close(), 0) << "close while recording";

    // The card sends 1000-byte datagrams every 10 ms: 800 kbit/s.
    CardSocket sender(kCardIp, 0);
    Bytes sent;
    std::vector<std::uint32_t> rates;
    const auto start = Clock::now();
    for (int i = 0; i < 130; ++i) {
        const Bytes d(1000, std::uint8_t(i));
        sender.SendTo(kCardIp, std::uint16_t(base + 33), d);
        sent.insert(sent.end(), d.begin(), d.end());
        std::this_thread::sleep_until(start + milliseconds(10 * (i + 1)));
        if (i == 70 || i == 120) rates.push_back(Status().kbits);
    }
    const double kbits =
        double(sent.size()) * 8 /
        double(std::chrono::duration_cast<milliseconds>(Clock::now() - start).count());
    std::this_thread::sleep_for(milliseconds(50));
    ASSERT_EQ(engine.Stop(), 1);
    const RecPlayStatus s = Status();
    EXPECT_GE(s.positionMs, 1000u);
    EXPECT_LE(s.positionMs, 1400u);
    EXPECT_EQ(Read(path), sent);
    // After the first window half the rate, after the second three quarters.
    ASSERT_EQ(rates.size(), 2u);
    EXPECT_GT(rates[0], 0.35 * kbits);
    EXPECT_LT(rates[0], 0.65 * kbits);
    EXPECT_GT(rates[1], 0.6 * kbits);
    EXPECT_LT(rates[1], 0.9 * kbits);
    EXPECT_GE(notified, 4) << "open, record and the rate windows";

    // A new recording replaces the old one.
    std::this_thread::sleep_for(milliseconds(50));
    ASSERT_EQ(engine.Record(), 1);
    std::this_thread::sleep_for(milliseconds(50));
    sender.SendTo(kCardIp, std::uint16_t(base + 33), Bytes(10, 7));
    std::this_thread::sleep_for(milliseconds(100));
    ASSERT_EQ(engine.Stop(), 1);
    EXPECT_EQ(engine.Close(), 1);
    EXPECT_EQ(Read(path), Bytes(10, 7));
}

}  // namespace
