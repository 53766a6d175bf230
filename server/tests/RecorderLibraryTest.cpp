// The card's recorder through the client library, against a real server
// that receives the demo broadcast (built by mkdemomux): recordings in every
// form, read back by the test's own readers and by ffprobe; playback into
// the card's picture output with its status and posted messages; the
// network method's datagrams both ways; and recordings that a full disk or
// a killed server cut short.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ClientEnvironment.h"
#include "RecordingReaders.h"
#include "ServerHarness.h"
#include "TsTestUtil.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CRecordPlayback.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/CWSRecordPlayback.h"
#include "kestrel/protocol/PictureMemory.h"
#include "kestrel/protocol/RecorderDatagram.h"

namespace {

namespace kp = kestrel::protocol;
using testutil::Bytes;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr uint16_t kVideoPid = 101, kAudioPid = 102;  // "Das Erste"
constexpr uint32_t kWindow = 0x5150, kMessage = 1239;

kestrel::CPollDispatcher& Loop() { return kestrel::DefaultPollDispatcher(); }

void Pump(milliseconds d) {
    const auto end = Clock::now() + d;
    while (Clock::now() < end) Loop().RunOnce(10);
}

// The demo broadcast, built once for the process.
const std::string& DemoDir() {
    static const std::string dir = [] {
        if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) return std::string();
        std::string d = harness::MakeTempDir();
        const std::string cmd = std::string(MKDEMOMUX_PATH) + " --list " + DEMO_DIR +
                                "/Demo.json --out " + d + " >/dev/null 2>&1";
        return std::system(cmd.c_str()) == 0 ? d : std::string();
    }();
    return dir;
}

struct Status {
    uint32_t length = 0, kbit = 0, position = 0;
    REC_PLAY_MODE mode = RP_STOPPED;
    TYPE_REC_PLAY_FORMAT format = RP_NONE;
};

class RecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (DemoDir().empty()) GTEST_SKIP() << "the ffmpeg tool cannot build the demo broadcast";
        const std::string name = std::string("rec") + std::to_string(getpid());
        dir_ = testutil::IsolateClient(name);
        port_ = harness::UniquePort();
        setenv("KESTREL_SERVER_LOG", (dir_ / "server.log").c_str(), 1);
    }
    void TearDown() override { testutil::EndClient(dir_); }
    // Starts the card (through the library) and tunes "Das Erste".
    void StartCard(const std::string& options = "") {
        const std::string line = std::string(NVDVBSRV_PATH) + " --config " + DemoDir() +
                                 "/installation.conf --base-port " + std::to_string(port_) +
                                 " --audio-wav " + (dir_ / "sound.wav").string() + options;
        ASSERT_TRUE(testutil::RegisterServer(dir_, line));
        auto& conn = kestrel::CServerConnection::Instance();
        ASSERT_TRUE(conn.Connect()) << conn.LastError();
        conn.AttachDispatcher(Loop());
        conn.SetPostedMessageHandler([this](uint32_t w, uint32_t m, uint32_t wp, uint32_t) {
            if (w == kWindow && m == kMessage) posted_.push_back(int(wp));
        });
        CFrontend fe;
        CHANNEL_TYPE ch;
        ch.Frequency = 11836000;
        ch.LOF = 10600000;
        ch.SymbolRate = 27500000;
        ch.Mode = 2;
        ch.LNBVoltage = 18;
        ch.Tone22kHz = 1;
        std::uint16_t status = 0xFFFF;
        ASSERT_EQ(fe.zSetChannel(status, ch), 1);
        ASSERT_EQ(status, 0) << "no lock on the demo transponder";
        ASSERT_EQ(decoder_.SetVideoPID(kVideoPid), 1);
        ASSERT_EQ(decoder_.SetAudioPID(kAudioPid), 1);
        ASSERT_EQ(rec_.SetStatusChangedMessage(kWindow, kMessage, 1), 1);
        ASSERT_TRUE(picture_.Open());
    }
    Status GetStatus() {
        Status s;
        EXPECT_EQ(rec_.GetStatus(s.length, s.kbit, s.position, s.mode, s.format), 1);
        return s;
    }
    // Records `ms` of the program into `name`; the file's bytes.
    Bytes Record(const std::string& name, TYPE_REC_PLAY_FORMAT format, milliseconds ms) {
        const std::string path = (dir_ / name).string();
        EXPECT_EQ(rec_.Open(path, format, 0), 1) << name;
        EXPECT_EQ(rec_.Record(), 1) << name;
        Pump(ms);
        EXPECT_EQ(rec_.Stop(), 1);
        EXPECT_EQ(rec_.Close(), 1);
        return testutil::ReadFile(path);
    }
    // Waits for a picture of the output that satisfies `want`.
    bool WaitPicture(const std::function<bool(const kp::PictureFrame&)>& want, milliseconds limit) {
        kp::PictureFrame f;
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (picture_.Read(f) && want(f)) return true;
            Pump(milliseconds(20));
        }
        return false;
    }
    static bool Decoded720(const kp::PictureFrame& f) {
        return (f.info.flags & kp::kPictureDecoded) != 0 && f.info.sourceWidth == 720 &&
               f.info.sourceHeight == 576;
    }
    static bool Black(const kp::PictureFrame& f) {
        return (f.info.flags & kp::kPictureDecoded) == 0;
    }
    bool WaitMode(REC_PLAY_MODE mode, milliseconds limit) {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (GetStatus().mode == mode) return true;
            Pump(milliseconds(50));
        }
        return false;
    }

    std::filesystem::path dir_;
    uint16_t port_ = 0;
    CMPEGDecoder decoder_;
    CRecordPlayback rec_;
    CWSRecordPlayback ws_;
    kp::PictureReader picture_;
    std::vector<int> posted_;
};

