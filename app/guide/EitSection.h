#pragma once
// One section of the event information table (ETSI EN 300 468, 5.2.4): the
// present/following tables 0x4E/0x4F and the schedules 0x50-0x6F, with the
// descriptors of each event the guide shows (short and extended event,
// content, parental rating) decoded to UTF-8.
//
// The section is read by its lengths and never past the given bytes. A section
// that is not whole is refused as a whole: a bad CRC, a table id outside
// 0x4E-0x6F, no section syntax, a section_length beyond the bytes, an event
// whose header or descriptor loop overruns the event loop, or a descriptor
// that overruns its event's loop. A short or extended event descriptor whose
// own lengths run past its body is skipped (the event stays).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct EitEvent {
    std::uint16_t eventId = 0;
    std::uint16_t mjd = 0;          // start_time: MJD
    std::uint32_t startBcd = 0;     // start_time: hhmmss BCD (24 bits)
    std::uint32_t durationBcd = 0;  // hhmmss BCD (24 bits)
    std::uint8_t headerByte10 = 0;  // byte 10 of the 12-byte event header (running_status,
                                    // free_CA_mode, high bits of the loop length)
    bool hasShortEvent = false;     // a short event descriptor 0x4D was there
    std::string language;           // its ISO 639 code, e.g. "deu"
    std::string name;               // UTF-8 (DecodeDvbText)
    std::string text;               // UTF-8
    std::string extendedText;       // extended event descriptors 0x4E in order, items ("desc: item"
                                    // lines) then text, joined, UTF-8
    bool hasContent = false;
    std::uint8_t contentNibbles = 0;  // first byte of the content descriptor 0x54 (high nibble =
                                      // level 1)
    std::uint8_t parentalRating = 0;  // rating byte of the first entry of descriptor 0x55 (0 none)
};

struct EitSection {
    std::uint8_t tableId = 0;
    std::uint16_t serviceId = 0, transportStreamId = 0, originalNetworkId = 0;
    std::uint8_t version = 0, sectionNumber = 0, lastSectionNumber = 0;
    std::uint8_t segmentLastSectionNumber = 0, lastTableId = 0;
    std::vector<EitEvent> events;
    bool IsPresentFollowing() const { return tableId == 0x4E || tableId == 0x4F; }
};

/// The section from its first byte; the bytes may run on past its end (the
/// rest is not looked at). Nothing for a section that is not whole.
std::optional<EitSection> ParseEitSection(std::span<const std::uint8_t> section);
