// The program loader's read paths: short blocks copied whole with bytes to
// spare behind them or read field by field near the end of the input, long
// length and count forms, and blocks loaded over a block on the heap.
#include <gtest/gtest.h>

#include "SampleLists.h"
#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

ByteBlock Pattern(std::size_t n, std::uint8_t seed) {
    ByteBlock b;
    for (std::size_t i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(seed + i * 7));
    return b;
}

// Block sizes either side of the inline capacity and of the 16-byte copy.
class BlockSizes : public ::testing::TestWithParam<std::size_t> {};

// The same sizes in the first stream, in the middle and in the very last
// block of the file (followed by nothing but the empty LNB table), so that
// both the whole-copy and the field-by-field path are taken.
TEST_P(BlockSizes, RoundTripInEveryPosition) {
    const std::size_t n = GetParam();
    CSVLFile list;
    for (std::uint16_t sid = 1; sid <= 2; ++sid) {
        auto p = MakeProgram("P", sid, 3);
        p->Streams[0].Descriptors = Pattern(n, 1);
        p->Streams[2].Descriptors = Pattern(n, 2);
        p->ProgramData1 = Pattern(n, 3);
        p->ProgramData2 = Pattern(n, 4);
        list.InsertProgram(std::move(p));
    }
    const Bytes bytes = list.Store();
    CSVLFile back;
    ASSERT_TRUE(back.Load(bytes));
    ASSERT_EQ(back.Programs.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(*back.Programs[i], *list.Programs[i]) << i;
        EXPECT_EQ(back.Programs[i]->ProgramData2.size(), n);
    }
    EXPECT_EQ(back.Store(), bytes);

    // Cut inside the last block: the failure is at the end, not a copy of
    // bytes that are not there.
    if (n > 0) {
        ArchiveError error;
        EXPECT_FALSE(back.Load(std::span(bytes.data(), bytes.size() - 3), &error));
        EXPECT_EQ(error.message, "Unerwartetes Dateiende");
    }
}

INSTANTIATE_TEST_SUITE_P(Program, BlockSizes, ::testing::Values(0, 1, 7, 14, 15, 16, 17, 255, 300));

// A name whose length is written in a longer form than needed, and a
// descriptor count in the 32-bit form: both load, as not canonical, and
// store back in the short form.
TEST(ProgramLoadForms, LongFormsLoadAsNotCanonical) {
    CSVLFile one;
    one.InsertProgram(MakeProgram("AB", 7, 1));
    one.Programs[0]->Streams[0].Descriptors = {0x52, 1, 9};
    const Bytes shortForm = one.Store();
    // Program starts at byte 8: name length 2, "AB".
    ASSERT_EQ(shortForm[8], 2);

    Bytes longName(shortForm.begin(), shortForm.begin() + 8);
    longName.insert(longName.end(), {0xFF, 0xFF, 0xFF, 2, 0, 0, 0});
    longName.insert(longName.end(), shortForm.begin() + 9, shortForm.end());

    CSVLFile back;
    bool canonical = true;
    ASSERT_TRUE(back.Load(longName, nullptr, &canonical));
    EXPECT_FALSE(canonical);
    EXPECT_EQ(back.Programs.at(0)->Name, "AB");
    EXPECT_EQ(back.Store(), shortForm);

    // The stream's descriptor count: find "03 00 52 01 09" and widen it.
    const Bytes needle{3, 0, 0x52, 1, 9};
    const auto at = std::search(shortForm.begin(), shortForm.end(), needle.begin(), needle.end());
    ASSERT_NE(at, shortForm.end());
    Bytes longCount(shortForm.begin(), at);
    longCount.insert(longCount.end(), {0xFF, 0xFF, 3, 0, 0, 0});
    longCount.insert(longCount.end(), at + 2, shortForm.end());
    canonical = true;
    ASSERT_TRUE(back.Load(longCount, nullptr, &canonical));
    EXPECT_FALSE(canonical);
    EXPECT_EQ(back.Programs.at(0)->Streams.at(0).Descriptors, (ByteBlock{0x52, 1, 9}));
    EXPECT_EQ(back.Store(), shortForm);
}

// Inputs that end inside a long length form fail where the missing number
// starts.
TEST(ProgramLoadForms, TruncatedLongFormsFailAtTheMissingNumber) {
    struct Case {
        Bytes tail;
        std::size_t offset;
    };
    const Case cases[] = {
        {{0xFF}, 9},                     // no 16-bit length
        {{0xFF, 0x20}, 9},               // half of it
        {{0xFF, 0xFF, 0xFF}, 11},        // no 32-bit length
        {{0xFF, 0xFF, 0xFF, 1, 0}, 11},  // half of it
        {{0xFF, 0x00, 0x01}, 11},        // 256 bytes announced, none there
    };
    for (const Case& c : cases) {
        Bytes bytes{0, 0, 0, 0, 1, 0, 0, 0};
        bytes.insert(bytes.end(), c.tail.begin(), c.tail.end());
        CSVLFile list;
        ArchiveError error;
        ASSERT_FALSE(list.Load(bytes, &error));
        EXPECT_EQ(error.offset, c.offset) << bytes.size();
        EXPECT_EQ(error.message, "Unerwartetes Dateiende");
    }
}

// Names either side of the one-byte length form (254 the longest short
// form, 255 the first long one) load back whole, whichever form was read; a
// cut inside the name fails just behind its length, where the missing bytes
// start.
TEST(ProgramLoadForms, NamesEitherSideOfTheShortForm) {
    for (const std::size_t n : {0u, 1u, 15u, 16u, 254u, 255u, 256u, 70000u}) {
        CSVLFile list;
        list.InsertProgram(MakeProgram(std::string(n, 'N'), 1, 2));
        list.Programs[0]->Provider = std::string(n, 'P');
        const Bytes bytes = list.Store();
        CSVLFile back;
        ASSERT_TRUE(back.Load(bytes)) << n;
        EXPECT_EQ(*back.Programs.at(0), *list.Programs[0]) << n;
        EXPECT_EQ(back.Store(), bytes) << n;

        if (n == 0) continue;
        const std::size_t lengthBytes = n < 255 ? 1 : n < 0xFFFF ? 3 : 7;
        ArchiveError error;
        EXPECT_FALSE(back.Load(std::span(bytes.data(), 8 + lengthBytes + n - 1), &error)) << n;
        EXPECT_EQ(error.offset, 8 + lengthBytes) << n;
        EXPECT_EQ(error.message, "Unerwartetes Dateiende");
        EXPECT_TRUE(back.Programs.empty());
    }
}

// Loading a stream over one whose block is on the heap replaces it with the
// short block read (the whole-copy path is for inline blocks only).
TEST(ProgramLoadForms, ShortBlockOverHeapBlock) {
    CStreaminfo stored;
    stored.Descriptors = {0x0A, 4, 'e', 'n', 'g', 0};
    stored.StreamType = 3;
    stored.Pid = 0x1234;
    Bytes bytes;
    {
        CArchiveWriter ar(bytes);
        stored.Store(ar);
    }
    bytes.insert(bytes.end(), 20, 0xEE);  // room for the 16-byte copy

    CStreaminfo target;
    target.Descriptors = Pattern(40, 9);
    CArchiveReader ar(bytes);
    target.Load(ar);
    EXPECT_FALSE(ar.Failed());
    EXPECT_EQ(target, stored);
    EXPECT_EQ(ar.Remaining(), 20u);
    EXPECT_EQ(target.LanguageCode(), "eng");
}

}  // namespace
