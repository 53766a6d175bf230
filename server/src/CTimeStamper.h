// Puts the current time into the time tables of a looping stream: the TDT
// (table 0x70) and TOT (table 0x73, ETSI EN 300 468, 5.2.5/5.2.6) carry the
// time of the recording, which a receiver would show as its clock. The TOT's
// CRC is computed anew.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <span>

namespace nvdvbsrv {

class CTimeStamper {
  public:
    static constexpr uint16_t kPid = 0x14;

    // True when the section is a well-formed TDT or TOT; it then carries utc.
    static bool Stamp(std::span<uint8_t> section, std::time_t utc);
    // The time a well-formed TDT or TOT carries; nothing for any other section.
    static std::optional<std::time_t> Read(std::span<const uint8_t> section);
};

}  // namespace nvdvbsrv
