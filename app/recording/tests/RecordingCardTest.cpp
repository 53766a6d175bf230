// Both back ends of the VCR against a real emulated card receiving the demo
// broadcast (built by mkdemomux): a PVA recording of "Das Erste" made
// through the card's device set, its length, and its picture on the card's
// output when it plays back with the live picture switched off; the status
// changes arrive through the Qt event loop. A timer recording made by the
// scheduler through the VCR core on the card's file method.
#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "channellist/AtomicFile.h"
#include "kestrel/protocol/PictureMemory.h"
#include "receiver/CKestrelCard.h"
#include "receiver/IDeviceSet.h"
#include "receiver/IReceiver.h"
#include "receiver/tests/CardServerTest.h"
#include "receiver/tests/DemoBroadcast.h"
#include "recording/CHighLevelBackEnd.h"
#include "recording/CTimerScheduler.h"
#include "recording/CVcrCore.h"
#include "recording/CWSFileStreamer.h"
#include "recording/PvaPlayLength.h"

namespace {

namespace kp = kestrel::protocol;
using namespace std::chrono_literals;

constexpr int kPva = int(RecordFormat::AudioVideoPes);
constexpr std::uint16_t kNoPid = 0x1FFF;
constexpr unsigned kMessage = 1239;

// The demo's moving pattern covers x 240-479, y 192-383 of the colour bars;
// the rest of the picture stands still. Its grey level in 16 x 16 blocks.
std::vector<double> StillGrey(const kp::PictureFrame& f) {
    constexpr int kBlock = 16;
    std::vector<double> grey;
    for (std::uint32_t by = 0; by + kBlock <= f.height; by += kBlock)
        for (std::uint32_t bx = 0; bx + kBlock <= f.width; bx += kBlock) {
            if (bx >= 240 && bx < 480 && by >= 192 && by < 384) continue;
            double sum = 0;
            for (std::uint32_t y = by; y < by + kBlock; ++y)
                for (std::uint32_t x = bx; x < bx + kBlock; ++x) {
                    const std::uint32_t p = f.pixels[y * f.width + x];
                    sum +=
                        0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF);
                }
            grey.push_back(sum / (kBlock * kBlock));
        }
    return grey;
}

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return v.empty() ? 0 : sum / double(v.size());
}

double MeanDifference(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) sum += std::abs(a[i] - b[i]);
    return a.empty() ? 255 : sum / double(a.size());
}

bool Decoded720(const kp::PictureFrame& f) {
    return (f.info.flags & kp::kPictureDecoded) != 0 && f.info.sourceWidth == 720 &&
           f.info.sourceHeight == 576 && f.width == 720 && f.height == 576;
}

/// What a walk over the file's PVA packets found; `gaps` counts the breaks
/// in each stream's packet counter (a packet lost on its way).
struct PvaWalk {
    int video = 0, audio = 0, gaps = 0;
    std::string fault;
};

PvaWalk WalkPva(const std::vector<std::uint8_t>& b) {
    PvaWalk w;
    std::size_t at = 0;
    int last[3] = {-1, -1, -1};
    while (at < b.size() && w.fault.empty()) {
        if (at + 8 > b.size()) {
            w.fault = "a cut header at " + std::to_string(at);
            break;
        }
        const std::uint8_t* h = &b[at];
        if (h[0] != 'A' || h[1] != 'V' || (h[2] != 1 && h[2] != 2) || h[4] != 0x55)
            w.fault = "no PVA header at " + std::to_string(at);
        (h[2] == 1 ? w.video : w.audio) += 1;
        int& previous = last[h[2] == 1 ? 1 : 2];
        if (previous >= 0 && h[3] != std::uint8_t(previous + 1)) ++w.gaps;
        previous = h[3];
        at += 8 + (std::size_t(h[6]) << 8 | h[7]);
    }
    if (w.fault.empty() && at != b.size()) w.fault = "the last packet is cut";
    return w;
}

