// The NIT section reader on sections written field by field: the delivery
// descriptors' BCD fields, the loops, and the sections it must refuse.
#include <gtest/gtest.h>

#include <vector>

#include "NitWriter.h"
#include "mpegts/Crc32.h"
#include "mpegts/NitSection.h"

namespace {

using nittest::Bytes;
using nittest::Cable;
using nittest::Nit;
using nittest::Satellite;

TEST(NitSection, ReadsSatelliteAndCableDeliveryPerTransportStream) {
    // 11.83600 GHz east, vertical, QPSK, 27.5000 MS/s; 346.0000 MHz 64-QAM 6.9000 MS/s.
    Bytes both = Satellite(0x01183600, 0x80 | 1 << 5 | 1, 0x0275000);
    const Bytes cable = Cable(0x03460000, 3, 0x0069000);
    const auto nit = mpegts::ParseNit(Nit(0x0001, {{1101, 1, both}, {7, 0x85, cable}, {9, 2, {}}}));
    ASSERT_TRUE(nit);
    EXPECT_EQ(nit->tableId, 0x40);
    EXPECT_EQ(nit->networkId, 1);
    EXPECT_EQ(nit->version, 1);
    ASSERT_EQ(nit->streams.size(), 3u);
    const auto& s = nit->streams[0];
    EXPECT_EQ(s.transportStreamId, 1101);
    EXPECT_EQ(s.originalNetworkId, 1);
    ASSERT_TRUE(s.satellite);
    EXPECT_FALSE(s.cable);
    EXPECT_EQ(s.satellite->frequencyKHz, 11836000u);
    EXPECT_EQ(s.satellite->orbitalPosition, 0x0192);
    EXPECT_TRUE(s.satellite->east);
    EXPECT_EQ(s.satellite->polarisation, 1);
    EXPECT_EQ(s.satellite->modulation, 1);
    EXPECT_EQ(s.satellite->symbolRate, 27500000u);
    EXPECT_EQ(s.satellite->fecInner, 3);
    const auto& c = nit->streams[1];
    ASSERT_TRUE(c.cable);
    EXPECT_EQ(c.originalNetworkId, 0x85);
    EXPECT_EQ(c.cable->frequencyKHz, 346000u);
    EXPECT_EQ(c.cable->QamOrder(), 64);
    EXPECT_EQ(c.cable->fecOuter, 2);
    EXPECT_EQ(c.cable->symbolRate, 6900000u);
    EXPECT_FALSE(nit->streams[2].satellite || nit->streams[2].cable);
}

TEST(NitSection, RefusesWhatIsNotAWholeNit) {
    const Bytes good = Nit(0x0001, {{1, 1, Satellite(0x01183600, 0x81, 0x0275000)}});
    ASSERT_TRUE(mpegts::ParseNit(good));
    EXPECT_TRUE(mpegts::ParseNit(Nit(2, {}, 0x41)));  // NIT other

    Bytes badCrc = good;
    badCrc[10] ^= 1;
    EXPECT_FALSE(mpegts::ParseNit(badCrc));
    EXPECT_FALSE(mpegts::ParseNit(Nit(2, {}, 0x42)));  // an SDT's table id
    EXPECT_FALSE(mpegts::ParseNit(Bytes(good.begin(), good.end() - 1)));
    EXPECT_FALSE(mpegts::ParseNit({}));

    // A stream loop length past the section (CRC made right again).
    Bytes overrun = good;
    overrun[17] = 0xFF;  // transport_stream_loop_length 0xFxx
    overrun.resize(overrun.size() - 4);
    const std::uint32_t crc = mpegts::Crc32Mpeg2(overrun);
    for (int shift = 24; shift >= 0; shift -= 8)
        overrun.push_back(static_cast<std::uint8_t>(crc >> shift));
    EXPECT_FALSE(mpegts::ParseNit(overrun));
}

TEST(NitSection, LeavesOutDeliveryWithBadDigits) {
    const auto nit = mpegts::ParseNit(
        Nit(1, {{1, 1, Satellite(0x011A3600, 0x81, 0x0275000)},  // 'A' is no digit
                {2, 1, Cable(0x03460000, 9, 0x0069000)}}));      // undefined modulation
    ASSERT_TRUE(nit);
    EXPECT_FALSE(nit->streams[0].satellite);
    ASSERT_TRUE(nit->streams[1].cable);
    EXPECT_EQ(nit->streams[1].cable->QamOrder(), 0);
}

}  // namespace
