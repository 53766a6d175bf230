#pragma once
// Builds EIT sections for the guide's tests: one event per section with a
// short event descriptor and, when asked, an extended text and a rating.
#include <cstdint>
#include <string>
#include <vector>

#include "mpegts/BitWriter.h"
#include "mpegts/Crc32.h"

struct TestEvent {
    std::uint16_t id = 1;
    std::uint16_t mjd = 0xC079;         // 1993-10-13
    std::uint32_t startBcd = 0x124500;  // 12:45:00 UTC
    std::uint32_t durationBcd = 0x013000;
    std::string name = "Tagesschau";
    std::string text = "Nachrichten";
    std::string extended;
    std::uint8_t rating = 0;
};

inline std::vector<std::uint8_t> EitSectionBytes(std::uint8_t table, std::uint16_t service,
                                                 std::uint8_t number, std::uint8_t last,
                                                 const std::vector<TestEvent>& events) {
    mpegts::BitWriter w;
    w.U8(table);
    const std::size_t lengthAt = w.BitPosition() + 4;
    w.U16(0xF000);
    w.U16(service);
    w.U8(0xC1);  // version 0, current
    w.U8(number);
    w.U8(last);
    w.U16(1101);  // transport stream
    w.U16(1);     // original network
    w.U8(last);   // segment last section
    w.U8(table);
    for (const TestEvent& e : events) {
        w.U16(e.id);
        w.U16(e.mjd);
        w.U24(e.startBcd);
        w.U24(e.durationBcd);
        mpegts::BitWriter d;
        d.U8(0x4D);
        d.U8(std::uint8_t(5 + e.name.size() + e.text.size()));
        d.Bytes(std::vector<std::uint8_t>{'d', 'e', 'u'});
        d.U8(std::uint8_t(e.name.size()));
        d.Bytes({reinterpret_cast<const std::uint8_t*>(e.name.data()), e.name.size()});
        d.U8(std::uint8_t(e.text.size()));
        d.Bytes({reinterpret_cast<const std::uint8_t*>(e.text.data()), e.text.size()});
        if (!e.extended.empty()) {
            d.U8(0x4E);
            d.U8(std::uint8_t(6 + e.extended.size()));
            d.U8(0x00);  // descriptor 0 of 0
            d.Bytes(std::vector<std::uint8_t>{'d', 'e', 'u'});
            d.U8(0);  // no items
            d.U8(std::uint8_t(e.extended.size()));
            d.Bytes({reinterpret_cast<const std::uint8_t*>(e.extended.data()), e.extended.size()});
        }
        if (e.rating != 0) {
            d.U8(0x55);
            d.U8(4);
            d.Bytes(std::vector<std::uint8_t>{'D', 'E', 'U', e.rating});
        }
        w.U16(std::uint16_t(0x8000 | d.Size()));  // running, loop length
        w.Bytes(d.Data());
    }
    const std::size_t length = w.Size() + 4 - 3;
    w.Patch(lengthAt, 12, std::uint32_t(length));
    std::vector<std::uint8_t> bytes(w.Data().begin(), w.Data().end());
    const std::uint32_t crc = mpegts::Crc32Mpeg2(bytes);
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(std::uint8_t(crc >> shift));
    return bytes;
}
