#include "CSoundOutput.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace nvdvbsrv {
namespace {

constexpr uint32_t kFullDecoderVolume = 69;

double DecoderGain(uint32_t volume) {
    if (volume == 0) return 0.0;
    const double steps = double(std::min(volume, kFullDecoderVolume)) - kFullDecoderVolume;
    return std::pow(10.0, steps / 20.0);
}

double ChipGain(int32_t volume) { return std::clamp(volume, 0, 100) / 100.0; }

int16_t Scaled(int16_t sample, double gain) {
    return int16_t(std::clamp(std::round(sample * gain), -32768.0, 32767.0));
}

}  // namespace

CSoundOutput::CSoundOutput(std::unique_ptr<ISoundSink> sink) : sink_(std::move(sink)) {}

CSoundOutput::~CSoundOutput() { swr_free(&swr_); }

SoundSettings CSoundOutput::Settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void CSoundOutput::SetSettings(const SoundSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

void CSoundOutput::Gains(const SoundSettings& s, double& left, double& right) {
    const bool mute = s.decoderMute || s.chipMute;
    left = mute ? 0.0 : DecoderGain(s.decoderLeft) * ChipGain(s.chipLeft);
    right = mute ? 0.0 : DecoderGain(s.decoderRight) * ChipGain(s.chipRight);
}

bool CSoundOutput::Resampler(const AVFrame& frame) {
    // A cheap key of the input layout: its order, count and mask.
    const uint64_t key = uint64_t(frame.ch_layout.order) << 56 ^
                         uint64_t(frame.ch_layout.nb_channels) << 48 ^ frame.ch_layout.u.mask;
    if (swr_ && frame.format == inFormat_ && frame.sample_rate == inRate_ && key == inLayoutKey_)
        return true;
    swr_free(&swr_);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&swr_, &stereo, AV_SAMPLE_FMT_S16, ISoundSink::kRate,
                            const_cast<AVChannelLayout*>(&frame.ch_layout),
                            AVSampleFormat(frame.format), frame.sample_rate, 0, nullptr) < 0) {
        return false;
    }
    // A mono programme plays at its full level on both sides.
    static constexpr double kMonoOnBoth[2] = {1.0, 1.0};
    if (frame.ch_layout.nb_channels == 1) swr_set_matrix(swr_, kMonoOnBoth, 1);
    if (swr_init(swr_) < 0) {
        swr_free(&swr_);
        return false;
    }
    inFormat_ = frame.format;
    inRate_ = frame.sample_rate;
    inLayoutKey_ = key;
    return true;
}

void CSoundOutput::Frame(const AVFrame& frame, const FrameTiming&) {
    if (frame.nb_samples <= 0 || frame.ch_layout.nb_channels <= 0 || !Resampler(frame)) return;
    const int room = swr_get_out_samples(swr_, frame.nb_samples);
    if (room <= 0) return;
    samples_.resize(size_t(room) * ISoundSink::kChannels);
    uint8_t* out = reinterpret_cast<uint8_t*>(samples_.data());
    const int got = swr_convert(swr_, &out, room, const_cast<const uint8_t**>(frame.extended_data),
                                frame.nb_samples);
    if (got <= 0) return;
    const SoundSettings s = Settings();
    double left = 0, right = 0;
    Gains(s, left, right);
    for (size_t i = 0; i < size_t(got); ++i) {
        int16_t& l = samples_[2 * i];
        int16_t& r = samples_[2 * i + 1];
        const int16_t a = s.channel == 2 ? r : l;
        const int16_t b = s.channel == 1 ? l : r;
        l = Scaled(a, left);
        r = Scaled(b, right);
    }
    sink_->Write(std::span<const int16_t>(samples_.data(), size_t(got) * ISoundSink::kChannels));
}

}  // namespace nvdvbsrv
