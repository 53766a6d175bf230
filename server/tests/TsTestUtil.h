// Small helpers for the tests: sections with CRC, packetising sections into
// transport packets, and an independent extraction of the sections of a PID
// from a capture (a plain payload concatenation, unlike the server's
// packet-by-packet assembler).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testutil {

using Bytes = std::vector<uint8_t>;

// A long-form section: table id, extension, version, section number/last, body, CRC.
Bytes MakeSection(uint8_t tableId, uint16_t ext, uint8_t version, uint8_t number, uint8_t last,
                  const Bytes& body, bool currentNext = true);

// Packs the sections back to back into 188-byte packets of the PID; a new packet
// carries a pointer field whenever a section starts in it. Continuity counters
// run from cc. The last packet is padded with 0xFF.
std::vector<Bytes> Packetize(uint16_t pid, const std::vector<Bytes>& sections, uint8_t& cc);

Bytes ReadFile(const std::string& path);

// Every complete section of the PID in the capture, in order of arrival.
std::vector<Bytes> ExtractSections(const Bytes& ts, uint16_t pid);

std::string TestDataDir();

}  // namespace testutil
