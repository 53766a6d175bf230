// Where a stream decoder hands its decoded pictures or sound, on the
// decoder's own thread.
#pragma once

#include <cstdint>

extern "C" {
struct AVFrame;
}

namespace nvdvbsrv {

struct FrameTiming {
    uint64_t pts = 0;              // 90 kHz, 0 when the stream gave none
    uint32_t frameDurationUs = 0;  // the stream's frame period, 0 unknown
};

class IFrameSink {
  public:
    virtual ~IFrameSink() = default;
    virtual void Frame(const AVFrame& frame, const FrameTiming& timing) = 0;
};

}  // namespace nvdvbsrv
