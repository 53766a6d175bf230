// One section of a network information table (ETSI EN 300 468, 5.2.1): the
// network id and, per transport stream, its ids and the satellite (0x43) or
// cable (0x44) delivery system descriptor that says where it is broadcast.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mpegts {

struct SatelliteDelivery {
    std::uint32_t frequencyKHz = 0;     // BCD in 10 kHz units
    std::uint16_t orbitalPosition = 0;  // BCD, tenths of a degree
    bool east = false;
    std::uint8_t polarisation = 0;  // 0 horizontal, 1 vertical, 2 left, 3 right
    std::uint8_t modulation = 0;    // modulation_system and modulation_type (3 bits)
    std::uint32_t symbolRate = 0;   // symbols per second (BCD in 100 symbol units)
    std::uint8_t fecInner = 0;
};

struct CableDelivery {
    std::uint32_t frequencyKHz = 0;  // BCD in 100 Hz units
    std::uint8_t fecOuter = 0;
    std::uint8_t modulation = 0;  // 1 16-QAM ... 5 256-QAM
    std::uint32_t symbolRate = 0;
    std::uint8_t fecInner = 0;

    // The QAM order of the modulation (16 ... 256), 0 for an undefined one.
    std::int32_t QamOrder() const;
};

struct NitTransportStream {
    std::uint16_t transportStreamId = 0;
    std::uint16_t originalNetworkId = 0;
    std::optional<SatelliteDelivery> satellite;
    std::optional<CableDelivery> cable;
};

struct NitSection {
    std::uint8_t tableId = 0;  // 0x40 actual, 0x41 other
    std::uint16_t networkId = 0;
    std::uint8_t version = 0;
    std::uint8_t sectionNumber = 0;
    std::uint8_t lastSectionNumber = 0;
    std::vector<NitTransportStream> streams;
};

// Nothing for a section that is not a NIT (table 0x40/0x41 with the long
// form), that is cut short, whose loops run past it, or whose CRC fails. A
// delivery descriptor with a digit above 9 is left out of its stream.
std::optional<NitSection> ParseNit(std::span<const std::uint8_t> section);

}  // namespace mpegts
