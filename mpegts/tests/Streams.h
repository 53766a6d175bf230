// Test inputs: sections built with the writer, sections packed into transport
// packets, and the real captures of the test-data folder cut into sections and
// PES packets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mpegts::test {

using Bytes = std::vector<std::uint8_t>;

// A long-form section with a valid CRC.
Bytes MakeSection(std::uint8_t tableId, std::uint16_t extension, std::uint8_t version,
                  std::uint8_t number, std::uint8_t last, const Bytes& body);
// Sections back to back in packets of one PID, a pointer field in every packet
// where a section starts; the last packet is stuffed with 0xFF.
std::vector<Bytes> Packetize(std::uint16_t pid, const std::vector<Bytes>& sections,
                             std::uint8_t firstCc);

// A capture of the test-data folder; empty when it is not there.
Bytes ReadCapture(const std::string& name);
std::string TestDataDir();
std::vector<Bytes> SectionsOf(const Bytes& ts, std::uint16_t pid);
// Whole PES packets of a PID (from one unit start to the next).
std::vector<Bytes> PesOf(const Bytes& ts, std::uint16_t pid);

}  // namespace mpegts::test
