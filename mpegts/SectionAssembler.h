// Reassembles PSI/SI sections (ISO/IEC 13818-1, 2.4.4) from the transport packets
// of one PID. Every complete section is handed to the callback whole (header,
// body and CRC; the CRC is not checked here); a continuity error or a broken
// packet drops the section in progress. Packets are outside bytes: every length
// is checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "SectionHeader.h"
#include "TsPacket.h"

namespace mpegts {

class SectionAssembler {
  public:
    using SectionSink = std::function<void(std::span<const std::uint8_t>)>;

    static constexpr std::size_t kPacketSize = TsPacket::kSize;
    static constexpr std::size_t kMaxSection = SectionHeader::kMaxSize;

    // Feeds one 188-byte transport packet of this assembler's PID.
    void Feed(std::span<const std::uint8_t> packet, const SectionSink& sink);

    // Forgets the section in progress (after a jump in the stream).
    void Reset();

  private:
    void Take(std::span<const std::uint8_t> data, const SectionSink& sink);
    std::size_t Expected() const;
    void Drop();

    std::vector<std::uint8_t> buffer_;
    bool collecting_ = false;
    int lastCc_ = -1;
};

}  // namespace mpegts
