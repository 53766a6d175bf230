// Moves the events of a looping stream's guide to the present: with the live
// clock the time tables tell the current time, so the EIT sections (tables
// 0x4E-0x6F of ETSI EN 300 468) have every event's start_time shifted by
// the distance between now and the stream's own time, in whole 5 minutes so
// that round times stay round. The CRC is computed anew.
#pragma once

#include <cstdint>
#include <ctime>
#include <span>

namespace nvdvbsrv {

class CEitRestamper {
  public:
    static constexpr uint16_t kPid = 0x12;
    static constexpr std::int64_t kStep = 300;  // seconds

    // now - streamTime, rounded to the nearest multiple of kStep.
    static std::int64_t Offset(std::time_t streamTime, std::time_t now);

    // Shifts the start time of every event by seconds (an undefined start
    // time stays undefined). True when the section is a well-formed EIT with
    // a valid CRC; any other section is left as it is.
    static bool Shift(std::span<uint8_t> section, std::int64_t seconds);
};

}  // namespace nvdvbsrv
