// Programs that a list load creates in bulk: they live in shared chunks, yet
// each one can be deleted on its own, in any order, on any thread, and can
// outlive the list it was loaded into; every chunk goes back to the heap
// once the last record in it is gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "SampleLists.h"
#include "channellist/RecordArena.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

/// Enough programs to fill several chunks.
Bytes ManyPrograms(std::size_t count) {
    CSVLFile list;
    for (std::size_t i = 0; i < count; ++i)
        list.InsertProgram(MakeProgram("Programm " + std::to_string(i),
                                       static_cast<std::uint16_t>(i), static_cast<int>(i % 4)));
    return list.Store();
}

TEST(RecordArena, OnlyAllocationsInsideAScopeUseChunks) {
    void* outside = RecordArena::Allocate(40);
    EXPECT_FALSE(RecordArena::InChunk(outside));
    {
        const RecordArena::Scope scope;
        void* inside = RecordArena::Allocate(40);
        void* big = RecordArena::Allocate(RecordArena::ChunkBytes);
        EXPECT_TRUE(RecordArena::InChunk(inside));
        EXPECT_FALSE(RecordArena::InChunk(big));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(inside) % RecordArena::Alignment, 0u);
        RecordArena::Free(inside);
        RecordArena::Free(big);
    }
    RecordArena::Free(outside);
    RecordArena::Free(nullptr);
}

TEST(RecordArena, LoadedProgramsFreeTheirChunksInAnyOrder) {
    const std::size_t before = RecordArena::ChunksHeld();
    const Bytes bytes = ManyPrograms(3000);
    CSVLFile list;
    ASSERT_TRUE(list.Load(bytes));
    ASSERT_EQ(list.Programs.size(), 3000u);
    EXPECT_TRUE(RecordArena::InChunk(list.Programs.front().get()));
    EXPECT_GT(RecordArena::ChunksHeld(), before + 1);

    // Take every third program out of the list, drop the list, then the rest
    // in shuffled order: the chunks go only with the last of their records.
    std::vector<std::unique_ptr<CProgramInfo>> kept;
    for (std::size_t i = 0; i < list.Programs.size(); i += 3)
        kept.push_back(std::move(list.Programs[i]));
    list.Clear();
    EXPECT_GT(RecordArena::ChunksHeld(), before);
    std::shuffle(kept.begin(), kept.end(), std::mt19937(7));
    for (const auto& p : kept) EXPECT_EQ(p->Name.rfind("Programm ", 0), 0u);
    kept.clear();
    EXPECT_EQ(RecordArena::ChunksHeld(), before);
}

TEST(RecordArena, ProgramsMayDieOnAnotherThread) {
    const std::size_t before = RecordArena::ChunksHeld();
    CSVLFile list;
    ASSERT_TRUE(list.Load(ManyPrograms(2000)));
    std::vector<std::unique_ptr<CProgramInfo>> half;
    for (std::size_t i = 0; i < list.Programs.size(); i += 2)
        half.push_back(std::move(list.Programs[i]));
    std::thread other([&] { half.clear(); });
    list.Clear();
    other.join();
    EXPECT_EQ(RecordArena::ChunksHeld(), before);
}

TEST(RecordArena, FailedLoadGivesBackEveryChunk) {
    const std::size_t before = RecordArena::ChunksHeld();
    const Bytes bytes = ManyPrograms(2000);
    CSVLFile list;
    EXPECT_FALSE(list.Load(std::span(bytes.data(), bytes.size() - 5)));
    EXPECT_EQ(RecordArena::ChunksHeld(), before);
}

TEST(RecordArena, EditedStreamsOfLoadedProgramsStayValid) {
    CSVLFile list;
    ASSERT_TRUE(list.Load(ManyPrograms(500)));
    // Growing a loaded stream array outside the load moves it to the heap.
    CProgramInfo& p = *list.Programs[1];
    const CProgramInfo before = p;
    for (int i = 0; i < 20; ++i) p.Streams.emplace_back();
    EXPECT_FALSE(RecordArena::InChunk(p.Streams.data()));
    p.Streams.resize(before.Streams.size());
    EXPECT_EQ(p, before);
    const CProgramInfo copy = *list.Programs[2];
    list.Clear();
    EXPECT_EQ(copy.Name, "Programm 2");
}

// Inside a scope, a run of allocations of mixed sizes across several chunks
// gives disjoint, aligned blocks; sizes above a quarter chunk come from the
// heap, and each block keeps the bytes written to it.
TEST(RecordArena, MixedSizesAreDisjointAndKeepTheirBytes) {
    const std::size_t before = RecordArena::ChunksHeld();
    struct Block {
        unsigned char* p;
        std::size_t size;
    };
    std::vector<Block> blocks;
    {
        const RecordArena::Scope scope;
        const std::size_t sizes[] = {1,
                                     7,
                                     8,
                                     9,
                                     24,
                                     200,
                                     RecordArena::ChunkBytes / 4 - 64,
                                     RecordArena::ChunkBytes / 4 + 1,
                                     RecordArena::ChunkBytes};
        for (int round = 0; round < 40; ++round) {
            for (const std::size_t size : sizes) {
                auto* p = static_cast<unsigned char*>(RecordArena::Allocate(size));
                ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % RecordArena::Alignment, 0u);
                EXPECT_EQ(RecordArena::InChunk(p), size <= RecordArena::ChunkBytes / 4 - 64)
                    << size;
                std::fill(p, p + size, static_cast<unsigned char>(blocks.size()));
                blocks.push_back({p, size});
            }
        }
    }
    EXPECT_GT(RecordArena::ChunksHeld(), before + 2);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const auto mark = static_cast<unsigned char>(i);
        EXPECT_TRUE(std::all_of(blocks[i].p, blocks[i].p + blocks[i].size, [&](unsigned char c) {
            return c == mark;
        })) << i;
    }
    for (const Block& b : blocks) RecordArena::Free(b.p);
    EXPECT_EQ(RecordArena::ChunksHeld(), before);
}

}  // namespace
