// Splits the bytes of a recording, from a file or from datagrams, into what
// the card's decoders take: PES units of the video or the sound with their
// time stamps. The bytes come in pieces of any size; whatever does not fit
// the form is skipped until the next packet or frame starts (a file cut or
// damaged anywhere plays up to its last whole packet):
// - PVA: 8-byte "AV" headers (stream id 1 video, 2 audio, 0x55, flags with
//   0x10 for a 4-byte PTS at the front of the payload, big-endian length);
//   video payloads go on as they are, audio payloads are PES packets, which
//   may be cut over several PVA packets;
// - PES (audio or video): PES packets one after the other; a packet of
//   length 0 ends where the next one starts;
// - MP2: MPEG audio frames, time stamps counted from the frames' samples;
// - transport stream: the first video and the first sound stream of the
//   first program of its PAT.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "CPesAssembler.h"
#include "RecordFormat.h"
#include "mpegts/SectionAssembler.h"

namespace nvdvbsrv {

struct PlaybackUnit {
    bool video = false;
    PesUnit unit;
};

class CPlaybackParser {
  public:
    using Output = std::function<void(PlaybackUnit&&)>;
    // A PES packet without announced length grows at most this far.
    static constexpr std::size_t kMaxPes = 2 * 1024 * 1024;

    explicit CPlaybackParser(RecordFormat format);

    void Feed(std::span<const uint8_t> bytes, const Output& out);
    // The input ends: a PES packet without length under way is complete.
    void Finish(const Output& out);
    // The input jumps (a seek): what is under way is dropped.
    void Reset();

  private:
    // Each takes what it can from the front of pending_ and returns false
    // when it needs more bytes.
    bool StepPva(const Output& out);
    bool StepMp2(const Output& out);
    bool StepTs(const Output& out);
    void TsPacket(std::span<const uint8_t> packet, const Output& out);
    std::span<const uint8_t> Pending() const;
    void Consume(std::size_t n);

    // A stream of whole PES packets (the PES forms, PVA audio).
    class PesSplitter {
      public:
        void Feed(std::span<const uint8_t> bytes, const Output& out);
        void Finish(const Output& out);
        void Reset() { buffer_.clear(); }

      private:
        bool Step(bool atEnd, const Output& out);
        void Emit(std::span<const uint8_t> pes, const Output& out);
        std::vector<uint8_t> buffer_;
    };

    RecordFormat format_;
    std::vector<uint8_t> pending_;
    std::size_t head_ = 0;  // consumed bytes at the front of pending_
    PesSplitter pes_;
    uint64_t samples_ = 0;  // MP2: samples so far, at 90 kHz per sample rate
    // Transport stream.
    mpegts::SectionAssembler pat_, pmt_;
    std::optional<uint16_t> pmtPid_, videoPid_, audioPid_;
    CPesAssembler videoPes_, audioPes_;
};

}  // namespace nvdvbsrv
