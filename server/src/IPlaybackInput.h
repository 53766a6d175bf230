// Where the bytes of a recording being played come from: a file, or the
// datagrams of the network method.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "CPesAssembler.h"

namespace nvdvbsrv {

class IPlaybackInput {
  public:
    enum class Status { Data, Idle, End };
    virtual ~IPlaybackInput() = default;
    // The next bytes into `out` (replacing what it held): Data, Idle when
    // none came within `wait`, End when no more will come.
    virtual Status Read(std::vector<uint8_t>& out, std::chrono::milliseconds wait) = 0;
    // Moves to that share (0-1) of the input; false where it cannot.
    virtual bool Seek(double share) = 0;
};

// The decoders' side of a playback (CDecoderFeed): any thread but the
// decoders' own.
class IPlaybackOutput {
  public:
    virtual ~IPlaybackOutput() = default;
    virtual void Video(PesUnit&& unit) = 0;
    virtual void Audio(PesUnit&& unit) = 0;
    // The playback jumped: what the decoders hold is dropped.
    virtual void Restart() = 0;
    // Paused: the picture stays.
    virtual void Hold(bool hold) = 0;
};

}  // namespace nvdvbsrv
