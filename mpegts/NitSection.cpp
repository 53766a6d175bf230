#include "mpegts/NitSection.h"

#include "mpegts/BitReader.h"
#include "mpegts/Crc32.h"
#include "mpegts/DescriptorLoop.h"
#include "mpegts/SectionHeader.h"

namespace mpegts {
namespace {

constexpr std::uint8_t kNitActual = 0x40, kNitOther = 0x41;
constexpr std::uint8_t kSatelliteDelivery = 0x43, kCableDelivery = 0x44;
constexpr std::size_t kDeliveryBytes = 11;
constexpr std::size_t kCrcBytes = 4;

// Both delivery descriptors: 32-bit frequency, then their own 40 bits, then
// the 28-bit symbol rate (seven digits, 100 symbols/s) and the inner FEC.
std::optional<SatelliteDelivery> Satellite(std::span<const std::uint8_t> body) {
    if (body.size() < kDeliveryBytes) return std::nullopt;
    BitReader r(body);
    SatelliteDelivery d;
    d.frequencyKHz = r.Bcd(8) * 10;
    d.orbitalPosition = static_cast<std::uint16_t>(r.Bits(16));
    d.east = r.Flag();
    d.polarisation = static_cast<std::uint8_t>(r.Bits(2));
    r.Skip(2);  // roll-off
    d.modulation = static_cast<std::uint8_t>(r.Bits(3));
    d.symbolRate = r.Bcd(7) * 100;
    d.fecInner = static_cast<std::uint8_t>(r.Bits(4));
    if (!r.Ok()) return std::nullopt;
    return d;
}

std::optional<CableDelivery> Cable(std::span<const std::uint8_t> body) {
    if (body.size() < kDeliveryBytes) return std::nullopt;
    BitReader r(body);
    CableDelivery d;
    d.frequencyKHz = r.Bcd(8) / 10;
    r.Skip(12);  // reserved
    d.fecOuter = static_cast<std::uint8_t>(r.Bits(4));
    d.modulation = r.U8();
    d.symbolRate = r.Bcd(7) * 100;
    d.fecInner = static_cast<std::uint8_t>(r.Bits(4));
    if (!r.Ok()) return std::nullopt;
    return d;
}

NitTransportStream Stream(std::uint16_t tsid, std::uint16_t onid,
                          std::span<const std::uint8_t> descriptors) {
    NitTransportStream s{tsid, onid, std::nullopt, std::nullopt};
    for (const Descriptor& d : DescriptorLoop(descriptors)) {
        if (d.tag == kSatelliteDelivery && !s.satellite) s.satellite = Satellite(d.body);
        if (d.tag == kCableDelivery && !s.cable) s.cable = Cable(d.body);
    }
    return s;
}

}  // namespace

std::int32_t CableDelivery::QamOrder() const {
    return modulation >= 1 && modulation <= 5 ? 8 << modulation : 0;
}

std::optional<NitSection> ParseNit(std::span<const std::uint8_t> section) {
    const auto header = SectionHeader::Parse(section);
    if (!header || (header->tableId != kNitActual && header->tableId != kNitOther) ||
        !header->syntaxIndicator || !header->longForm ||
        header->TotalSize() < SectionHeader::kLongSize + 4 + kCrcBytes ||
        header->TotalSize() > section.size())
        return std::nullopt;
    section = section.first(header->TotalSize());
    if (!SectionCrcValid(section)) return std::nullopt;

    NitSection nit;
    nit.tableId = header->tableId;
    nit.networkId = header->longForm->tableIdExtension;
    nit.version = header->longForm->version;
    nit.sectionNumber = header->longForm->sectionNumber;
    nit.lastSectionNumber = header->longForm->lastSectionNumber;

    BitReader r(section.first(section.size() - kCrcBytes));
    r.SkipBytes(SectionHeader::kLongSize);
    r.Skip(4);
    r.Bytes(r.Bits(12));  // network descriptors
    r.Skip(4);
    BitReader loop(r.Bytes(r.Bits(12)));
    if (!r.Ok()) return std::nullopt;
    while (loop.BytesLeft() >= 6) {
        const std::uint16_t tsid = loop.U16();
        const std::uint16_t onid = loop.U16();
        loop.Skip(4);
        const auto descriptors = loop.Bytes(loop.Bits(12));
        if (!loop.Ok()) return std::nullopt;
        nit.streams.push_back(Stream(tsid, onid, descriptors));
    }
    return nit;
}

}  // namespace mpegts
