// The card's decoder end to end: a stream of known pictures and a known tone,
// made with the ffmpeg tool, played by a real server; the picture is read from
// the picture memory, the sound from the server's WAV file.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ServerHarness.h"
#include "TsTestUtil.h"
#include "kestrel/protocol/PictureMemory.h"

using namespace harness;
namespace kp = kestrel::protocol;
using Block = TestClient::Block;
using std::chrono::milliseconds;

namespace {

constexpr uint16_t kVideoPid = 0x101, kAudioPid = 0x102;

// Four seconds, left half `left`, right half `right`, a 1 kHz tone in MP2.
std::string MakeStream(const std::string& dir, const std::string& codec, const char* left,
                       const char* right) {
    const std::string out = dir + "/" + codec + ".ts";
    const std::string cmd =
        "ffmpeg -v error -y -f lavfi -i \"color=c=" + std::string(left) +
        ":s=320x240:r=25,drawbox=x=160:y=0:w=160:h=240:t=fill:color=" + right +
        "\" -f lavfi -i sine=frequency=1000:sample_rate=48000 -t 4 -pix_fmt yuv420p -g 12 -c:v " +
        codec + " -b:v 1M -c:a mp2 -b:a 128k -streamid 0:257 -streamid 1:258 -f mpegts " + out +
        " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0 ? out : std::string();
}

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// The mean colour of a 40 x 40 block centred at (x, y) of the output.
Rgb Mean(const kp::PictureFrame& f, uint32_t x, uint32_t y) {
    Rgb m;
    for (uint32_t j = y - 20; j < y + 20; ++j) {
        for (uint32_t i = x - 20; i < x + 20; ++i) {
            const uint32_t p = f.pixels[j * f.width + i];
            m.r += p >> 16 & 0xFF;
            m.g += p >> 8 & 0xFF;
            m.b += p & 0xFF;
        }
    }
    return {m.r / 1600, m.g / 1600, m.b / 1600};
}

void ExpectColour(const Rgb& got, double r, double g, double b, const char* what) {
    constexpr double kTolerance = 24;
    EXPECT_NEAR(got.r, r, kTolerance) << what;
    EXPECT_NEAR(got.g, g, kTolerance) << what;
    EXPECT_NEAR(got.b, b, kTolerance) << what;
}

class DecoderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) return;
        dir_ = new std::string(MakeTempDir());
        mpeg2_ = new std::string(MakeStream(*dir_, "mpeg2video", "red", "blue"));
        h264_ = new std::string(MakeStream(*dir_, "libx264", "lime", "yellow"));
    }
    void SetUp() override {
        if (!mpeg2_ || mpeg2_->empty() || h264_->empty())
            GTEST_SKIP() << "the ffmpeg tool cannot make the test streams";
        instance_ = UniqueInstance(::testing::UnitTest::GetInstance()->current_test_info()->name());
        wav_ = MakeTempDir() + "/sound.wav";
    }
    // A cable card with the stream at 346 MHz.
    void Start(const std::string& stream) {
        const std::string config = "[card]\nbase_port = " + std::to_string(UniquePort()) +
                                   "\n[cable]\ntransponder = 346000 QAM64 6900000 " + stream + "\n";
        server_ = std::make_unique<ServerProcess>(instance_, config,
                                                  std::vector<std::string>{"--audio-wav", wav_});
        ASSERT_TRUE(server_->Running());
        client_ = std::make_unique<TestClient>(server_->Suffix());
        ASSERT_TRUE(client_->Connected());
        ASSERT_TRUE(reader_.Open(kp::PictureMemoryName(server_->Suffix())));
    }
    uint16_t Tune(uint32_t frequency) {
        EXPECT_EQ(client_->Request(4906,
                                   [&](Block& b) {
                                       const uint32_t rec[8] = {frequency, 0, 6900000, 0, 2, 0, 0};
                                       for (size_t i = 0; i < 8; ++i) Put32(b, 12 + 4 * i, rec[i]);
                                   }),
                  1u);
        return client_->U16(8);
    }
    void Slots(uint16_t code, std::initializer_list<uint32_t> values) {
        ASSERT_EQ(client_->Request(code,
                                   [&](Block& b) {
                                       size_t at = 8;
                                       for (uint32_t v : values) Put32(b, (at += 4) - 4, v);
                                   }),
                  1u);
    }
    // The first frame published after `after` frames that satisfies `want`.
    kp::PictureFrame WaitFrame(const std::function<bool(const kp::PictureFrame&)>& want,
                               milliseconds timeout = milliseconds(4000)) {
        kp::PictureFrame f;
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (reader_.Read(f) && want(f)) return f;
            std::this_thread::sleep_for(milliseconds(20));
        }
        ADD_FAILURE() << "no such frame within " << timeout.count() << " ms";
        return f;
    }
    static bool Decoded(const kp::PictureFrame& f) {
        return (f.info.flags & kp::kPictureDecoded) != 0;
    }
    // RMS of each side over the sound written during the next `span`.
    std::pair<double, double> Loudness(milliseconds span) {
        const auto from = std::filesystem::file_size(wav_);
        std::this_thread::sleep_for(span);
        const auto bytes = testutil::ReadFile(wav_);
        double sum[2] = {0, 0};
        size_t n = 0;
        for (size_t at = from & ~size_t(3); at + 4 <= bytes.size(); at += 4, ++n) {
            for (int side = 0; side < 2; ++side) {
                const int16_t s = int16_t(bytes[at + 2 * side] | bytes[at + 2 * side + 1] << 8);
                sum[side] += double(s) * s;
            }
        }
        EXPECT_GT(n, 4800u) << "less than 0.1 s of sound written";
        return {std::sqrt(sum[0] / double(std::max<size_t>(n, 1))),
                std::sqrt(sum[1] / double(std::max<size_t>(n, 1)))};
    }

    static inline std::string* dir_ = nullptr;
    static inline std::string* mpeg2_ = nullptr;
    static inline std::string* h264_ = nullptr;
    std::string instance_, wav_;
    std::unique_ptr<ServerProcess> server_;
    std::unique_ptr<TestClient> client_;
    kp::PictureReader reader_;
};

}  // namespace

