// The program association and program map tables (ISO/IEC 13818-1, 2.4.4.3
// and 2.4.4.8) as the recorder and the playback of transport streams need
// them: the programs of a PAT, a program's streams from its PMT, the two
// tables written anew for a recording, and a section cut into packets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace nvdvbsrv {

struct PatEntry {
    uint16_t program = 0;
    uint16_t pmtPid = 0;
};

struct PmtStream {
    uint8_t type = 0;
    uint16_t pid = 0;
    std::vector<uint8_t> descriptors;
};

struct ProgramMap {
    uint16_t program = 0;
    uint16_t pcrPid = 0x1FFF;
    std::vector<PmtStream> streams;
};

namespace ProgramTables {

inline constexpr uint16_t kPatPid = 0;

// The programs of a whole PAT section (CRC checked), network PID left out.
std::optional<std::vector<PatEntry>> ParsePat(std::span<const uint8_t> section);
// A whole PMT section (CRC checked).
std::optional<ProgramMap> ParsePmt(std::span<const uint8_t> section);
// Whether a stream of that type (and those descriptors) is video or sound.
bool IsVideo(const PmtStream& s);
bool IsAudio(const PmtStream& s);

// Sections of one program, version 0, current.
std::vector<uint8_t> WritePat(uint16_t transportStreamId, uint16_t program, uint16_t pmtPid);
std::vector<uint8_t> WritePmt(const ProgramMap& map);
// The section in packets of `pid` (the rest of the last one stuffed with
// 0xFF), counting on from `cc`.
std::vector<uint8_t> Packetize(std::span<const uint8_t> section, uint16_t pid, uint8_t& cc);

}  // namespace ProgramTables
}  // namespace nvdvbsrv