class RecordingCardTest : public CardServerTest {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(NVDVBSRV_PATH))
            GTEST_SKIP() << "the emulated card is not built: " << NVDVBSRV_PATH;
        if (DemoBroadcast::Dir().empty())
            GTEST_SKIP() << "the ffmpeg tool cannot build the demo broadcast";
        CardServerTest::SetUp();
        if (IsSkipped()) return;
        DemoBroadcast::UseInstallation(config_);
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile(std::string(DEMO_DIR) + "/Demo.svl", bytes, nullptr));
        ASSERT_TRUE(demo_.Load(bytes));
        for (const auto& p : demo_.Programs)
            if (p->Name == "Das Erste") program_ = p.get();
        ASSERT_NE(program_, nullptr);

        ASSERT_TRUE(Connect());
        link_.StartUp(nullptr);
        devices_ = link_.Devices();
        ASSERT_EQ(link_.Receiver()->Tune(demo_, *program_).status, TuneStatus::Locked);
        ASSERT_TRUE(devices_->SetVideoPID(program_->VideoPid).Ok());
        ASSERT_TRUE(devices_->SetAudioPID(program_->AudioPid).Ok());
        ASSERT_TRUE(picture_.Open());
        kp::PictureFrame live;
        ASSERT_TRUE(WaitPicture(live, Decoded720, 5s)) << "no live picture";
        live_ = StillGrey(live);
        ASSERT_GT(Mean(live_), 40) << "the live picture is black";
    }
    void TearDown() override {
        link_.TearDown();
        CardServerTest::TearDown();
    }

    bool WaitPicture(kp::PictureFrame& f, bool (*want)(const kp::PictureFrame&),
                     std::chrono::milliseconds limit) {
        return RunLoopUntil([&] { return picture_.Read(f) && want(f); }, limit);
    }

    // The back end's status changes, each read on the GUI thread as the VCR
    // bar does: the notification only posts.
    void Listen(IRecPlayBackEnd& vcr) {
        const auto notify = [this, &vcr] {
            QMetaObject::invokeMethod(
                &receiverOfPosts_,
                [this, &vcr] {
                    RecPlayStatus s;
                    if (vcr.GetStatus(s) == 1) modes_.push_back(s.mode);
                },
                Qt::QueuedConnection);
        };
        ASSERT_EQ(vcr.SetStatusChangedMessage(notify, kMessage, 1), 1);
    }
    bool Seen(RecordMode mode) const {
        return std::find(modes_.begin(), modes_.end(), int(mode)) != modes_.end();
    }

    // Records two seconds of the program into `path` and plays it back: its
    // picture replaces the live one switched off.
    void RecordAndPlayBack(IRecPlayBackEnd& vcr, const std::string& path) {
        Listen(vcr);
        ASSERT_EQ(vcr.Open(path, kPva, 0), 1);
        ASSERT_EQ(vcr.Record(), 1);
        RunLoopFor(2s);
        EXPECT_TRUE(Seen(RecordMode::Recording));
        ASSERT_EQ(vcr.Stop(), 1);
        ASSERT_EQ(vcr.Close(), 1);
        RunLoopFor(100ms);
        ASSERT_FALSE(modes_.empty());
        EXPECT_EQ(modes_.back(), int(RecordMode::Stopped));

        std::vector<std::uint8_t> file;
        ASSERT_TRUE(ReadWholeFile(path, file, nullptr));
        const PvaWalk walk = WalkPva(file);
        EXPECT_EQ(walk.fault, "");
        EXPECT_EQ(walk.gaps, 0);
        EXPECT_GT(walk.video, 25);  // more than a second of pictures
        EXPECT_GT(walk.audio, 3);

        ASSERT_TRUE(devices_->SetVideoPID(kNoPid).Ok());
        kp::PictureFrame f;
        ASSERT_TRUE(WaitPicture(
            f, [](const kp::PictureFrame& p) { return (p.info.flags & kp::kPictureDecoded) == 0; },
            3s))
            << "the live picture stays";
        ASSERT_EQ(vcr.Open(path, kPva, 1), 1);
        RecPlayStatus status;
        ASSERT_EQ(vcr.GetStatus(status), 1);
        EXPECT_GT(status.lengthMs, 1000u);
        EXPECT_LT(status.lengthMs, 3000u);
        EXPECT_EQ(status.format, kPva);
        modes_.clear();
        ASSERT_EQ(vcr.Playback(0), 1);
        ASSERT_TRUE(WaitPicture(f, Decoded720, 4s)) << "no picture from the file";
        const std::vector<double> played = StillGrey(f);
        EXPECT_GT(Mean(played), 40) << "black";
        EXPECT_LT(MeanDifference(played, live_), 8) << "not the recorded picture";
        ASSERT_EQ(vcr.GetStatus(status), 1);
        EXPECT_EQ(status.mode, int(RecordMode::Playing));
        RunLoopFor(100ms);
        EXPECT_TRUE(Seen(RecordMode::Playing));
        EXPECT_EQ(vcr.Stop(), 1);
        EXPECT_EQ(vcr.Close(), 1);
    }

    CSVLFile demo_;
    const CProgramInfo* program_ = nullptr;
    CKestrelCard link_;
    IDeviceSet* devices_ = nullptr;
    kp::PictureReader picture_;
    std::vector<double> live_;
    QObject receiverOfPosts_;
    std::vector<int> modes_;
};

