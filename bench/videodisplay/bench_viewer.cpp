// The video window's cost per frame and its frame rate:
//   convert: a 720 x 576 frame copied with picture values a user moved off
//            the defaults (180, 170, 210) against a plain copy
//            (the neutral path of the defaults);
//   paint:   the frame drawn smoothly scaled into 784 x 574 (the full-screen
//            rectangle);
//   live:    a writer in this process publishes a new frame every 20 ms for
//            3 s; the window (784 x 574, picture values set) counts the new
//            pictures it painted;
//   stream:  the card's decoder plays the demo's first program at its own
//            rate into a picture memory (as the emulated card does), the
//            window shows it: pictures shown per second against the pictures
//            the card published and the stream's 25 a second.
// Prints: BENCH <name> ... (medians of 50 rounds; live as frames per second)
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CPictureOutput.h"
#include "CStreamDecoder.h"
#include "CTsFile.h"
#include "CTsPlayer.h"
#include "kestrel/protocol/PictureMemory.h"
#include "videodisplay/CVideoDisplay.h"
#include "videodisplay/CVideoWindow.h"
#include "videodisplay/PictureAdjust.h"

namespace kp = kestrel::protocol;

namespace {

constexpr int kW = int(kp::kPictureWidth), kH = int(kp::kPictureHeight);
constexpr int kRounds = 50;

double MedianMs(const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

std::vector<std::uint32_t> Pattern(int shift) {
    std::vector<std::uint32_t> p(std::size_t(kW) * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            p[std::size_t(y) * kW + x] = 0xFF000000u | std::uint32_t((x + shift) & 0xFF) << 16 |
                                         std::uint32_t(y & 0xFF) << 8;
    return p;
}

void BenchConvert(const std::vector<std::uint32_t>& frame) {
    QImage out(kW, kH, QImage::Format_RGB32);
    auto* dst = reinterpret_cast<std::uint32_t*>(out.bits());
    videodisplay::PictureAdjust adjust;
    const double copy = MedianMs([&] { std::memcpy(dst, frame.data(), frame.size() * 4); });
    adjust.Set(180, 170, 210);
    const double values = MedianMs([&] { adjust.Apply(frame.data(), kW, kH, dst, kW, false); });
    std::printf("BENCH viewer_convert %.3f ms baseline %.3f ms (plain copy) ratio %.1f\n", values,
                copy, values / copy);
}

void BenchPaint(const std::vector<std::uint32_t>& frame) {
    const QImage picture(reinterpret_cast<const uchar*>(frame.data()), kW, kH, kW * 4,
                         QImage::Format_RGB32);
    QImage target(784, 574, QImage::Format_RGB32);
    const double ms = MedianMs([&] {
        QPainter p(&target);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target.rect(), picture);
    });
    std::printf("BENCH viewer_paint_784x574 %.3f ms\n", ms);
}

// Events for `ms` milliseconds, waiting for them rather than spinning.
void RunFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

void BenchLive() {
    kp::PictureWriter writer;
    if (!writer.Create(kp::PictureMemoryName())) {
        std::printf("BENCH viewer_live skipped: the picture memory cannot be made\n");
        return;
    }
    std::vector<std::vector<std::uint32_t>> frames;
    for (int i = 0; i < 4; ++i) frames.push_back(Pattern(i * 64));
    CVideoDisplay display;
    display.Open("-fbrd");
    display.EnableVideo(1);
    display.UnHide();
    display.MoveTo(16, 12, 784, 574, 1);
    display.SetBCS(180, 170, 210);
    int published = 0;
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, [&] {
        writer.Publish(frames[std::size_t(published++ % 4)].data(), std::size_t(kW) * 4,
                       {720, 576, 2, kp::kPictureDecoded});
    });
    feed.start(20);
    QElapsedTimer clock;
    clock.start();
    const std::uint64_t before = display.Window()->FramesShown();
    RunFor(3000);
    feed.stop();
    const double seconds = double(clock.elapsed()) / 1000.0;
    RunFor(50);  // the window looks every 10 ms: time for the last frame published
    const auto shown = display.Window()->FramesShown() - before;
    std::printf("BENCH viewer_live %.1f frames/s shown of %.1f published (%d of %d in %.1f s)\n",
                double(shown) / seconds, published / seconds, int(shown), published, seconds);
}

void BenchStream(const std::string& demoDir) {
    std::string error;
    auto loaded = nvdvbsrv::CTsFile::Load(demoDir + "/11836H.ts", error);
    if (!loaded) {
        std::fprintf(stderr, "bench_viewer: no demo broadcast in %s (target demo_broadcast): %s\n",
                     demoDir.c_str(), error.c_str());
        return;
    }
    nvdvbsrv::CPictureOutput picture;
    picture.SetPaced(true);  // as on the card
    if (!picture.Start(kp::PictureMemoryName())) return;
    nvdvbsrv::CStreamDecoder decoder(nvdvbsrv::CStreamDecoder::Kind::Video, picture);
    decoder.SetPid(101);  // "Das Erste"
    nvdvbsrv::CTsPlayer player({&decoder});
    CVideoDisplay display;
    display.Open("-fbrd");
    display.EnableVideo(1);
    display.UnHide();
    display.MoveTo(16, 12, 784, 574, 1);
    player.Play(std::make_shared<const nvdvbsrv::CTsFile>(std::move(*loaded)), 1.0);
    RunFor(1000);
    const std::uint64_t shownBefore = display.Window()->FramesShown();
    const std::uint64_t cardBefore = picture.PicturesShown();
    QElapsedTimer clock;
    clock.start();
    RunFor(4000);
    const double seconds = double(clock.elapsed()) / 1000.0;
    const auto shown = display.Window()->FramesShown() - shownBefore;
    const auto card = picture.PicturesShown() - cardBefore;
    player.Stop();
    std::printf(
        "BENCH viewer_stream %.2f pictures/s shown, card %.2f, baseline 25.00 ratio %.3f "
        "(%d shown of %d published, %llu PES dropped)\n",
        double(shown) / seconds, double(card) / seconds, double(shown) / seconds / 25.0, int(shown),
        int(card), static_cast<unsigned long long>(decoder.PesDropped()));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv(kp::kInstanceVariable, "bench_viewer" + QByteArray::number(getpid()));
    QApplication app(argc, argv);
    const auto frame = Pattern(0);
    BenchConvert(frame);
    BenchPaint(frame);
    BenchLive();
    BenchStream(argc > 1 ? argv[1] : DEMO_BROADCAST_DIR);
    return 0;
}
