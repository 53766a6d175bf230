#include "guide/EitSection.h"

#include "mpegts/BitReader.h"
#include "mpegts/Crc32.h"
#include "mpegts/DescriptorLoop.h"
#include "mpegts/DvbText.h"
#include "mpegts/SectionHeader.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint8_t kFirstTable = 0x4E, kLastTable = 0x6F;
constexpr std::size_t kHeaderBytes = 14;  // up to last_table_id
constexpr std::size_t kCrcBytes = 4;
constexpr std::size_t kEventHeaderBytes = 12;

constexpr std::uint8_t kShortEvent = 0x4D, kExtendedEvent = 0x4E, kContent = 0x54,
                       kParentalRating = 0x55;

std::string Text(Bytes field) { return mpegts::DecodeDvbText(field); }

// ISO 639 codes are three letters; anything else shows as '?'.
std::string Language(Bytes code) {
    std::string out;
    for (const std::uint8_t c : code) out += c >= 0x20 && c < 0x7F ? char(c) : '?';
    return out;
}

void ReadShortEvent(Bytes body, EitEvent& event) {
    mpegts::BitReader r(body);
    const Bytes language = r.Bytes(3);
    const Bytes name = r.Bytes(r.U8());
    const Bytes text = r.Bytes(r.U8());
    if (!r.Ok()) return;
    event.hasShortEvent = true;
    event.language = Language(language);
    event.name = Text(name);
    event.text = Text(text);
}

// Items as "description: item" lines, then the text.
void ReadExtendedEvent(Bytes body, EitEvent& event) {
    mpegts::BitReader r(body);
    r.SkipBytes(4);  // descriptor numbers, language
    const Bytes items = r.Bytes(r.U8());
    const Bytes text = r.Bytes(r.U8());
    if (!r.Ok()) return;
    mpegts::BitReader item(items);
    while (item.BytesLeft() > 0) {
        const Bytes description = item.Bytes(item.U8());
        const Bytes value = item.Bytes(item.U8());
        if (!item.Ok()) break;
        event.extendedText += Text(description) + ": " + Text(value) + "\n";
    }
    event.extendedText += Text(text);
}

void ReadDescriptor(const mpegts::Descriptor& d, EitEvent& event) {
    switch (d.tag) {
        case kShortEvent:
            if (!event.hasShortEvent) ReadShortEvent(d.body, event);
            break;
        case kExtendedEvent:
            ReadExtendedEvent(d.body, event);
            break;
        case kContent:
            if (!event.hasContent && !d.body.empty()) {
                event.hasContent = true;
                event.contentNibbles = d.body[0];
            }
            break;
        case kParentalRating:
            if (event.parentalRating == 0 && d.body.size() >= 4) event.parentalRating = d.body[3];
            break;
        default:
            break;
    }
}

// One event from the reader; false when its header or loop overruns.
bool ReadEvent(mpegts::BitReader& r, EitEvent& event) {
    if (r.BytesLeft() < kEventHeaderBytes) return false;
    event.eventId = r.U16();
    event.mjd = r.U16();
    event.startBcd = r.U24();
    event.durationBcd = r.U24();
    event.headerByte10 = r.U8();
    const std::size_t loopLength = std::size_t(event.headerByte10 & 0x0F) << 8 | r.U8();
    const Bytes loop = r.Bytes(loopLength);
    if (!r.Ok()) return false;
    const mpegts::DescriptorLoop descriptors(loop);
    if (descriptors.Overrun()) return false;
    for (const mpegts::Descriptor& d : descriptors) ReadDescriptor(d, event);
    return true;
}

bool ReadHeader(Bytes bytes, EitSection& section) {
    mpegts::BitReader r(bytes);
    section.tableId = r.U8();
    r.Skip(4);  // syntax indicator (checked by the caller), reserved bits
    r.Skip(12);
    section.serviceId = r.U16();
    r.Skip(2);
    section.version = std::uint8_t(r.Bits(5));
    r.Skip(1);  // current_next_indicator: an EIT is always current
    section.sectionNumber = r.U8();
    section.lastSectionNumber = r.U8();
    section.transportStreamId = r.U16();
    section.originalNetworkId = r.U16();
    section.segmentLastSectionNumber = r.U8();
    section.lastTableId = r.U8();
    return r.Ok();
}

// The section's own bytes, if it is a whole EIT section.
std::optional<Bytes> WholeSection(Bytes bytes) {
    const auto header = mpegts::SectionHeader::Parse(bytes);
    if (!header || header->tableId < kFirstTable || header->tableId > kLastTable ||
        !header->syntaxIndicator)
        return std::nullopt;
    if (header->TotalSize() > bytes.size() || header->TotalSize() < kHeaderBytes + kCrcBytes)
        return std::nullopt;
    const Bytes section = bytes.first(header->TotalSize());
    if (!mpegts::SectionCrcValid(section)) return std::nullopt;
    return section;
}

}  // namespace

std::optional<EitSection> ParseEitSection(std::span<const std::uint8_t> bytes) {
    const auto whole = WholeSection(bytes);
    if (!whole) return std::nullopt;
    EitSection section;
    if (!ReadHeader(*whole, section)) return std::nullopt;
    mpegts::BitReader events(
        whole->subspan(kHeaderBytes, whole->size() - kHeaderBytes - kCrcBytes));
    while (events.BytesLeft() > 0) {
        EitEvent event;
        if (!ReadEvent(events, event)) return std::nullopt;
        section.events.push_back(std::move(event));
    }
    return section;
}
