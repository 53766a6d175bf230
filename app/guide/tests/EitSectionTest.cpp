// One event information section from its bytes: the header, the events and
// the descriptors the guide reads, and the sections that are refused whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guide/EitSection.h"
#include "mpegts/Crc32.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Descriptor(std::uint8_t tag, const Bytes& body) {
    Bytes d{tag, std::uint8_t(body.size())};
    d.insert(d.end(), body.begin(), body.end());
    return d;
}

Bytes ShortEvent(const std::string& lang, const Bytes& name, const Bytes& text) {
    Bytes b = Str(lang);
    b.push_back(std::uint8_t(name.size()));
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(std::uint8_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    return Descriptor(0x4D, b);
}

Bytes ExtendedEvent(std::uint8_t number,
                    const std::vector<std::pair<std::string, std::string>>& items,
                    const std::string& text) {
    Bytes list;
    for (const auto& [d, v] : items) {
        list.push_back(std::uint8_t(d.size()));
        list.insert(list.end(), d.begin(), d.end());
        list.push_back(std::uint8_t(v.size()));
        list.insert(list.end(), v.begin(), v.end());
    }
    Bytes b{std::uint8_t(number << 4 | 1), 'd', 'e', 'u', std::uint8_t(list.size())};
    b.insert(b.end(), list.begin(), list.end());
    b.push_back(std::uint8_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    return Descriptor(0x4E, b);
}

Bytes Event(std::uint16_t id, std::uint8_t statusBits, const Bytes& descriptors) {
    const std::size_t n = descriptors.size();
    Bytes e{std::uint8_t(id >> 8),
            std::uint8_t(id),
            0xC0,
            0x79,
            0x12,
            0x45,
            0x00,
            0x01,
            0x30,
            0x00,
            std::uint8_t(statusBits | n >> 8),
            std::uint8_t(n)};
    e.insert(e.end(), descriptors.begin(), descriptors.end());
    return e;
}

void SetCrc(Bytes& s) {
    const std::uint32_t crc = mpegts::Crc32Mpeg2(std::span(s).first(s.size() - 4));
    for (int i = 0; i < 4; ++i)
        s[s.size() - 4 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
}

Bytes Section(std::uint8_t table, const std::vector<Bytes>& events) {
    Bytes s{table, 0, 0, 0x6D, 0xCA, 0xC5, 3, 0x31, 0x03, 0x21, 0x04, 0x02, 0x30, 0x51};
    for (const Bytes& e : events) s.insert(s.end(), e.begin(), e.end());
    s.insert(s.end(), 4, 0);
    const std::size_t length = s.size() - 3;
    s[1] = std::uint8_t(0xF0 | length >> 8);
    s[2] = std::uint8_t(length);
    SetCrc(s);
    return s;
}

TEST(EitSection, HeaderEventsAndTheGuidesDescriptors) {
    const Bytes descriptors = [] {
        Bytes d = ShortEvent("deu",
                             Str("Gr\xC8u\xFB"
                                 "e"),
                             Str("\x0B"
                                 "K\xF6ln"));
        for (const Bytes& part :
             {ExtendedEvent(0, {{"Regie", "A. B\xC8o"}, {"Jahr", "2024"}}, "Teil eins, "),
              ExtendedEvent(1, {}, "Teil zwei"), Descriptor(0x54, {0x23, 0x10, 0x45, 0x00}),
              Descriptor(0x55, {'D', 'E', 'U', 0x09}), Descriptor(0x4D, Str("engshort"))})
            d.insert(d.end(), part.begin(), part.end());
        return d;
    }();
    const Bytes bytes = Section(0x50, {Event(0x04D2, 0x90, descriptors), Event(7, 0x20, {})});
    const auto s = ParseEitSection(bytes);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->tableId, 0x50);
    EXPECT_EQ(s->serviceId, 28106);
    EXPECT_EQ(s->version, 2);
    EXPECT_EQ(s->sectionNumber, 3);
    EXPECT_EQ(s->lastSectionNumber, 0x31);
    EXPECT_EQ(s->transportStreamId, 0x0321);
    EXPECT_EQ(s->originalNetworkId, 0x0402);
    EXPECT_EQ(s->segmentLastSectionNumber, 0x30);
    EXPECT_EQ(s->lastTableId, 0x51);
    EXPECT_FALSE(s->IsPresentFollowing());
    ASSERT_EQ(s->events.size(), 2u);

    const EitEvent& e = s->events[0];
    EXPECT_EQ(e.eventId, 0x04D2);
    EXPECT_EQ(e.mjd, 0xC079);
    EXPECT_EQ(e.startBcd, 0x124500u);
    EXPECT_EQ(e.durationBcd, 0x013000u);
    EXPECT_EQ(e.headerByte10, 0x90);  // running status 4, scrambled, the loop length's top bits 0
    EXPECT_TRUE(e.hasShortEvent);
    EXPECT_EQ(e.language, "deu");
    EXPECT_EQ(e.name, "Grüße");
    EXPECT_EQ(e.text, "Köln");
    EXPECT_EQ(e.extendedText, "Regie: A. Bö\nJahr: 2024\nTeil eins, Teil zwei");
    EXPECT_TRUE(e.hasContent);
    EXPECT_EQ(e.contentNibbles, 0x23);
    EXPECT_EQ(e.parentalRating, 9);

    const EitEvent& bare = s->events[1];
    EXPECT_EQ(bare.eventId, 7);
    EXPECT_FALSE(bare.hasShortEvent);
    EXPECT_FALSE(bare.hasContent);
    EXPECT_EQ(bare.name, "");
}

TEST(EitSection, TrailingBytesAfterTheSectionAreNotRead) {
    Bytes bytes = Section(0x4E, {Event(1, 0, ShortEvent("deu", Str("a"), {}))});
    const std::size_t size = bytes.size();
    bytes.insert(bytes.end(), 20, 0xFF);
    const auto s = ParseEitSection(bytes);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->IsPresentFollowing());
    EXPECT_EQ(s->events.size(), 1u);
    EXPECT_FALSE(ParseEitSection(std::span(bytes).first(size - 1)));  // cut short
}

TEST(EitSection, BrokenSectionsAreRefusedWhole) {
    const Bytes good = Section(0x4F, {Event(1, 0, ShortEvent("deu", Str("a"), Str("b"))),
                                      Event(2, 0, ShortEvent("deu", Str("c"), Str("d")))});
    ASSERT_TRUE(ParseEitSection(good));
    auto broken = [&](auto change) {
        Bytes b = good;
        change(b);
        return ParseEitSection(b).has_value();
    };
    EXPECT_FALSE(broken([](Bytes& b) { b[20] ^= 0x01; })) << "bad CRC";
    EXPECT_FALSE(broken([](Bytes& b) { b[0] = 0x4D, SetCrc(b); })) << "table 0x4D";
    EXPECT_FALSE(broken([](Bytes& b) { b[0] = 0x70, SetCrc(b); })) << "table 0x70";
    EXPECT_FALSE(broken([](Bytes& b) { b[1] &= 0x7F, SetCrc(b); })) << "no section syntax";
    EXPECT_FALSE(broken([](Bytes& b) { b[2] += 1; })) << "length beyond the bytes";
    // The first event's loop (13 bytes) claimed one byte longer: the second event
    // no longer fits.
    EXPECT_FALSE(broken([](Bytes& b) { b[14 + 11] += 1, SetCrc(b); })) << "event loop overrun";
    // A descriptor whose length runs past its event's loop.
    EXPECT_FALSE(broken([](Bytes& b) { b[14 + 12 + 1] += 1, SetCrc(b); })) << "descriptor overrun";
    // Five bytes more after the events: no room for an event header.
    EXPECT_FALSE(broken([](Bytes& b) {
        b.insert(b.end() - 4, {1, 2, 3, 4, 5});
        b[2] += 5;
        SetCrc(b);
    })) << "partial event header";
    EXPECT_FALSE(ParseEitSection(Bytes{0x4E, 0xF0}));
    EXPECT_FALSE(ParseEitSection(Bytes{}));
}

TEST(EitSection, ShortEventWithLengthsPastItsBodyIsSkipped) {
    // name length 5 in a body of 6 bytes: the text length byte is missing.
    const Bytes bytes = Section(0x50, {Event(9, 0, Descriptor(0x4D, Str("deu\x05xy")))});
    const auto s = ParseEitSection(bytes);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->events.size(), 1u);
    EXPECT_FALSE(s->events[0].hasShortEvent);
}

}  // namespace
