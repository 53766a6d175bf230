// NIT sections written field by field, for the tests of the NIT reader and
// of the channel scan that follows it.
#pragma once

#include <cstdint>
#include <vector>

#include "mpegts/BitWriter.h"
#include "mpegts/Crc32.h"

namespace nittest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Satellite(std::uint32_t frequencyBcd, std::uint8_t flags, std::uint32_t symbolBcd) {
    mpegts::BitWriter w;
    w.U8(0x43);
    w.U8(11);
    w.U32(frequencyBcd);
    w.U16(0x0192);
    w.U8(flags);
    w.Bits(28, symbolBcd);
    w.Bits(4, 3);
    return {w.Data().begin(), w.Data().end()};
}

inline Bytes Cable(std::uint32_t frequencyBcd, std::uint8_t modulation, std::uint32_t symbolBcd) {
    mpegts::BitWriter w;
    w.U8(0x44);
    w.U8(11);
    w.U32(frequencyBcd);
    w.Bits(12, 0xFFF);
    w.Bits(4, 2);
    w.U8(modulation);
    w.Bits(28, symbolBcd);
    w.Bits(4, 0);
    return {w.Data().begin(), w.Data().end()};
}

struct Entry {
    std::uint16_t tsid, onid;
    Bytes descriptors;
};

// A whole section of table `tableId` with a network name descriptor and the entries.
inline Bytes Nit(std::uint16_t networkId, const std::vector<Entry>& entries,
                 std::uint8_t tableId = 0x40) {
    Bytes body;
    mpegts::BitWriter w;
    w.Bits(4, 0xF);
    w.Bits(12, 7);
    w.Bytes(Bytes{0x40, 5, 'A', 'S', 'T', 'R', 'A'});
    std::size_t loop = 0;
    for (const auto& e : entries) loop += 6 + e.descriptors.size();
    w.Bits(4, 0xF);
    w.Bits(12, static_cast<std::uint32_t>(loop));
    for (const auto& e : entries) {
        w.U16(e.tsid);
        w.U16(e.onid);
        w.Bits(4, 0xF);
        w.Bits(12, static_cast<std::uint32_t>(e.descriptors.size()));
        w.Bytes(e.descriptors);
    }
    body.assign(w.Data().begin(), w.Data().end());
    const std::size_t length = 5 + body.size() + 4;
    Bytes s = {tableId,
               static_cast<std::uint8_t>(0xF0 | length >> 8),
               static_cast<std::uint8_t>(length),
               static_cast<std::uint8_t>(networkId >> 8),
               static_cast<std::uint8_t>(networkId),
               0xC3,
               0,
               0};
    s.insert(s.end(), body.begin(), body.end());
    const std::uint32_t crc = mpegts::Crc32Mpeg2(s);
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<std::uint8_t>(crc >> shift));
    return s;
}

// The 28 bits of a BCD number of seven digits, as the descriptors hold it.
inline std::uint32_t Bcd(std::uint32_t value, int digits) {
    std::uint32_t out = 0;
    for (int i = 0; i < digits; ++i, value /= 10) out |= (value % 10) << (4 * i);
    return out;
}

// The satellite delivery descriptor of a transponder: kHz, 0 H / 1 V, symbols/s.
inline Bytes SatelliteOf(std::uint32_t kHz, int vertical, std::uint32_t symbolRate) {
    return Satellite(Bcd(kHz / 10, 8), static_cast<std::uint8_t>(0x81 | vertical << 5),
                     Bcd(symbolRate / 100, 7));
}

}  // namespace nittest
