#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "mpegts/Hamming.h"
#include "mpegts/TeletextPacket.h"

using namespace mpegts;

namespace {

using Unit = std::array<uint8_t, kTeletextUnitSize>;

// A unit body as carried: line byte, framing code, address, 40 data bytes,
// every byte bit-reversed.
Unit Carried(int magazine, int packet, const std::array<uint8_t, 40>& data) {
    Unit u{};
    u[0] = 0xE7;
    u[1] = 0xE4;
    u[2] = ReverseBits(Hamming84Encode(uint8_t((magazine & 7) | (packet & 1) << 3)));
    u[3] = ReverseBits(Hamming84Encode(uint8_t(packet >> 1)));
    for (size_t i = 0; i < 40; ++i) u[4 + i] = ReverseBits(data[i]);
    return u;
}

Unit HeaderWith(const std::array<uint8_t, 8>& nibbles) {
    std::array<uint8_t, 40> data{};
    for (size_t i = 0; i < 8; ++i) data[i] = Hamming84Encode(nibbles[i]);
    for (size_t i = 8; i < 40; ++i) data[i] = OddParity('A');
    return Carried(1, 0, data);
}

TeletextHeader Decoded(const std::array<uint8_t, 8>& nibbles) {
    const auto p = DecodeTeletextPacket(HeaderWith(nibbles));
    EXPECT_TRUE(p && p->header);
    return p && p->header ? *p->header : TeletextHeader{};
}

}  // namespace

TEST(TeletextPacketTest, HeaderFieldsComeFromTheirBits) {
    const auto h = Decoded({0x5, 0x3, 0x9, 0x7, 0xC, 0x2, 0x0, 0x0});
    EXPECT_EQ(h.units, 5);
    EXPECT_EQ(h.tens, 3);
    EXPECT_EQ(h.subcode, 0x2C79);
    EXPECT_EQ(h.S1(), 9);
    EXPECT_FALSE(h.erase || h.newsflash || h.subtitle || h.serial);
    EXPECT_TRUE(Decoded({0, 0, 0, 0x8, 0, 0, 0, 0}).erase);
    EXPECT_EQ(Decoded({0, 0, 0, 0x8, 0, 0, 0, 0}).subcode, 0);  // C4 is no subcode bit
    EXPECT_TRUE(Decoded({0, 0, 0, 0, 0, 0x4, 0, 0}).newsflash);
    EXPECT_TRUE(Decoded({0, 0, 0, 0, 0, 0x8, 0, 0}).subtitle);
    EXPECT_TRUE(Decoded({0, 0, 0, 0, 0, 0, 0x1, 0}).suppressHeader);
    EXPECT_TRUE(Decoded({0, 0, 0, 0, 0, 0, 0x2, 0}).update);
    EXPECT_TRUE(Decoded({0, 0, 0, 0, 0, 0, 0x4, 0}).interrupted);
    EXPECT_TRUE(Decoded({0, 0, 0, 0, 0, 0, 0x8, 0}).inhibitDisplay);
    EXPECT_TRUE(Decoded({0, 0, 0, 0, 0, 0, 0, 0x1}).serial);
    // C12 C13 C14 as a number, C12 (sent first) the highest bit.
    EXPECT_EQ(Decoded({0, 0, 0, 0, 0, 0, 0, 0x2}).national, 4);  // C12: French
    EXPECT_EQ(Decoded({0, 0, 0, 0, 0, 0, 0, 0x8}).national, 1);  // C14: German
    EXPECT_EQ(Decoded({0, 0, 0, 0, 0, 0, 0, 0xC}).national, 3);  // C13 C14: Italian
    EXPECT_TRUE(Decoded({0xF, 0xF, 0, 0, 0, 0, 0, 0}).TimeFilling());
    EXPECT_FALSE(Decoded({0xA, 0x1, 0, 0, 0, 0, 0, 0}).Decimal());
}

