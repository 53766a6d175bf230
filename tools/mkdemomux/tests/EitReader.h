// Reads EIT sections back for the tests, on the bit reader of mpegts: the
// header, every event with its short and extended texts (decoded from the
// default character table), content and rating. Any fault gives nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mpegts/BitReader.h"
#include "mpegts/Crc32.h"
#include "mpegts/DvbTime.h"

namespace eitreader {

struct Event {
    uint16_t id = 0;
    int64_t start = 0;
    uint32_t duration = 0;
    uint8_t running = 0;
    std::vector<uint8_t> descriptors;
    std::string language, name, text, extended;
    int extendedPieces = 0;
    uint8_t content = 0;
    std::string ratingCountry;
    uint8_t rating = 0;
};

struct Eit {
    uint8_t table = 0;
    uint16_t service = 0;
    uint8_t number = 0, last = 0, segmentLast = 0, lastTable = 0;
    std::vector<Event> events;
};

// German text of the default table as UTF-8: a diaeresis (0xC8) before a, o,
// u, A, O, U and ß (0xFB); "<?>" for any other byte above 0x7F.
inline std::string Decode(std::span<const uint8_t> b) {
    std::string out;
    for (size_t i = 0; i < b.size(); ++i) {
        if (b[i] == 0xFB) {
            out += "ß";
        } else if (b[i] == 0xC8 && i + 1 < b.size()) {
            const char base = char(b[++i]);
            const std::string letters = "aouAOU";
            const char* umlauts[] = {"ä", "ö", "ü", "Ä", "Ö", "Ü"};
            const size_t k = letters.find(base);
            out += k == std::string::npos ? "<?>" : umlauts[k];
        } else if (b[i] >= 0x80 || b[i] < 0x20) {
            out += "<?>";
        } else {
            out += char(b[i]);
        }
    }
    return out;
}

inline bool ReadDescriptors(std::span<const uint8_t> loop, Event& e) {
    mpegts::BitReader r(loop);
    int expectedPiece = 0;
    while (r.BytesLeft() > 0 && r.Ok()) {
        const uint8_t tag = r.U8();
        const auto body = r.Bytes(r.U8());
        mpegts::BitReader d(body);
        if (tag == 0x4D) {
            e.language = Decode(d.Bytes(3));
            e.name = Decode(d.Bytes(d.U8()));
            e.text = Decode(d.Bytes(d.U8()));
        } else if (tag == 0x4E) {
            const int number = int(d.Bits(4));
            d.Bits(4);  // last_descriptor_number
            d.Bytes(3);
            d.Bytes(d.U8());  // items
            if (number != expectedPiece++) return false;
            e.extended += Decode(d.Bytes(d.U8()));
            ++e.extendedPieces;
        } else if (tag == 0x54) {
            e.content = d.U8();
            d.U8();  // user nibbles
        } else if (tag == 0x55) {
            e.ratingCountry = Decode(d.Bytes(3));
            e.rating = d.U8();
        }
        if (!d.Ok() || d.BytesLeft() != 0) return false;
    }
    return r.Ok();
}

inline std::optional<Eit> Parse(std::span<const uint8_t> s) {
    if (s.size() < 18 || !mpegts::SectionCrcValid(s)) return std::nullopt;
    mpegts::BitReader r(s.first(s.size() - 4));
    Eit eit;
    eit.table = r.U8();
    r.Bits(4);
    if (r.Bits(12) + 3 != s.size()) return std::nullopt;
    eit.service = r.U16();
    r.U8();
    eit.number = r.U8();
    eit.last = r.U8();
    r.U16();
    r.U16();
    eit.segmentLast = r.U8();
    eit.lastTable = r.U8();
    while (r.BytesLeft() > 0 && r.Ok()) {
        Event e;
        e.id = r.U16();
        const uint64_t mjd = r.U16();
        const auto start = mpegts::UtcToUnix(mjd << 24 | r.U24());
        const auto duration = mpegts::DurationFromBcd(r.U24());
        e.running = uint8_t(r.Bits(3));
        r.Bits(1);
        const auto loop = r.Bytes(r.Bits(12));
        if (!start || !duration || !r.Ok()) return std::nullopt;
        e.start = *start;
        e.duration = *duration;
        e.descriptors.assign(loop.begin(), loop.end());
        if (!ReadDescriptors(loop, e)) return std::nullopt;
        eit.events.push_back(e);
    }
    if (!r.Ok()) return std::nullopt;
    return eit;
}

}  // namespace eitreader
