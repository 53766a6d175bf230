#include <gtest/gtest.h>

#include "TestHost.h"
#include "channellist/CArchive.h"
#include "editing/CClipboardBlock.h"

namespace {
std::vector<std::unique_ptr<CProgramInfo>> ThreePrograms() {
    std::vector<std::unique_ptr<CProgramInfo>> v;
    v.push_back(MakeProgram("Das Erste", 1));
    v.push_back(MakeProgram("ZDF", 2));
    v.back()->Streams.clear();  // a program without streams
    v.push_back(MakeProgram("arte \xE9", 3));
    v.back()->ProgramData2 = {9, 8, 7, 6};
    return v;
}
std::vector<const CProgramInfo*> Pointers(const std::vector<std::unique_ptr<CProgramInfo>>& v) {
    std::vector<const CProgramInfo*> p;
    for (const auto& x : v) p.push_back(x.get());
    return p;
}
}  // namespace

TEST(ClipboardBlock, ThreeProgramsAreACountThenTheRecordsAsInTheListFile) {
    const auto programs = ThreePrograms();
    const auto block = CClipboardBlock::Encode(Pointers(programs));

    // A .svl file of the same programs (no LNBs) is Reserved, the count, the same records,
    // then the empty LNB table (2 bytes): the block must be its middle part.
    CSVLFile file;
    for (const auto& p : programs) file.Programs.push_back(std::make_unique<CProgramInfo>(*p));
    const auto svl = file.Store();
    ASSERT_GT(svl.size(), 10u);
    const std::vector<std::uint8_t> records(svl.begin() + 8, svl.end() - 2);

    ASSERT_EQ(block.size(), 4 + records.size());
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 4),
              (std::vector<std::uint8_t>{3, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 4, block.end()), records);
}

TEST(ClipboardBlock, DecodeGivesTheProgramsBackInBlockOrder) {
    const auto programs = ThreePrograms();
    const auto decoded = CClipboardBlock::Decode(CClipboardBlock::Encode(Pointers(programs)));
    EXPECT_TRUE(decoded.complete);
    EXPECT_EQ(decoded.declaredCount, 3u);
    ASSERT_EQ(decoded.programs.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(*decoded.programs[i], *programs[i]);
}

TEST(ClipboardBlock, ABlockCutAnywhereKeepsTheWholeRecordsBeforeTheCut) {
    const auto programs = ThreePrograms();
    const auto block = CClipboardBlock::Encode(Pointers(programs));
    // Where each record ends inside the block.
    std::vector<std::size_t> ends;
    std::vector<std::uint8_t> scratch;
    std::size_t at = 4;
    for (const auto& p : programs) {
        scratch.clear();
        CArchive ar(&scratch);
        p->Serialize(ar);
        at += scratch.size();
        ends.push_back(at);
    }
    for (std::size_t cut = 0; cut < block.size(); ++cut) {
        const auto decoded =
            CClipboardBlock::Decode(std::span(block.data(), cut));
        std::size_t whole = 0;
        while (whole < ends.size() && ends[whole] <= cut) ++whole;
        ASSERT_FALSE(decoded.complete) << "cut at " << cut;
        ASSERT_EQ(decoded.programs.size(), whole) << "cut at " << cut;
        for (std::size_t i = 0; i < whole; ++i) EXPECT_EQ(*decoded.programs[i], *programs[i]);
    }
}

TEST(ClipboardBlock, AHugeCountWithFewBytesStopsAtTheEnd) {
    const auto programs = ThreePrograms();
    auto block = CClipboardBlock::Encode(Pointers(programs));
    block[0] = block[1] = block[2] = block[3] = 0xFF;
    const auto decoded = CClipboardBlock::Decode(block);
    EXPECT_EQ(decoded.declaredCount, 0xFFFFFFFFu);
    EXPECT_FALSE(decoded.complete);
    EXPECT_EQ(decoded.programs.size(), 3u);
}

TEST(ClipboardBlock, ExtraBytesAfterTheRecordsAreIgnoredAndZeroCountIsEmpty) {
    const auto programs = ThreePrograms();
    auto block = CClipboardBlock::Encode(Pointers(programs));
    block.push_back(0x55);
    EXPECT_EQ(CClipboardBlock::Decode(block).programs.size(), 3u);

    const std::vector<std::uint8_t> empty{0, 0, 0, 0};
    const auto decoded = CClipboardBlock::Decode(empty);
    EXPECT_TRUE(decoded.complete);
    EXPECT_TRUE(decoded.programs.empty());
}