TEST_F(RecordingCardTest, CardFileMethodRecordsAndPlaysBack) {
    CHighLevelBackEnd vcr(*devices_);
    RecordAndPlayBack(vcr, (dir_ / "card.pva").string());
}

TEST_F(RecordingCardTest, NetworkEngineRecordsAndPlaysBack) {
    CWSFileStreamer vcr(*devices_);
    RecordAndPlayBack(vcr, (dir_ / "engine.pva").string());
}

// What the VCR bar would ask or say; a timer's recording must say nothing.
struct SilentPrompts : IVcrPrompts {
    std::vector<QString> said;
    QString AskPlaybackFile(const QString&) override { return {}; }
    QString AskRecordingFile(const QString&, QString&) override { return {}; }
    bool AskEndPlaylist(const QString& path) override {
        said.push_back("end playlist " + path);
        return true;
    }
    void ShowEmptyPlaylist() override { said.push_back("empty playlist"); }
    void ShowRecordingEnded(const QString& path) override { said.push_back("ended " + path); }
};

TEST_F(RecordingCardTest, ATimerRecordsThroughTheVcrIntoAFileThatPlaysBack) {
    CHighLevelBackEnd card(*devices_);
    CWSFileStreamer engine(*devices_);
    RecPlayState state;
    state.lowLevel = 0;  // the card's file method
    CPlayListFile playlist;
    SilentPrompts prompts;
    CVcrCore vcr(state, card, engine, playlist, prompts, VcrHooks{});
    vcr.RegisterNotification([&vcr] {
        QMetaObject::invokeMethod(
            &vcr, [&vcr] { vcr.UpdateStatus(); }, Qt::QueuedConnection);
    });

    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime second(now.date(),
                           QTime(now.time().hour(), now.time().minute(), now.time().second()));
    std::vector<CTimerEntry> timers(1);
    CTimerEntry& timer = timers[0];
    timer.program = *program_;
    const std::string path = (dir_ / "timer.pva").string();
    timer.Apply({second.addSecs(1), second.addSecs(4), path, 3, 0});
    TimerHooks hooks;
    hooks.vcrCommand = [&vcr](int code, const QString& text) {
        vcr.Command(code, kKeepPlaylistIndex, text);
    };
    std::vector<QString> panes;
    hooks.statusText = [&panes](const QString& text) { panes.push_back(text); };
    CTimerScheduler scheduler(timers, state, card, engine, *devices_, hooks);
    scheduler.Start();
    ASSERT_TRUE(RunLoopUntil([&] { return timer.status == CTimerEntry::Finished; }, 8s));
    scheduler.Stop();
    RunLoopFor(300ms);  // the VCR's last status

    EXPECT_EQ(panes, (std::vector<QString>{"Status Timer: aktiv", "Status Timer: nicht aktiv"}))
        << "ended by the timer, not by a VCR that saw no recording";
    EXPECT_TRUE(prompts.said.empty()) << prompts.said.front().toStdString();
    EXPECT_EQ(state.recordOpen, 0);
    EXPECT_EQ(state.mode, int(RecordMode::Stopped));
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(path, file, nullptr));
    const PvaWalk walk = WalkPva(file);
    EXPECT_EQ(walk.fault, "");
    EXPECT_GT(walk.video, 25);
    EXPECT_GT(PvaPlayLengthMs(path), 1000u);
    ASSERT_EQ(card.Open(path, kPva, 1), 1);
    RecPlayStatus status;
    ASSERT_EQ(card.GetStatus(status), 1);
    EXPECT_GT(status.lengthMs, 1000u);
    EXPECT_EQ(card.Close(), 1);
}

}  // namespace
