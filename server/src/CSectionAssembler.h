// Reassembles PSI/SI sections (ISO/IEC 13818-1, 2.4.4) from the transport packets
// of one PID. Every complete section is handed to the callback whole (header,
// body and CRC); a continuity error or a broken packet drops the section in
// progress. Packets are outside bytes: every length is checked.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace nvdvbsrv {

class CSectionAssembler {
  public:
    using SectionSink = std::function<void(std::span<const uint8_t>)>;

    static constexpr size_t kPacketSize = 188;
    static constexpr size_t kMaxSection = 4096 + 3;

    // Feeds one 188-byte transport packet of this assembler's PID.
    void Feed(std::span<const uint8_t> packet, const SectionSink& sink);

    // Forgets the section in progress (after a jump in the stream).
    void Reset();

  private:
    void Take(std::span<const uint8_t> data, const SectionSink& sink);
    size_t Expected() const;

    std::vector<uint8_t> buffer_;
    bool collecting_ = false;
    int lastCc_ = -1;
};

}  // namespace nvdvbsrv
