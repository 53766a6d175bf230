#include "SectionHeader.h"

#include "BitReader.h"

namespace mpegts {

std::optional<SectionHeader> SectionHeader::Parse(std::span<const std::uint8_t> section) {
    if (section.size() < kShortSize) return std::nullopt;
    BitReader r(section);
    SectionHeader h;
    h.tableId = r.U8();
    h.syntaxIndicator = r.Flag();
    h.privateIndicator = r.Flag();
    r.Skip(2);
    h.sectionLength = static_cast<std::uint16_t>(r.Bits(12));
    if (r.BytesLeft() >= kLongSize - kShortSize) {
        LongForm l;
        l.tableIdExtension = r.U16();
        r.Skip(2);
        l.version = static_cast<std::uint8_t>(r.Bits(5));
        l.currentNext = r.Flag();
        l.sectionNumber = r.U8();
        l.lastSectionNumber = r.U8();
        h.longForm = l;
    }
    return h;
}

}  // namespace mpegts
