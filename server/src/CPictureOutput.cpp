#include "CPictureOutput.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace nvdvbsrv {
namespace {

namespace kp = kestrel::protocol;
constexpr int kWidth = int(kp::kPictureWidth);
constexpr int kHeight = int(kp::kPictureHeight);
constexpr size_t kStride = size_t(kWidth) * 4;
constexpr uint32_t kBlack = 0xFF000000;
constexpr auto kTick = std::chrono::milliseconds(40);
constexpr auto kRepeat = std::chrono::seconds(1);
// A stream that stops delivering pictures for this long shows black.
constexpr auto kPictureTimeout = std::chrono::seconds(1);

// The MPEG aspect code of the picture's display shape: 2 4:3, 3 16:9,
// 4 2.21:1 (within 5 %), else 1 for square samples, else 0.
uint32_t AspectCode(const AVFrame& f) {
    const AVRational sar = f.sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0 || f.height <= 0) return 0;
    const double dar = double(f.width) * sar.num / (double(f.height) * sar.den);
    const double shapes[] = {4.0 / 3.0, 16.0 / 9.0, 2.21};
    for (uint32_t i = 0; i < 3; ++i) {
        if (std::abs(dar / shapes[i] - 1.0) <= 0.05) return i + 2;
    }
    return sar.num == sar.den ? 1 : 0;
}

int ColourMatrix(const AVFrame& f) {
    switch (f.colorspace) {
        case AVCOL_SPC_BT709:
            return SWS_CS_ITU709;
        case AVCOL_SPC_BT2020_NCL:
        case AVCOL_SPC_BT2020_CL:
            return SWS_CS_BT2020;
        case AVCOL_SPC_UNSPECIFIED:
            return f.height > 576 ? SWS_CS_ITU709 : SWS_CS_ITU601;
        default:
            return SWS_CS_ITU601;
    }
}

}  // namespace

CPictureOutput::CPictureOutput() : pixels_(size_t(kWidth) * kHeight, kBlack) {}

CPictureOutput::~CPictureOutput() {
    Stop();
    sws_freeContext(sws_);
}

bool CPictureOutput::Start(const std::string& memoryName) {
    Stop();
    {
        std::lock_guard lock(mutex_);
        if (!writer_.Create(memoryName)) return false;
        PublishBlackLocked();
    }
    {
        std::lock_guard lock(clockMutex_);
        stop_ = false;
    }
    clock_ = std::thread([this] { Clock25Hz(); });
    return true;
}

void CPictureOutput::Stop() {
    {
        std::lock_guard pace(paceMutex_);
        newAnchor_ = true;
    }
    paceWake_.notify_all();
    {
        std::lock_guard lock(clockMutex_);
        stop_ = true;
    }
    clockWake_.notify_all();
    if (clock_.joinable()) clock_.join();
    std::lock_guard lock(mutex_);
    writer_.Close();
}

void CPictureOutput::SetOsdLayer(const IOsdLayer* layer) {
    std::lock_guard lock(mutex_);
    osd_ = layer;
    osdSwapped_ = true;
}

void CPictureOutput::SetPictureSettings(const PictureSettings& settings) {
    std::lock_guard lock(mutex_);
    if (settings == settings_) return;
    settings_ = settings;
    settingsApplied_ = false;
}

void CPictureOutput::Clear() {
    {
        std::lock_guard pace(paceMutex_);
        newAnchor_ = true;
    }
    paceWake_.notify_all();
    std::lock_guard lock(mutex_);
    showingPicture_ = false;
    PublishBlackLocked();
}

bool CPictureOutput::WaitUntilDue(const FrameTiming& timing) {
    if (!paced_ || timing.pts == 0) return true;
    std::unique_lock pace(paceMutex_);
    if (newAnchor_) presentation_.Reset();
    newAnchor_ = false;
    const auto due = presentation_.Due(timing.pts, Clock::now());
    // A picture still waiting when the picture goes (tune, PID change, the
    // end) is one of before: it is dropped.
    return !paceWake_.wait_until(pace, due, [this] { return newAnchor_; });
}

void CPictureOutput::Frame(const AVFrame& frame, const FrameTiming& timing) {
    if (!WaitUntilDue(timing)) return;
    std::lock_guard lock(mutex_);
    if (!Scale(frame)) return;
    showingPicture_ = true;
    lastPicture_ = Clock::now();
    ++pictures_;
    kp::PictureInfo info;
    info.sourceWidth = uint32_t(frame.width);
    info.sourceHeight = uint32_t(frame.height);
    info.aspect = AspectCode(frame);
    info.flags = kp::kPictureDecoded;
    info.pts = timing.pts;
    info.frameDurationUs = timing.frameDurationUs;
    PublishLocked(info);
}

bool CPictureOutput::Scale(const AVFrame& frame) {
    SwsContext* before = sws_;
    sws_ = sws_getCachedContext(sws_, frame.width, frame.height, AVPixelFormat(frame.format),
                                kWidth, kHeight, AV_PIX_FMT_RGB32, SWS_FAST_BILINEAR, nullptr,
                                nullptr, nullptr);
    if (!sws_) return false;
    if (sws_ != before || !settingsApplied_) {
        // 16.16 fixed point; a brightness of 256 shifts the luma by one level.
        const int brightness = (int(settings_.brightness) - 170) * 256;
        const int contrast = int(settings_.contrast) * 65536 / 160;
        const int saturation = int(settings_.saturation) * 65536 / 200;
        const int* matrix = sws_getCoefficients(ColourMatrix(frame));
        const int fullRange = frame.color_range == AVCOL_RANGE_JPEG ? 1 : 0;
        sws_setColorspaceDetails(sws_, matrix, fullRange, sws_getCoefficients(SWS_CS_DEFAULT), 1,
                                 brightness, contrast, saturation);
        settingsApplied_ = true;
    }
    uint8_t* out[4] = {reinterpret_cast<uint8_t*>(pixels_.data()), nullptr, nullptr, nullptr};
    const int outStride[4] = {int(kStride), 0, 0, 0};
    return sws_scale(sws_, frame.data, frame.linesize, 0, frame.height, out, outStride) == kHeight;
}

void CPictureOutput::PublishBlackLocked() {
    std::fill(pixels_.begin(), pixels_.end(), kBlack);
    PublishLocked(kp::PictureInfo{});
}

void CPictureOutput::PublishLocked(const kp::PictureInfo& info) {
    const IOsdLayer* osd = osd_.load();
    osdSwapped_ = false;
    if (osd) {
        lastRevision_ = osd->Revision();
        osd->Compose(pixels_.data(), kStride);
    }
    writer_.Publish(pixels_.data(), kStride, info);
    lastPublish_ = Clock::now();
    ++published_;
}

void CPictureOutput::Clock25Hz() {
    std::unique_lock wait(clockMutex_);
    while (!clockWake_.wait_for(wait, kTick, [this] { return stop_; })) {
        std::lock_guard lock(mutex_);
        const auto now = Clock::now();
        if (showingPicture_ && !hold_ && now - lastPicture_ > kPictureTimeout)
            showingPicture_ = false;
        if (showingPicture_) continue;
        const IOsdLayer* osd = osd_.load();
        const bool changed = osdSwapped_ || (osd && osd->Revision() != lastRevision_);
        if (changed || now - lastPublish_ >= kRepeat) PublishBlackLocked();
    }
}

}  // namespace nvdvbsrv
