#include <gtest/gtest.h>

#include "Streams.h"
#include "mpegts/BitReader.h"
#include "mpegts/BitWriter.h"

using namespace mpegts;
using test::Bytes;

TEST(BitReaderTest, ReadsFieldsOfAnyWidthAtAnyBitPosition) {
    const Bytes b = {0xB0, 0x0D, 0x12, 0x34, 0xC3, 0x00, 0x00, 0xAB, 0xCD, 0xEF, 0x01, 0x23};
    BitReader r(b);
    EXPECT_EQ(r.U8(), 0xB0);
    EXPECT_EQ(r.Bits(4), 0x0u);
    EXPECT_EQ(r.Bits(12), 0xD12u);  // across a byte boundary
    EXPECT_EQ(r.Bits(3), 0x1u);
    EXPECT_FALSE(r.ByteAligned());
    EXPECT_EQ(r.Bits(13), 0x14C3u);
    EXPECT_EQ(r.U16(), 0u);
    EXPECT_EQ(r.U32(), 0xABCDEF01u);
    EXPECT_EQ(r.BytesLeft(), 1u);
    EXPECT_EQ(r.Bcd(2), 23u);
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.BitsLeft(), 0u);

    BitReader odd(b);
    odd.Skip(1);
    EXPECT_EQ(odd.Bits(32), 0x601A2469u);  // 32 bits that span five bytes
    EXPECT_EQ(odd.U24(), 0x860001u);
}

TEST(BitReaderTest, OverrunIsStickyAndYieldsNothing) {
    const Bytes b = {0x12, 0x3A, 0x56};
    struct Case {
        const char* name;
        void (*read)(BitReader&);
    } cases[] = {
        {"u32 past the end", [](BitReader& r) { EXPECT_EQ(r.U32(), 0u); }},
        {"bytes past the end", [](BitReader& r) { EXPECT_TRUE(r.Bytes(4).empty()); }},
        {"skip past the end", [](BitReader& r) { r.Skip(25); }},
        {"bytes off a boundary",
         [](BitReader& r) {
             r.Skip(1);
             r.Bytes(1);
         }},
        {"zero bits", [](BitReader& r) { r.Bits(0); }},
        {"33 bits", [](BitReader& r) { r.Bits(33); }},
        {"bcd digit above 9",
         [](BitReader& r) {
             r.Skip(8);
             EXPECT_EQ(r.Bcd(2), 0u);
         }},
    };
    for (const auto& c : cases) {
        BitReader r(b);
        c.read(r);
        EXPECT_TRUE(r.Error()) << c.name;
        EXPECT_EQ(r.U8(), 0u) << c.name;  // also what would have fitted before
        EXPECT_EQ(r.BytesLeft(), 0u) << c.name;
    }
    BitReader exact(b);
    EXPECT_EQ(exact.Bytes(3).size(), 3u);
    EXPECT_TRUE(exact.Rest().empty());
    EXPECT_TRUE(exact.Ok());
}

TEST(BitReaderTest, ExpGolombCodes) {
    // ue(v): 1 -> 0, 010 -> 1, 011 -> 2, 00100 -> 3, 0001000 -> 7; the same
    // codes as se(v): 0, 1, -1, 2, 4.
    const Bytes codes = {0b10100110, 0b01000001, 0b00000000};
    BitReader u(codes);
    for (const std::uint32_t expected : {0u, 1u, 2u, 3u, 7u}) EXPECT_EQ(u.ExpGolomb(), expected);
    EXPECT_EQ(u.BitPosition(), 19u);
    BitReader s(codes);
    for (const std::int32_t expected : {0, 1, -1, 2, 4}) EXPECT_EQ(s.SignedExpGolomb(), expected);
    EXPECT_TRUE(s.Ok());

    // 31 zeros, a one and 31 ones: the largest code. With one zero more it
    // does not fit, nor does a code cut off by the end.
    BitWriter w;
    w.Bits(31, 0);
    w.Bits(32, 0xFFFFFFFF);
    w.Bits(1, 0);
    BitReader largest(w.Data());
    EXPECT_EQ(largest.ExpGolomb(), 0xFFFFFFFEu);
    EXPECT_TRUE(largest.Ok());
    BitReader signedLargest(w.Data());
    EXPECT_EQ(signedLargest.SignedExpGolomb(), -0x7FFFFFFF);
    const Bytes tooLong = {0, 0, 0, 0, 0x80};
    BitReader overflow(tooLong);
    EXPECT_EQ(overflow.ExpGolomb(), 0u);
    EXPECT_TRUE(overflow.Error());
    const Bytes cut = {0x00, 0x03};  // 14 zeros, then the rest runs out
    BitReader truncated(cut);
    EXPECT_EQ(truncated.ExpGolomb(), 0u);
    EXPECT_TRUE(truncated.Error());
}

TEST(BitWriterTest, WritesWhatTheReaderReadsBack) {
    BitWriter w;
    w.U8(0x42);
    w.Flag(true);
    w.Reserved(3);
    w.Bits(12, 0xABC);
    w.Bits(17, 0x1F0F0);
    w.Bits(7, 0x55);
    w.Bcd(1234567, 7);
    w.Bits(4, 3);
    const Bytes tail = {9, 8, 7};
    w.Bytes(tail);
    ASSERT_TRUE(w.Ok());
    EXPECT_EQ(Bytes(w.Data().begin(), w.Data().begin() + 3), (Bytes{0x42, 0xFA, 0xBC}));

    BitReader r(w.Data());
    EXPECT_EQ(r.U8(), 0x42);
    EXPECT_TRUE(r.Flag());
    EXPECT_EQ(r.Bits(3), 7u);
    EXPECT_EQ(r.Bits(12), 0xABCu);
    EXPECT_EQ(r.Bits(17), 0x1F0F0u);
    EXPECT_EQ(r.Bits(7), 0x55u);
    EXPECT_EQ(r.Bcd(7), 1234567u);
    EXPECT_EQ(r.Bits(4), 3u);
    const auto rest = r.Rest();
    EXPECT_EQ(Bytes(rest.begin(), rest.end()), tail);
    EXPECT_TRUE(r.Ok());
}

TEST(BitWriterTest, PatchesAnEarlierFieldAndStopsAtItsLimit) {
    BitWriter w(6);
    w.U8(0x02);
    const std::size_t length = w.BitPosition();
    w.Reserved(4);
    w.Bits(12, 0);
    w.U16(0xBEEF);
    w.Patch(length + 4, 12, static_cast<std::uint32_t>(w.Size() - 3));
    EXPECT_EQ(Bytes(w.Data().begin(), w.Data().end()), (Bytes{0x02, 0xF0, 0x02, 0xBE, 0xEF}));
    BitWriter tooBig = w;
    tooBig.Patch(length + 4, 12, 0x1000);  // does not fit the field
    EXPECT_TRUE(tooBig.Error());
    w.Patch(w.BitPosition() - 4, 8, 0);  // reaches past what was written
    EXPECT_TRUE(w.Error());

    BitWriter full(2);
    full.U8(1);
    full.U16(2);  // does not fit: nothing of it is written
    full.U8(3);   // nor anything after it
    EXPECT_TRUE(full.Error());
    EXPECT_EQ(full.Size(), 1u);

    BitWriter unaligned;
    unaligned.Flag(true);
    unaligned.Bytes(Bytes{1});
    EXPECT_TRUE(unaligned.Error());
}
