// ByteBlock against std::vector<std::uint8_t> as the model: the same random
// edits applied to both must leave the same bytes, across the boundary
// between inline and heap storage and with sources inside the block itself.
#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>
#include <vector>

#include "channellist/ByteBlock.h"

namespace {

using Model = std::vector<std::uint8_t>;

void ExpectSame(const ByteBlock& block, const Model& model, int step) {
    ASSERT_EQ(block.size(), model.size()) << "step " << step;
    ASSERT_TRUE(std::equal(block.begin(), block.end(), model.begin())) << "step " << step;
    ASSERT_GE(block.capacity(), block.size()) << "step " << step;
}

/// Applies one random edit to both; `r` picks the edit and its arguments.
void RandomEdit(std::mt19937& r, ByteBlock& block, Model& model) {
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(r() % (n + 1)); };
    const auto value = static_cast<std::uint8_t>(r());
    switch (r() % 11) {
        case 0:
            block.push_back(value);
            model.push_back(value);
            break;
        case 1: {  // insert a run of bytes from outside
            const std::size_t at = pick(model.size());
            const Model run(pick(20), value);
            block.insert(block.begin() + at, run.begin(), run.end());
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), run.begin(), run.end());
            break;
        }
        case 2: {  // insert a piece of the block itself
            const std::size_t from = pick(model.size());
            const std::size_t to = from + pick(model.size() - from);
            const std::size_t at = pick(model.size());
            const Model piece(model.begin() + static_cast<std::ptrdiff_t>(from),
                              model.begin() + static_cast<std::ptrdiff_t>(to));
            block.insert(block.begin() + at, block.begin() + from, block.begin() + to);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(),
                         piece.end());
            break;
        }
        case 3: {
            const std::size_t at = pick(model.size());
            const std::size_t n = pick(5);
            block.insert(block.begin() + at, n, value);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), n, value);
            break;
        }
        case 4: {
            const std::size_t from = pick(model.size());
            const std::size_t to = from + pick(model.size() - from);
            block.erase(block.begin() + from, block.begin() + to);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(from),
                        model.begin() + static_cast<std::ptrdiff_t>(to));
            break;
        }
        case 5: {
            const std::size_t n = pick(40);
            block.resize(n, value);
            model.resize(n, value);
            break;
        }
        case 6: {  // assign a tail of the block to itself
            const std::size_t from = pick(model.size());
            block.assign(block.begin() + from, block.end());
            model.erase(model.begin(), model.begin() + static_cast<std::ptrdiff_t>(from));
            break;
        }
        case 7:
            block.shrink_to_fit();
            break;
        case 8: {  // copy, then move through a temporary
            ByteBlock copy(block);
            block = ByteBlock();
            block = std::move(copy);
            break;
        }
        case 9: {
            const std::size_t n = pick(30);
            block.assign(n, value);
            model.assign(n, value);
            break;
        }
        default:
            if (!model.empty()) {
                block.pop_back();
                model.pop_back();
            }
            break;
    }
}

TEST(ByteBlock, RandomEditsMatchVector) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 r(seed);
        ByteBlock block;
        Model model;
        for (int step = 0; step < 300; ++step) {
            RandomEdit(r, block, model);
            ExpectSame(block, model, step);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

TEST(ByteBlock, MoveLeavesSourceEmptyAndUsable) {
    for (std::size_t n : {std::size_t{3}, ByteBlock::InlineCapacity, std::size_t{200}}) {
        ByteBlock source(n, 0x5A);
        const std::uint8_t* heapBytes = n > ByteBlock::InlineCapacity ? source.data() : nullptr;
        ByteBlock target(std::move(source));
        EXPECT_EQ(target, ByteBlock(n, 0x5A)) << n;
        if (heapBytes) {
            EXPECT_EQ(target.data(), heapBytes) << "heap buffer taken over, " << n;
        }
        EXPECT_TRUE(source.empty()) << n;  // NOLINT(bugprone-use-after-move)
        source.push_back(1);
        EXPECT_EQ(source, (ByteBlock{1})) << n;
    }
}

TEST(ByteBlock, SmallBlocksStayInline) {
    ByteBlock block{0x0A, 0x04, 'd', 'e', 'u', 0x00};
    const auto* inside = reinterpret_cast<const std::uint8_t*>(&block);
    EXPECT_TRUE(block.data() >= inside && block.data() < inside + sizeof(ByteBlock));
    block.resize(ByteBlock::InlineCapacity + 1);
    EXPECT_FALSE(block.data() >= inside && block.data() < inside + sizeof(ByteBlock));
}

TEST(ByteBlock, BehavesLikeTheVectorItReplaces) {
    const std::string chars = "\x01\xFF\x80";
    const ByteBlock fromChars(chars.begin(), chars.end());  // char iterators, as from Qt
    EXPECT_EQ(fromChars, (ByteBlock{0x01, 0xFF, 0x80}));

    ByteBlock fromVector = Model(300, 7);  // assigning a std::vector keeps working
    EXPECT_EQ(fromVector.size(), 300u);
    const std::span<const std::uint8_t> view = fromVector;
    EXPECT_EQ(view.data(), fromVector.data());

    EXPECT_LT((ByteBlock{1, 2}), (ByteBlock{1, 3}));
    EXPECT_LT((ByteBlock{1, 2}), (ByteBlock{1, 2, 0}));
    EXPECT_EQ(ByteBlock(), ByteBlock(std::span<const std::uint8_t>()));
    EXPECT_THROW(fromChars.at(3), std::out_of_range);
}

}  // namespace
