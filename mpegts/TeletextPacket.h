// EBU teletext as DVB carries it (ETSI EN 300 472) and its packets
// (ETS 300 706).
//
// A PES data field is a data_identifier (0x10-0x1F for EBU data) and data
// units: id, length, body. Teletext units are 0x02 (non-subtitle) and 0x03
// (subtitle) of 44 bytes: field parity and line offset, the framing code
// 0xE4, the two address bytes and 40 data bytes, every byte with its bit
// order turned round. TeletextUnits() hands out the 44-byte bodies;
// DecodeTeletextPacket() turns one into a packet with its bytes in the order
// of ETS 300 706 (bit 0 the first bit sent).
//
// Packet 0 is the page header: page units and tens, subcode S1-S4 and the
// control bits C4-C14 in eight Hamming 8/4 bytes, then the 32 characters of
// columns 8-39. Packets 1-25 are rows of 40 characters (odd parity kept),
// 26-29 a designation code (Hamming 8/4) and 13 Hamming 24/18 triplets, 30 and
// 31 data that is no part of a page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mpegts {

inline constexpr std::size_t kTeletextUnitSize = 44;

// The teletext unit bodies of one PES data field in order; nothing when the
// data identifier is not EBU data. Other units are skipped by their length;
// a unit that runs past the end ends the field.
std::vector<std::span<const std::uint8_t>> TeletextUnits(std::span<const std::uint8_t> field);

struct TeletextHeader {
    std::uint8_t units = 0;       // page number digits 0-15 (above 9: hexadecimal page)
    std::uint8_t tens = 0;        // 0xF and 0xF: a time-filling header
    std::uint16_t subcode = 0;    // S1 bits 0-3, S2 bits 4-6, S3 bits 8-11, S4 bits 12-13
    bool erase = false;           // C4: the page's earlier rows are gone
    bool newsflash = false;       // C5
    bool subtitle = false;        // C6
    bool suppressHeader = false;  // C7
    bool update = false;          // C8
    bool interrupted = false;     // C9
    bool inhibitDisplay = false;  // C10
    bool serial = false;          // C11: magazines in series
    std::uint8_t national = 0;    // C12 C13 C14 as a number 0-7, C12 the highest bit

    bool TimeFilling() const { return units == 0xF && tens == 0xF; }
    bool Decimal() const { return units <= 9 && tens <= 9; }
    std::uint8_t S1() const { return std::uint8_t(subcode & 0x0F); }
};

struct TeletextPacket {
    int magazine = 8;  // 1-8 (address 0 is magazine 8)
    int number = 0;    // packet (row) 0-31
    // Packet 0: the header, empty when one of its Hamming bytes is beyond repair.
    std::optional<TeletextHeader> header;
    // The 40 data bytes in the order of ETS 300 706; for a header the first 8
    // are its Hamming bytes, the characters of columns 8-39 follow.
    std::array<std::uint8_t, 40> data{};
    // Packets 26-29: designation code and triplets, each empty when damaged.
    std::optional<std::uint8_t> designation;
    std::array<std::optional<std::uint32_t>, 13> triplets{};
};

// Nothing when the framing code is wrong or an address byte is beyond repair.
std::optional<TeletextPacket> DecodeTeletextPacket(std::span<const std::uint8_t> unit);

// The byte's 7-bit character when its parity is odd, else nothing.
std::optional<std::uint8_t> TeletextCharacter(std::uint8_t b);

}  // namespace mpegts
