#include <gtest/gtest.h>

#include "TestHost.h"
#include "channellist/editing/ProgramListOps.h"

namespace {
ProgramListOps::ProgramList Numbered(int n) {
    ProgramListOps::ProgramList list;
    for (int i = 0; i < n; ++i) list.push_back(MakeProgram(std::to_string(i), i));
    return list;
}
std::vector<std::string> NamesOf(const ProgramListOps::ProgramList& list) {
    std::vector<std::string> names;
    for (const auto& p : list) names.push_back(p->Name);
    return names;
}
}  // namespace

struct RemoveCase {
    int size;
    std::vector<std::size_t> indexes;
};

class RemoveAtRoundTrip : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveAtRoundTrip, RemovesExactlyTheIndexesAndInsertAtRestoresTheOrder) {
    const auto& c = GetParam();
    auto list = Numbered(c.size);
    const auto original = NamesOf(list);
    auto removed = ProgramListOps::RemoveAt(list, c.indexes);

    ASSERT_EQ(removed.size(), c.indexes.size());
    for (std::size_t i = 0; i < c.indexes.size(); ++i)
        EXPECT_EQ(removed[i]->Name, original[c.indexes[i]]);
    EXPECT_EQ(list.size(), std::size_t(c.size) - c.indexes.size());

    ProgramListOps::InsertAt(list, c.indexes, std::move(removed));
    EXPECT_EQ(NamesOf(list), original);
}

INSTANTIATE_TEST_SUITE_P(Sets, RemoveAtRoundTrip,
                         ::testing::Values(RemoveCase{5, {}}, RemoveCase{5, {0}},
                                           RemoveCase{5, {4}}, RemoveCase{5, {0, 1, 2, 3, 4}},
                                           RemoveCase{8, {1, 3, 4, 7}}, RemoveCase{1, {0}},
                                           RemoveCase{10, {0, 9}}));

TEST(ProgramListOps, InsertRangeKeepsBatchOrderAndClampsThePosition) {
    auto list = Numbered(3);
    ProgramListOps::ProgramList batch;
    batch.push_back(MakeProgram("a"));
    batch.push_back(MakeProgram("b"));
    ProgramListOps::InsertRange(list, 1, std::move(batch));
    EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"0", "a", "b", "1", "2"}));

    ProgramListOps::ProgramList tail;
    tail.push_back(MakeProgram("z"));
    ProgramListOps::InsertRange(list, 99, std::move(tail));
    EXPECT_EQ(list.back()->Name, "z");

    auto taken = ProgramListOps::RemoveRange(list, 1, 2);
    EXPECT_EQ(NamesOf(taken), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"0", "1", "2", "z"}));
}

TEST(ProgramListOps, NormalizedSortsDropsDuplicatesAndOutOfRange) {
    EXPECT_EQ(ProgramListOps::Normalized({5, 1, 3, 1, 9, 4}, 5),
              (std::vector<std::size_t>{1, 3, 4}));
}

// Moving programs among the rows shown: the order names where each place's program
// comes from; hidden programs (not among the rows) keep their places.
struct MoveCase {
    const char* what;
    std::vector<std::size_t> rows, moved;
    ProgramListOps::Move how;
    std::vector<std::string> expected;  // the list of 0..6 afterwards
};

class MoveOrderCases : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveOrderCases, RearrangesOnlyTheShownRows) {
    const MoveCase& c = GetParam();
    auto list = Numbered(7);
    const auto order = ProgramListOps::MoveOrder(list.size(), c.rows, c.moved, c.how);
    ProgramListOps::Permute(list, order);
    EXPECT_EQ(NamesOf(list), c.expected);
    ProgramListOps::Permute(list, ProgramListOps::Inverse(order));
    EXPECT_EQ(NamesOf(list), NamesOf(Numbered(7)));
}