TEST_F(RecorderTest, EveryFormatIsWrittenAsItsReaderExpects) {
    StartCard();
    const auto pva = testutil::ReadPva(Record("a.pva", RP_AUDIO_VIDEO_PES, milliseconds(1500)));
    EXPECT_EQ(pva.fault, "");
    EXPECT_GT(pva.stamped, 25);  // pictures of 1.5 s at 25 a second, less the start
    EXPECT_GE(pva.audio, 3);     // the demo muxes about 3 KB of sound a PES packet
    EXPECT_EQ(pva.tail, 0u);

    const auto video =
        testutil::ReadPes(Record("v.psv", RP_VIDEO_PES, milliseconds(1200)), 0xE0, 0xEF);
    EXPECT_EQ(video.fault, "");
    EXPECT_GT(video.packets, 20);
    EXPECT_TRUE(video.sequenceHeader);

    const auto audio =
        testutil::ReadPes(Record("a.psa", RP_AUDIO_PES, milliseconds(1200)), 0xC0, 0xDF);
    EXPECT_EQ(audio.fault, "");
    EXPECT_GE(audio.packets, 2);

    std::string fault;
    // 48 kHz layer II: 41.7 frames a second.
    const int frames =
        testutil::CountLayer2Frames(Record("a.mp2", RP_AUDIO_MP2, milliseconds(1500)), fault);
    EXPECT_EQ(fault, "");
    EXPECT_GT(frames, 40);
    EXPECT_LT(frames, 90);

    const Bytes ts = Record("p.ts", RP_TRANSPORT_STREAM, milliseconds(1200));
    EXPECT_EQ(ts.size() % 188, 0u);
    EXPECT_EQ(testutil::TsPids(ts, fault), (std::set<int>{0, 100, kVideoPid, kAudioPid}));
    EXPECT_EQ(fault, "");
    // PCM is not recorded, an unknown form not opened.
    EXPECT_NE(rec_.Open((dir_ / "x.pcm").string(), RP_AUDIO_PCM, 0), 1);
    EXPECT_NE(rec_.Open((dir_ / "x.xyz").string(), TYPE_REC_PLAY_FORMAT(9), 0), 1);
    EXPECT_NE(rec_.Open((dir_ / "missing.pva").string(), RP_AUDIO_VIDEO_PES, 1), 1);
}

