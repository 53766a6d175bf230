#include <gtest/gtest.h>

#include <string_view>

#include "Streams.h"
#include "mpegts/Crc32.h"
#include "mpegts/Hamming.h"

using namespace mpegts;
using test::Bytes;

TEST(Crc32Test, KnownValuesAndSectionCheck) {
    const std::string_view check = "123456789";
    EXPECT_EQ(Crc32Mpeg2({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}),
              0x0376E6E7u);
    EXPECT_EQ(Crc32Mpeg2({}), 0xFFFFFFFFu);
    // A PAT of one programme as a multiplexer writes it (TSID 1, programme 1 on PID 0x1000).
    const Bytes pat = {0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00,
                       0x00, 0x01, 0xF0, 0x00, 0x2A, 0xB1, 0x04, 0xB2};
    EXPECT_TRUE(SectionCrcValid(pat));
    for (std::size_t bit = 0; bit < pat.size() * 8; ++bit) {
        Bytes broken = pat;
        broken[bit / 8] ^= static_cast<std::uint8_t>(0x80 >> bit % 8);
        EXPECT_FALSE(SectionCrcValid(broken)) << "bit " << bit;
    }
    EXPECT_FALSE(SectionCrcValid(Bytes{0x00, 0x00, 0x00}));
}

TEST(HammingTest, EightFourTableSingleErrorsCorrectedDoubleErrorsRefused) {
    // The sixteen code bytes of ETS 300 706, b1 in bit 0.
    const std::uint8_t table[16] = {0x15, 0x02, 0x49, 0x5E, 0x64, 0x73, 0x38, 0x2F,
                                    0xD0, 0xC7, 0x8C, 0x9B, 0xA1, 0xB6, 0xFD, 0xEA};
    for (std::uint8_t d = 0; d < 16; ++d) {
        const std::uint8_t code = Hamming84Encode(d);
        EXPECT_EQ(code, table[d]) << int(d);
        EXPECT_EQ(Hamming84Decode(code), d);
        for (int i = 0; i < 8; ++i) {
            const auto one = static_cast<std::uint8_t>(code ^ (1 << i));
            EXPECT_EQ(Hamming84Decode(one), d) << int(d) << " bit " << i;
            for (int j = i + 1; j < 8; ++j) {
                EXPECT_FALSE(Hamming84Decode(static_cast<std::uint8_t>(one ^ (1 << j))))
                    << int(d) << " bits " << i << "," << j;
            }
        }
    }
}

TEST(HammingTest, TwentyFourEighteenRoundTripsCorrectsOneBitRefusesTwo) {
    for (std::uint32_t d = 0; d < (1u << 18); d += 7) {
        const std::uint32_t code = Hamming2418Encode(d);
        ASSERT_EQ(code >> 24, 0u);
        ASSERT_EQ(Hamming2418Decode(code), d);
        for (int i = 0; i < 24; ++i)
            ASSERT_EQ(Hamming2418Decode(code ^ (1u << i)), d) << d << " " << i;
        if (d % 1001 != 0) continue;
        for (int i = 0; i < 24; ++i) {
            for (int j = i + 1; j < 24; ++j)
                EXPECT_FALSE(Hamming2418Decode(code ^ (1u << i) ^ (1u << j))) << d << " " << i << j;
        }
    }
    // All data bits zero: P1-P5 set (every test needs one bit); five ones are
    // odd already, so P6 stays clear.
    EXPECT_EQ(Hamming2418Encode(0), 0x00808Bu);
}

TEST(HammingTest, TeletextByteHelpers) {
    EXPECT_EQ(ReverseBits(0x01), 0x80);
    EXPECT_EQ(ReverseBits(0xE4), 0x27);  // the framing code as DVB carries it
    for (int c = 0; c < 128; ++c) {
        const std::uint8_t b = OddParity(static_cast<std::uint8_t>(c));
        EXPECT_EQ(b & 0x7F, c);
        EXPECT_EQ(__builtin_popcount(b) % 2, 1) << c;
    }
}
