// A sound sink that writes a WAV file (PCM, 48 kHz stereo, 16 bit). The
// header's sizes are brought up to date after every write, so that the file
// is a valid WAV file at any moment while it grows.
#pragma once

#include <cstdio>
#include <string>

#include "ISoundSink.h"

namespace nvdvbsrv {

class CWavFile : public ISoundSink {
  public:
    ~CWavFile() override;
    bool Open(const std::string& path);
    void Write(std::span<const int16_t> samples) override;
    uint64_t DataBytes() const { return dataBytes_; }

  private:
    void WriteHeader();

    std::FILE* file_ = nullptr;
    uint64_t dataBytes_ = 0;
};

}  // namespace nvdvbsrv
