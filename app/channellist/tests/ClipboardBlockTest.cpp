// The clipboard block of copied programs: layout, partial reads, and the
// count matching the records written.
#include <gtest/gtest.h>

#include "SampleLists.h"
#include "channellist/ClipboardBlock.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<const CProgramInfo*> Pointers(const CSVLFile& list) {
    std::vector<const CProgramInfo*> out;
    for (const auto& p : list.Programs) out.push_back(p.get());
    return out;
}

TEST(ClipboardBlock, CountThenProgramRecordsAsInTheFile) {
    const CSVLFile list = MakeSampleList();
    const Bytes block = EncodeClipboardBlock(Pointers(list));
    // The .svl file is Reserved, N, the same records, then the LNB table.
    const Bytes file = list.Store();
    CSVLFile lnbsOnly = MakeSampleList();
    lnbsOnly.Programs.clear();
    const std::size_t tableSize = lnbsOnly.Store().size() - 8;
    ASSERT_EQ(block.size() - 4, file.size() - 8 - tableSize);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 4), (Bytes{3, 0, 0, 0}));
    EXPECT_TRUE(std::equal(block.begin() + 4, block.end(), file.begin() + 8));

    const auto decoded = DecodeClipboardBlock(block);
    EXPECT_TRUE(decoded.complete);
    EXPECT_EQ(decoded.declaredCount, 3u);
    ASSERT_EQ(decoded.programs.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(*decoded.programs[i], *list.Programs[i]);
}

TEST(ClipboardBlock, NullEntriesAreLeftOutOfTheCount) {
    const CSVLFile list = MakeSampleList();
    const std::vector<const CProgramInfo*> rows{list.Programs[2].get(), nullptr,
                                                list.Programs[0].get()};
    const auto decoded = DecodeClipboardBlock(EncodeClipboardBlock(rows));
    EXPECT_TRUE(decoded.complete);
    ASSERT_EQ(decoded.programs.size(), 2u);
    EXPECT_EQ(decoded.programs[0]->Name, "Bayern 3");
    EXPECT_EQ(decoded.programs[1]->Name, "Das Erste");
    EXPECT_EQ(EncodeClipboardBlock({}), (Bytes{0, 0, 0, 0}));
}

TEST(ClipboardBlock, TruncatedBlockKeepsTheProgramsBeforeTheCut) {
    const CSVLFile list = MakeSampleList();
    const Bytes block = EncodeClipboardBlock(Pointers(list));
    const Bytes first =
        EncodeClipboardBlock(std::vector<const CProgramInfo*>{list.Programs[0].get()});
    // Cut one byte into the second record: one program survives.
    const auto cut = DecodeClipboardBlock(std::span(block.data(), first.size() + 1));
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(cut.declaredCount, 3u);
    ASSERT_EQ(cut.programs.size(), 1u);
    EXPECT_EQ(*cut.programs[0], *list.Programs[0]);
    EXPECT_EQ(cut.error.message, "Unerwartetes Dateiende");
    // Shorter than the count itself.
    const auto tiny = DecodeClipboardBlock(std::span(block.data(), 3));
    EXPECT_FALSE(tiny.complete);
    EXPECT_TRUE(tiny.programs.empty());
}

TEST(ClipboardBlock, HugeCountAndTrailingBytes) {
    const auto huge = DecodeClipboardBlock(Bytes{0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_FALSE(huge.complete);
    EXPECT_TRUE(huge.programs.empty());
    Bytes padded = EncodeClipboardBlock({});
    padded.resize(4096, 0xCC);  // clipboard memory rounded up
    const auto decoded = DecodeClipboardBlock(padded);
    EXPECT_TRUE(decoded.complete);
    EXPECT_TRUE(decoded.programs.empty());
}

}  // namespace
