// Hand-built EBU teletext for the tests: data units of header and row
// packets (Hamming 8/4 addresses and header bytes, odd-parity characters,
// every byte bit-reversed as DVB carries it) and PES packets around them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mpegts/Hamming.h"

namespace testutil {

using Unit = std::array<uint8_t, 46>;  // id, length and the 44-byte body

struct HeaderFields {
    int magazine = 1;
    int tens = 0, units = 0;  // digits 0-15
    uint16_t subcode = 0;     // S1 bits 0-3, S2 4-6, S3 8-11, S4 12-13
    bool erase = false;       // C4
    bool serial = false;      // C11
    int national = 0;         // C12 C13 C14, C12 the highest bit
    std::string text;         // columns 8-39
};

inline Unit UnitOf(int magazine, int packet, const std::array<uint8_t, 40>& data) {
    Unit u{};
    u[0] = 0x02;
    u[1] = 44;
    u[2] = 0xE7;  // field parity, line offset 7
    u[3] = 0xE4;  // framing code
    u[4] =
        mpegts::ReverseBits(mpegts::Hamming84Encode(uint8_t((magazine & 7) | (packet & 1) << 3)));
    u[5] = mpegts::ReverseBits(mpegts::Hamming84Encode(uint8_t(packet >> 1)));
    for (size_t i = 0; i < 40; ++i) u[6 + i] = mpegts::ReverseBits(data[i]);
    return u;
}

inline uint8_t Char(const std::string& s, size_t i) {
    return mpegts::OddParity(uint8_t(i < s.size() ? s[i] : ' '));
}

inline Unit HeaderUnit(const HeaderFields& f) {
    const int n = f.national;
    const int h[8] = {f.units,
                      f.tens,
                      f.subcode & 0x0F,
                      (f.subcode >> 4 & 7) | (f.erase ? 8 : 0),
                      f.subcode >> 8 & 0x0F,
                      f.subcode >> 12 & 3,
                      0,
                      (f.serial ? 1 : 0) | (n >> 2 & 1) << 1 | (n >> 1 & 1) << 2 | (n & 1) << 3};
    std::array<uint8_t, 40> data{};
    for (size_t i = 0; i < 8; ++i) data[i] = mpegts::Hamming84Encode(uint8_t(h[i]));
    for (size_t i = 8; i < 40; ++i) data[i] = Char(f.text, i - 8);
    return UnitOf(f.magazine, 0, data);
}

inline Unit RowUnit(int magazine, int row, const std::string& text) {
    std::array<uint8_t, 40> data{};
    for (size_t i = 0; i < 40; ++i) data[i] = Char(text, i);
    return UnitOf(magazine, row, data);
}

// One PES packet (private stream 1, the usual 45 header bytes) of the units.
inline std::vector<uint8_t> TeletextPes(const std::vector<Unit>& units) {
    std::vector<uint8_t> pes = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x00, 0x84, 0x00, 0x24};
    pes.insert(pes.end(), 0x24, 0xFF);
    pes.push_back(0x10);  // EBU data
    for (const auto& u : units) pes.insert(pes.end(), u.begin(), u.end());
    const size_t length = pes.size() - 6;
    pes[4] = uint8_t(length >> 8);
    pes[5] = uint8_t(length);
    return pes;
}

}  // namespace testutil