TEST_F(RecorderTest, TransportStreamRecordingOpensInFfprobe) {
    if (std::system("ffprobe -version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffprobe is not installed";
    StartCard();
    Record("p.ts", RP_TRANSPORT_STREAM, milliseconds(1500));
    const std::string out = (dir_ / "probe.txt").string();
    const std::string cmd =
        "ffprobe -v error -show_entries stream=codec_name,codec_type,id -of csv " +
        (dir_ / "p.ts").string() + " > " + out;
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream in(out);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("mpeg2video,video,0x65"), std::string::npos) << text;
    EXPECT_NE(text.find("mp2,audio,0x66"), std::string::npos) << text;
}

TEST_F(RecorderTest, PlaybackReplacesTheLivePictureAndReportsItsProgress) {
    StartCard();
    Record("a.pva", RP_AUDIO_VIDEO_PES, milliseconds(3000));
    // Without a live picture, whatever is shown comes from the file.
    ASSERT_EQ(decoder_.SetVideoPID(0x1FFE), 1);
    ASSERT_TRUE(WaitPicture(Black, milliseconds(2000)));
    posted_.clear();
    ASSERT_EQ(rec_.Open((dir_ / "a.pva").string(), RP_AUDIO_VIDEO_PES, 1), 1);
    Status s = GetStatus();
    EXPECT_NEAR(double(s.length), 3000, 600);
    EXPECT_GT(s.kbit, 500u);  // the demo's 1.5 Mbit/s picture and its sound
    EXPECT_LT(s.kbit, 4000u);
    EXPECT_EQ(s.mode, RP_STOPPED);
    EXPECT_EQ(s.format, RP_AUDIO_VIDEO_PES);

    ASSERT_EQ(rec_.Playback(0), 1);
    EXPECT_TRUE(WaitPicture(Decoded720, milliseconds(2000)));
    Pump(milliseconds(800));
    s = GetStatus();
    EXPECT_EQ(s.mode, RP_PLAYING);
    EXPECT_GT(s.position, 500u);
    EXPECT_LT(s.position, 2800u);
    // The end of the file stops, and the card shows its live picture again.
    EXPECT_TRUE(WaitMode(RP_STOPPED, milliseconds(4000)));
    EXPECT_TRUE(WaitPicture(Black, milliseconds(2000)));
    Pump(milliseconds(100));
    ASSERT_GE(posted_.size(), 3u);
    EXPECT_EQ(posted_.back(), RP_STOPPED);
    EXPECT_NE(std::find(posted_.begin(), posted_.end(), int(RP_PLAYING)), posted_.end());
    EXPECT_EQ(rec_.Close(), 1);
    EXPECT_EQ(GetStatus().format, RP_NONE);
}

TEST_F(RecorderTest, PauseSpeedsAndWindingMoveThePositionAsTheirModeSays) {
    StartCard();
    Record("a.pva", RP_AUDIO_VIDEO_PES, milliseconds(6000));
    ASSERT_EQ(rec_.Open((dir_ / "a.pva").string(), RP_AUDIO_VIDEO_PES, 1), 1);
    ASSERT_EQ(rec_.Playback(0), 1);
    Pump(milliseconds(1000));
    ASSERT_EQ(rec_.Pause(), 1);
    Pump(milliseconds(200));
    const Status paused = GetStatus();
    EXPECT_EQ(paused.mode, RP_PAUSED);
    Pump(milliseconds(600));
    EXPECT_EQ(GetStatus().position, paused.position);
    // Paused, the picture stays.
    EXPECT_TRUE(WaitPicture(Decoded720, milliseconds(300)));
    Pump(milliseconds(1200));
    EXPECT_TRUE(WaitPicture(Decoded720, milliseconds(300)));

    const auto advance = [&](auto start, REC_PLAY_MODE mode) {
        EXPECT_EQ(start(), 1);
        Pump(milliseconds(300));
        const Status a = GetStatus();
        Pump(milliseconds(1000));
        const Status b = GetStatus();
        EXPECT_EQ(b.mode, mode);
        return double(b.position) - double(a.position);
    };
    const double slow = advance([&] { return rec_.SlowPlayback(2); }, RP_SLOW);
    const double fast = advance([&] { return rec_.FastPlayback(1); }, RP_FAST);
    EXPECT_NEAR(slow, 500, 250);
    EXPECT_NEAR(fast, 2000, 500);
    const double back = advance([&] { return rec_.Backward(); }, RP_BACKWARD);
    EXPECT_LT(back, -1500);
    ASSERT_EQ(rec_.Stop(), 1);
    EXPECT_EQ(GetStatus().position, 0u);
    const double forward = advance([&] { return rec_.Forward(); }, RP_FORWARD);
    EXPECT_GT(forward, 2500);
    EXPECT_EQ(rec_.Stop(), 1);
    EXPECT_EQ(rec_.Close(), 1);
}

TEST_F(RecorderTest, RecordingPostsItsModeAndTwoUpdatesASecond) {
    StartCard();
    ASSERT_EQ(rec_.Open((dir_ / "a.pva").string(), RP_AUDIO_VIDEO_PES, 0), 1);
    Pump(milliseconds(100));
    posted_.clear();
    ASSERT_EQ(rec_.Record(), 1);
    Pump(milliseconds(2100));
    const Status s = GetStatus();
    EXPECT_EQ(s.mode, RP_RECORDING);
    EXPECT_NEAR(double(s.position), 2100, 300);
    EXPECT_GT(s.kbit, 500u);
    ASSERT_EQ(rec_.Stop(), 1);
    Pump(milliseconds(200));
    ASSERT_GE(posted_.size(), 4u);  // the start, three or four updates, the stop
    EXPECT_LE(posted_.size(), 7u);
    EXPECT_EQ(posted_.front(), RP_RECORDING);
    EXPECT_EQ(posted_.back(), RP_STOPPED);
    // Switched off, nothing more comes.
    ASSERT_EQ(rec_.SetStatusChangedMessage(kWindow, kMessage, 0), 1);
    posted_.clear();
    ASSERT_EQ(rec_.Record(), 1);
    Pump(milliseconds(700));
    EXPECT_EQ(rec_.Stop(), 1);
    Pump(milliseconds(100));
    EXPECT_TRUE(posted_.empty());
    EXPECT_EQ(rec_.Close(), 1);
}

TEST_F(RecorderTest, NetworkMethodSendsTheRecordingAndPlaysWhatComes) {
    StartCard();
    Record("a.pva", RP_AUDIO_VIDEO_PES, milliseconds(2500));
    harness::UdpReceiver in(uint16_t(port_ + kp::recorder::kRecordPortOffset));
    ASSERT_TRUE(in.Open());
    ASSERT_EQ(ws_.WS_Record(RP_AUDIO_VIDEO_PES), 1 + 1) << "only in the network method";
    ASSERT_EQ(ws_.WS_RecPlayMethod(1), 1);
    ASSERT_EQ(rec_.Open((dir_ / "b.pva").string(), RP_AUDIO_VIDEO_PES, 0), 2);
    ASSERT_EQ(ws_.WS_Record(RP_AUDIO_VIDEO_PES), 1);
    const auto datagrams = in.Collect(milliseconds(1000));
    ASSERT_EQ(ws_.WS_Stop(), 1);
    ASSERT_GT(datagrams.size(), 30u);
    Bytes joined;
    for (const auto& d : datagrams) {
        ASSERT_LE(d.size(), kp::recorder::kDatagramBytes);
        ASSERT_GE(d.size(), 8u);
        EXPECT_TRUE(d[0] == 'A' && d[1] == 'V');  // one PVA packet each
        EXPECT_EQ(d.size(), 8u + (d[6] << 8 | d[7]));
        joined.insert(joined.end(), d.begin(), d.end());
    }
    EXPECT_EQ(testutil::ReadPva(joined).fault, "");

    // Playback: the file's packets, each behind its prefix, to the card's
    // own address (the host bits of the mask set).
    ASSERT_EQ(decoder_.SetVideoPID(0x1FFE), 1);
    ASSERT_TRUE(WaitPicture(Black, milliseconds(2000)));
    ASSERT_EQ(ws_.WS_Playback(RP_AUDIO_VIDEO_PES, 0), 1);
    const Bytes file = testutil::ReadFile((dir_ / "a.pva").string());
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in card{};
    card.sin_family = AF_INET;
    card.sin_addr.s_addr = htonl(0x7F0000FF);  // 127.0.0.255
    card.sin_port = htons(uint16_t(port_ + kp::recorder::kPlaybackPortOffset));
    std::size_t at = 0;
    const auto start = Clock::now();
    bool shown = false;
    while (at + 8 <= file.size() && !shown) {
        const std::size_t n = 8 + (std::size_t(file[at + 6]) << 8 | file[at + 7]);
        Bytes d(2);
        kp::recorder::WritePrefix(d.data(), n);
        d.insert(d.end(), file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + n));
        ASSERT_EQ(
            sendto(fd, d.data(), d.size(), 0, reinterpret_cast<sockaddr*>(&card), sizeof card),
            ssize_t(d.size()));
        at += n;
        kp::PictureFrame f;
        shown = picture_.Read(f) && Decoded720(f);
        std::this_thread::sleep_for(milliseconds(2));  // about the file's pace
    }
    close(fd);
    shown = shown || WaitPicture(Decoded720, milliseconds(2000));
    EXPECT_TRUE(shown) << "sent " << at << " bytes in "
                       << std::chrono::duration_cast<milliseconds>(Clock::now() - start).count()
                       << " ms";
    EXPECT_EQ(GetStatus().mode, RP_PLAYING);
    EXPECT_EQ(ws_.WS_Stop(), 1);
    EXPECT_EQ(ws_.WS_RecPlayMethod(0), 1);
}