TEST_F(DecoderTest, ShowsTheMpeg2PictureScaledToTheOutputFrame) {
    Start(*mpeg2_);
    // Before the tune the output is black, published without a picture.
    auto f = WaitFrame([](const kp::PictureFrame& f) { return f.info.frame > 0; });
    EXPECT_FALSE(Decoded(f));
    ExpectColour(Mean(f, 360, 288), 0, 0, 0, "black before the tune");

    ASSERT_EQ(Tune(346000), 0u);
    Slots(50, {kVideoPid});
    f = WaitFrame(Decoded);
    EXPECT_EQ(f.info.sourceWidth, 320u);
    EXPECT_EQ(f.info.sourceHeight, 240u);
    EXPECT_EQ(f.info.aspect, 2u);  // 320 x 240 of square samples: 4:3
    EXPECT_EQ(f.info.frameDurationUs, 40000u);
    ExpectColour(Mean(f, 180, 288), 255, 0, 0, "left half");
    ExpectColour(Mean(f, 540, 288), 0, 0, 255, "right half");

    // Saturation 0 leaves grey; the program's defaults bring the colour back.
    Slots(59, {170, 160, 0});
    f = WaitFrame([](const kp::PictureFrame& f) {
        const Rgb m = Mean(f, 180, 288);
        return Decoded(f) && std::abs(m.r - m.g) < 12;
    });
    EXPECT_NEAR(Mean(f, 180, 288).r, Mean(f, 180, 288).b, 12);
    Slots(59, {170, 160, 200});
    f = WaitFrame([](const kp::PictureFrame& f) { return Mean(f, 180, 288).r > 200; });
    ExpectColour(Mean(f, 180, 288), 255, 0, 0, "colour again");
}

