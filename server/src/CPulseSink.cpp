#include "CPulseSink.h"

#include <pulse/simple.h>

namespace nvdvbsrv {
namespace {
constexpr auto kRetry = std::chrono::seconds(5);
constexpr uint32_t kTargetBytes = ISoundSink::kRate * ISoundSink::kChannels * 2 / 5;  // 200 ms
}  // namespace

CPulseSink::~CPulseSink() {
    if (stream_) {
        pa_simple_drain(stream_, nullptr);
        pa_simple_free(stream_);
    }
}

bool CPulseSink::Connect() {
    const auto now = std::chrono::steady_clock::now();
    if (now < nextTry_) return false;
    nextTry_ = now + kRetry;
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16LE;
    spec.rate = kRate;
    spec.channels = kChannels;
    pa_buffer_attr attr;
    attr.maxlength = uint32_t(-1);
    attr.tlength = kTargetBytes;
    attr.prebuf = uint32_t(-1);
    attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(-1);
    int error = 0;
    stream_ = pa_simple_new(nullptr, "nvdvbsrv", PA_STREAM_PLAYBACK, nullptr, "DVB-Ton", &spec,
                            nullptr, &attr, &error);
    return stream_ != nullptr;
}

void CPulseSink::Write(std::span<const int16_t> samples) {
    if (!stream_ && !Connect()) return;
    int error = 0;
    if (pa_simple_write(stream_, samples.data(), samples.size_bytes(), &error) < 0) {
        pa_simple_free(stream_);  // the sound server went away: try again later
        stream_ = nullptr;
    }
}

}  // namespace nvdvbsrv