using M = ProgramListOps::Move;
const std::vector<std::size_t> kAll = {0, 1, 2, 3, 4, 5, 6};
INSTANTIATE_TEST_SUITE_P(
    Moves, MoveOrderCases,
    ::testing::Values(
        MoveCase{"UpSplitSelection", kAll, {2, 5}, M::Up, {"0", "2", "1", "3", "5", "4", "6"}},
        MoveCase{"UpBlockAtTopStays", kAll, {0, 1, 4}, M::Up, {"0", "1", "2", "4", "3", "5", "6"}},
        MoveCase{"DownBlock", kAll, {4, 5}, M::Down, {"0", "1", "2", "3", "6", "4", "5"}},
        MoveCase{"DownLastStays", kAll, {2, 6}, M::Down, {"0", "1", "3", "2", "4", "5", "6"}},
        MoveCase{"ToTopKeepsOrder", kAll, {3, 5}, M::ToTop, {"3", "5", "0", "1", "2", "4", "6"}},
        MoveCase{"ToEndKeepsOrder", kAll, {0, 2}, M::ToEnd, {"1", "3", "4", "5", "6", "0", "2"}},
        // Radio programs 1, 3 and 5 are hidden by the filter: they do not move and
        // are not jumped over one by one.
        MoveCase{"UpPastTheShownNeighbour",
                 {0, 2, 4, 6},
                 {4},
                 M::Up,
                 {"0", "1", "4", "3", "2", "5", "6"}},
        MoveCase{
            "ToTopAmongShown", {0, 2, 4, 6}, {6}, M::ToTop, {"6", "1", "0", "3", "2", "5", "4"}},
        MoveCase{"SelectionOutsideTheRowsIsIgnored",
                 {0, 2, 4, 6},
                 {3},
                 M::ToTop,
                 {"0", "1", "2", "3", "4", "5", "6"}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(LaterDuplicates, SameServiceOrSameNameFrequencyAndPolarisation) {
    ProgramListOps::ProgramList list;
    auto add = [&](const char* name, std::uint16_t sid, std::int32_t freq, std::int32_t pol) {
        auto p = MakeProgram(name, 0);
        p->ServiceId = sid;
        p->Frequency = freq;
        p->PolarisationOrQam = pol;
        list.push_back(std::move(p));
    };
    add("Das Erste", 28106, 11836000, 0);     // 0
    add("Das Erste HD", 28106, 11494000, 0);  // 1: same service as 0
    add("Arte", 28109, 10744000, 0);          // 2
    add("Arte", 28724, 10744000, 0);          // 3: same name and tuning as 2
    add("Arte", 28725, 10744000, 1);          // 4: other polarisation
    add("Unbekannt", 0, 12000000, 0);         // 5: service id 0 is unknown
    add("Anders", 0, 12100000, 0);            // 6: does not match 5 by service
    add("", 0, 12100000, 0);                  // 7
    add("", 0, 12100000, 0);                  // 8: no name, no service: nothing to match
    std::vector<std::size_t> all(list.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    EXPECT_EQ(ProgramListOps::LaterDuplicates(list, all), (std::vector<std::size_t>{1, 3}));
    // Only the rows given count: 2 hidden, so 3 is the first of its kind.
    EXPECT_EQ(ProgramListOps::LaterDuplicates(list, {0, 1, 3, 4}), (std::vector<std::size_t>{1}));
}

TEST(MoveBeforeOrder, PlacesTheMovedBlockBeforeTheTargetAmongTheShownRows) {
    using ProgramListOps::MoveBeforeOrder;
    const std::vector<std::size_t> all{0, 1, 2, 3, 4, 5};
    // 1 and 4 before 3: the rows above the target keep their order.
    EXPECT_EQ(MoveBeforeOrder(6, all, {1, 4}, 3), (std::vector<std::size_t>{0, 2, 1, 4, 3, 5}));
    // Before the first row, and past the last one.
    EXPECT_EQ(MoveBeforeOrder(6, all, {3, 5}, 0), (std::vector<std::size_t>{3, 5, 0, 1, 2, 4}));
    EXPECT_EQ(MoveBeforeOrder(6, all, {0, 2}, 6), (std::vector<std::size_t>{1, 3, 4, 5, 0, 2}));
    // Onto a moved row: the block stays together where it was.
    EXPECT_EQ(MoveBeforeOrder(6, all, {2, 3}, 3), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    // Rows not shown (1 and 4) keep their places; the target is the first shown row at
    // or after the index (2): the shown rows become 0 5 2 3 on their places 0 2 3 5.
    EXPECT_EQ(MoveBeforeOrder(6, {0, 2, 3, 5}, {5}, 1),
              (std::vector<std::size_t>{0, 1, 5, 2, 4, 3}));
}