TEST_F(DecoderTest, ShowsTheH264PictureAndGoesBlackWithoutVideo) {
    Start(*h264_);
    ASSERT_EQ(Tune(346000), 0u);
    Slots(50, {kVideoPid});
    auto f = WaitFrame(Decoded);
    ExpectColour(Mean(f, 180, 288), 0, 255, 0, "left half");
    ExpectColour(Mean(f, 540, 288), 255, 255, 0, "right half");
    EXPECT_EQ(f.info.frameDurationUs, 40000u);

    // A radio program: the video PID carries sound, nothing is decoded.
    Slots(50, {kAudioPid});
    f = WaitFrame([](const kp::PictureFrame& f) { return !Decoded(f); });
    ExpectColour(Mean(f, 180, 288), 0, 0, 0, "radio");
    const uint64_t seen = f.info.frame;
    // The black frame is repeated at least once a second.
    f = WaitFrame([&](const kp::PictureFrame& f) { return f.info.frame > seen; },
                  milliseconds(1500));
    EXPECT_FALSE(Decoded(f));

    // Back to the video, then a tune that does not lock: black again.
    Slots(50, {kVideoPid});
    WaitFrame(Decoded);
    EXPECT_EQ(Tune(400000), 1u);
    f = WaitFrame([](const kp::PictureFrame& f) { return !Decoded(f); });
    ExpectColour(Mean(f, 540, 288), 0, 0, 0, "no lock");
}

TEST_F(DecoderTest, VolumeBalanceAndMuteShowInTheSound) {
    Start(*h264_);
    ASSERT_EQ(Tune(346000), 0u);
    Slots(52, {kAudioPid});
    Slots(57, {69, 69});
    std::this_thread::sleep_for(milliseconds(600));
    const auto full = Loudness(milliseconds(800));
    // The tone of amplitude 1/8 has an RMS of about 2900.
    EXPECT_NEAR(full.first, 2900, 400);
    EXPECT_NEAR(full.second, 2900, 400);

    Slots(57, {49, 49});  // 20 dB less
    std::this_thread::sleep_for(milliseconds(400));
    const auto low = Loudness(milliseconds(800));
    EXPECT_NEAR(low.first / full.first, 0.1, 0.02);

    // The sound chip: left full, right off.
    Slots(57, {69, 69});
    Slots(11, {100, 0});
    std::this_thread::sleep_for(milliseconds(400));
    const auto balance = Loudness(milliseconds(800));
    EXPECT_NEAR(balance.first, full.first, 300);
    EXPECT_LT(balance.second, 30);

    Slots(11, {100, 100});
    Slots(58, {1});
    std::this_thread::sleep_for(milliseconds(400));
    const auto muted = Loudness(milliseconds(800));
    EXPECT_LT(muted.first, 1);
    EXPECT_LT(muted.second, 1);
}

TEST_F(DecoderTest, TheCardKeepsPlayingWhenItsClientLeaves) {
    Start(*mpeg2_);
    ASSERT_EQ(Tune(346000), 0u);
    Slots(50, {kVideoPid});
    Slots(52, {kAudioPid});
    WaitFrame(Decoded);
    client_->Disconnect();
    client_.reset();

    TestClient other(server_->Suffix());
    ASSERT_TRUE(other.Connected());
    ASSERT_EQ(other.Request(51), 1u);
    EXPECT_EQ(other.U16(8), kVideoPid);
    ASSERT_EQ(other.Request(53), 1u);
    EXPECT_EQ(other.U16(8), kAudioPid);
    kp::PictureFrame now;
    ASSERT_TRUE(reader_.Read(now));
    const uint64_t seen = now.info.frame;
    std::this_thread::sleep_for(milliseconds(500));
    const auto f = WaitFrame(
        [&](const kp::PictureFrame& f) { return Decoded(f) && f.info.frame >= seen + 10; });
    ExpectColour(Mean(f, 180, 288), 255, 0, 0, "still the picture");
}
