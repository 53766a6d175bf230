// Turns sections into transport packets (one section starting in each first
// packet, pointer field 0, the rest stuffed) and keeps the continuity counter
// of every PID it writes, also for packets copied from elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mpegts/TsPacket.h"

namespace demomux {

using Packet = std::array<uint8_t, mpegts::TsPacket::kSize>;

class CTsPacketizer {
  public:
    std::vector<Packet> Section(uint16_t pid, const std::vector<uint8_t>& section);
    // A copy of a packet moved to another PID, with this PID's next counter.
    Packet Remap(const Packet& in, uint16_t pid);
    // A PES packet whose size is a multiple of 184 bytes, in whole packets.
    std::vector<Packet> Pes(uint16_t pid, const std::vector<uint8_t>& pes);

  private:
    uint8_t NextCc(uint16_t pid);
    std::array<uint8_t, 8192> cc_{};
};

}  // namespace demomux
