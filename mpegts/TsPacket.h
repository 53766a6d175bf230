// A read-only view of one 188-byte transport packet (ISO/IEC 13818-1, 2.4.3.2)
// and the few writes a multiplexer needs on a packet's header. A view exists
// only for 188 bytes that start with the sync byte; the adaptation field's
// length is checked before the payload is given out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mpegts {

class TsPacket {
  public:
    static constexpr std::size_t kSize = 188;
    static constexpr std::size_t kHeaderSize = 4;
    static constexpr std::uint8_t kSyncByte = 0x47;
    static constexpr std::uint16_t kNullPid = 0x1FFF;

    // adaptation_field_control
    static constexpr std::uint8_t kPayloadOnly = 1;
    static constexpr std::uint8_t kAdaptationOnly = 2;
    static constexpr std::uint8_t kAdaptationAndPayload = 3;

    // Inline: the card calls it for every packet of the stream.
    static std::optional<TsPacket> View(std::span<const std::uint8_t> bytes) {
        if (!IsPacket(bytes)) return std::nullopt;
        return TsPacket(bytes.first<kSize>());
    }
    // What View accepts: 188 bytes that start with the sync byte.
    static bool IsPacket(std::span<const std::uint8_t> bytes) {
        return bytes.size() == kSize && bytes[0] == kSyncByte;
    }

    bool TransportError() const { return (b_[1] & 0x80) != 0; }
    bool PayloadUnitStart() const { return (b_[1] & 0x40) != 0; }
    bool Priority() const { return (b_[1] & 0x20) != 0; }
    std::uint16_t Pid() const { return static_cast<std::uint16_t>((b_[1] & 0x1F) << 8 | b_[2]); }
    std::uint8_t Scrambling() const { return static_cast<std::uint8_t>(b_[3] >> 6); }
    std::uint8_t AdaptationFieldControl() const {
        return static_cast<std::uint8_t>(b_[3] >> 4 & 3);
    }
    bool HasAdaptationField() const { return (b_[3] & 0x20) != 0; }
    bool HasPayload() const { return (b_[3] & 0x10) != 0; }
    std::uint8_t ContinuityCounter() const { return static_cast<std::uint8_t>(b_[3] & 0x0F); }

    // False when adaptation_field_length claims more than the packet holds.
    bool AdaptationFieldValid() const { return !HasAdaptationField() || b_[4] <= kSize - 5; }
    // The adaptation field after its length byte; empty without one or when broken.
    std::span<const std::uint8_t> AdaptationField() const;
    // The payload; empty without one or when the adaptation field is broken.
    std::span<const std::uint8_t> Payload() const;
    // The programme clock reference in 27 MHz units, when the packet carries one.
    std::optional<std::uint64_t> Pcr() const;

    std::span<const std::uint8_t> Bytes() const { return b_; }

    // Writes the four header bytes: sync, the start flag, PID, the adaptation
    // field control and the counter (no error, priority or scrambling bits).
    static void WriteHeader(std::span<std::uint8_t> packet, std::uint16_t pid, bool unitStart,
                            std::uint8_t adaptationFieldControl, std::uint8_t cc);
    // Changes the PID or the counter of a packet, leaving the other bits.
    static void SetPid(std::span<std::uint8_t> packet, std::uint16_t pid);
    static void SetContinuityCounter(std::span<std::uint8_t> packet, std::uint8_t cc);

  private:
    explicit TsPacket(std::span<const std::uint8_t, kSize> b) : b_(b) {}
    std::span<const std::uint8_t, kSize> b_;
};

}  // namespace mpegts