TEST(TeletextPacketTest, AddressFramingAndDamagedHeaders) {
    std::array<uint8_t, 40> text{};
    text.fill(OddParity('x'));
    const auto row = DecodeTeletextPacket(Carried(0, 23, text));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->magazine, 8);
    EXPECT_EQ(row->number, 23);
    EXPECT_EQ(row->data[0], OddParity('x'));  // parity bit kept
    EXPECT_FALSE(row->header);

    Unit badFraming = Carried(1, 1, text);
    badFraming[1] = 0x27;
    EXPECT_FALSE(DecodeTeletextPacket(badFraming));
    Unit badAddress = Carried(1, 1, text);
    badAddress[3] ^= 0x03;
    EXPECT_FALSE(DecodeTeletextPacket(badAddress));
    EXPECT_FALSE(DecodeTeletextPacket(std::span(badAddress).first(43)));

    Unit header = HeaderWith({1, 2, 0, 0, 0, 0, 0, 0});
    header[4 + 7] ^= 0x81;  // the C11-C14 byte: two bits wrong
    const auto damaged = DecodeTeletextPacket(header);
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->number, 0);
    EXPECT_FALSE(damaged->header);
    header[4 + 7] ^= 0x01;  // one bit wrong is repaired
    const auto mended = DecodeTeletextPacket(header);
    ASSERT_TRUE(mended && mended->header);
    EXPECT_EQ(mended->header->tens, 2);
}

TEST(TeletextPacketTest, EnhancementPacketsCarryTripletsEachCheckedOnItsOwn) {
    std::array<uint8_t, 40> data{};
    data[0] = Hamming84Encode(3);
    for (size_t i = 0; i < 13; ++i) {
        const uint32_t code = Hamming2418Encode(uint32_t(0x2A5A5 + i));
        data[1 + 3 * i] = uint8_t(code);
        data[2 + 3 * i] = uint8_t(code >> 8);
        data[3 + 3 * i] = uint8_t(code >> 16);
    }
    data[1 + 3 * 4] ^= 0x06;  // triplet 4: two bits wrong
    data[2 + 3 * 7] ^= 0x10;  // triplet 7: one bit wrong
    const auto p = DecodeTeletextPacket(Carried(2, 26, data));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->designation, 3);
    for (size_t i = 0; i < 13; ++i) {
        if (i == 4)
            EXPECT_FALSE(p->triplets[i]);
        else
            EXPECT_EQ(p->triplets[i], 0x2A5A5 + i) << i;
    }
}

TEST(TeletextPacketTest, UnitsOfADataField) {
    const Unit a = Carried(1, 1, {});
    std::vector<uint8_t> field = {0x10, 0xFF, 3, 0, 0, 0, 0x02, 44};
    field.insert(field.end(), a.begin(), a.end());
    field.insert(field.end(), {0x02, 10});  // wrong length: skipped by it
    field.insert(field.end(), 10, 0xAA);
    field.insert(field.end(), {0x03, 44});
    field.insert(field.end(), a.begin(), a.end());
    field.insert(field.end(), {0x02, 44, 0xE7, 0xE4});  // runs past the end
    const auto units = TeletextUnits(field);
    ASSERT_EQ(units.size(), 2u);
    EXPECT_TRUE(std::equal(units[0].begin(), units[0].end(), a.begin()));
    EXPECT_TRUE(std::equal(units[1].begin(), units[1].end(), a.begin()));
    field[0] = 0x20;  // not EBU data
    EXPECT_TRUE(TeletextUnits(field).empty());
    EXPECT_TRUE(TeletextUnits({}).empty());
}

TEST(TeletextPacketTest, CharacterParity) {
    EXPECT_EQ(TeletextCharacter(OddParity('A')), 'A');
    EXPECT_EQ(TeletextCharacter(0x20), 0x20);
    EXPECT_FALSE(TeletextCharacter(uint8_t(OddParity('A') ^ 0x80)));
}