// A full disk (the server may write no more than its file size limit) ends
// the recording; what was written plays. The limit leaves room for the
// picture memory; the stream plays at four times its pace to reach it soon.
TEST_F(RecorderTest, FullDiskEndsTheRecordingAndLeavesAPlayableFile) {
    const rlim_t kLimit = kp::kPictureMemorySize + 256 * 1024;
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    // The server inherits both when the library starts it.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit limit = before;
    limit.rlim_cur = kLimit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    StartCard(" --speed 4");
    setrlimit(RLIMIT_FSIZE, &before);
    sigaction(SIGXFSZ, &old, nullptr);
    if (HasFatalFailure()) return;

    const std::string path = (dir_ / "full.pva").string();
    ASSERT_EQ(rec_.Open(path, RP_AUDIO_VIDEO_PES, 0), 1);
    posted_.clear();
    ASSERT_EQ(rec_.Record(), 1);
    EXPECT_TRUE(WaitMode(RP_STOPPED, milliseconds(8000)));
    Pump(milliseconds(100));
    EXPECT_EQ(posted_.back(), RP_STOPPED);
    EXPECT_EQ(GetStatus().format, RP_NONE);  // the file is closed
    const Bytes b = testutil::ReadFile(path);
    EXPECT_GT(b.size(), kLimit - 8192);
    EXPECT_LE(b.size(), kLimit);
    const auto found = testutil::ReadPva(b);
    EXPECT_EQ(found.fault, "");
    EXPECT_GT(found.stamped, 10);
    std::ifstream log(dir_ / "server.log");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Aufnahme abgebrochen"), std::string::npos) << text;
    ASSERT_EQ(rec_.Open(path, RP_AUDIO_VIDEO_PES, 1), 1);
    EXPECT_GT(GetStatus().length, 500u);
    ASSERT_EQ(decoder_.SetVideoPID(0x1FFE), 1);
    ASSERT_EQ(rec_.Playback(0), 1);
    EXPECT_TRUE(WaitPicture(Decoded720, milliseconds(2000)));
}

// A server killed while it records leaves every packet it made in the file.
TEST_F(RecorderTest, KilledServerLeavesWhatItRecorded) {
    StartCard();
    const std::string path = (dir_ / "killed.pva").string();
    ASSERT_EQ(rec_.Open(path, RP_AUDIO_VIDEO_PES, 0), 1);
    ASSERT_EQ(rec_.Record(), 1);
    Pump(milliseconds(1500));
    auto& conn = kestrel::CServerConnection::Instance();
    const int pid = conn.StartedServerPid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    waitpid(pid, nullptr, 0);
    conn.Disconnect();

    const Bytes b = testutil::ReadFile(path);
    const auto found = testutil::ReadPva(b);
    EXPECT_EQ(found.fault, "");
    EXPECT_GT(found.stamped, 25);
    // A new server plays it.
    ASSERT_TRUE(conn.Connect()) << conn.LastError();
    ASSERT_EQ(rec_.Open(path, RP_AUDIO_VIDEO_PES, 1), 1);
    EXPECT_NEAR(double(GetStatus().length), 1500, 500);
}

}  // namespace
