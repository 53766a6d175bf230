// The card's recordings in the PVA form: a stream of packets, each an 8-byte
// header ("AV", stream id 1 video or 2 audio, a counter per stream, 0x55,
// flags, the payload length big-endian) and its payload. A video packet that
// starts a picture has flag 0x10 and the picture's 32-bit PTS (the low 32
// bits of the 90 kHz time stamp) at the front of its payload; audio packets
// carry the audio PES packets as they are. Payloads are cut at 6144 bytes,
// so that every packet fits one datagram of the network method.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace nvdvbsrv {

class CPvaWriter {
  public:
    static constexpr std::size_t kMaxPayload = 6144;
    // Receives every packet whole, header and payload.
    using Output = std::function<void(std::span<const uint8_t>)>;

    explicit CPvaWriter(Output output) : output_(std::move(output)) {}

    // A picture's elementary stream bytes and its time stamp, if it has one.
    void Video(std::span<const uint8_t> picture, std::optional<uint64_t> pts);
    // An audio PES packet.
    void Audio(std::span<const uint8_t> pes);

  private:
    void Packet(uint8_t stream, std::span<const uint8_t> payload, std::optional<uint32_t> pts);

    Output output_;
    uint8_t counter_[3] = {};
};

}  // namespace nvdvbsrv
