#pragma once
// A second reader of event information sections for the capture tests,
// written apart from the code under test: plain byte indexing, its own packet
// walk, section assembly and CRC table, nothing of mpegts or the guide. It
// keeps, for every byte of a section, where it lay in the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace independent {

using Bytes = std::vector<std::uint8_t>;

struct Section {
    Bytes bytes;
    std::vector<std::size_t> fileOffsets;  // of each byte
    bool crcOk = false;
};

struct Event {
    std::uint8_t table = 0;
    std::uint16_t onid = 0, tsid = 0, sid = 0, eid = 0;
    std::uint64_t start = 0;  // the 40-bit field
    std::uint32_t duration = 0;
    Bytes name;  // the short event name field as broadcast
};

Bytes ReadFile(const std::string& path);
// Sections of a PID in stream order; the file starts with a packet.
std::vector<Section> SectionsOf(const Bytes& ts, std::uint16_t pid);
// The events of an EIT section with a valid CRC (none for others).
std::vector<Event> EventsOf(const Section& section);

}  // namespace independent
