// A sound sink that plays through the desktop's sound server. Without one
// the sound goes nowhere, without an error; the connection is tried again
// every few seconds. Writing waits while the server's buffer is full, which
// holds up the audio decoder's thread only.
#pragma once

#include <chrono>

#include "ISoundSink.h"

extern "C" {
struct pa_simple;
}

namespace nvdvbsrv {

class CPulseSink : public ISoundSink {
  public:
    ~CPulseSink() override;
    void Write(std::span<const int16_t> samples) override;
    bool Connected() const { return stream_ != nullptr; }

  private:
    bool Connect();

    pa_simple* stream_ = nullptr;
    std::chrono::steady_clock::time_point nextTry_{};
};

}  // namespace nvdvbsrv
