// Merging scanned programs into a list: updates in place by original network
// id, transport stream id and service id, the rest appended, and a result
// that undoes the merge.
#include <gtest/gtest.h>

#include "channellist/CSVLFile.h"
#include "scan/ScanMerge.h"

namespace {

CProgramInfo Program(std::uint16_t onid, std::uint16_t tsid, std::uint16_t sid,
                     const std::string& name) {
    CProgramInfo p;
    p.Name = name;
    p.Provider = "Provider";
    p.LnbName = "Astra";
    p.OriginalNetworkId = onid;
    p.TransportStreamId = tsid;
    p.ServiceId = sid;
    p.Frequency = 11836000;
    p.VideoPid = 101;
    return p;
}

CSVLFile List() {
    CSVLFile list;
    for (auto p : {Program(1, 1101, 10, "Mein Erstes"), Program(1, 1101, 11, "Zwei"),
                   Program(133, 4, 10, "Pay")}) {
        p.CiAccess = 5;
        p.ProgramData1 = ByteBlock({1, 2, 3});
        list.Programs.push_back(std::make_unique<CProgramInfo>(p));
    }
    return list;
}

TEST(ScanMerge, UpdatesTheSameServiceInPlaceAndAppendsTheRest) {
    CSVLFile list = List();
    auto moved = Program(1, 1101, 10, "Das Erste");
    moved.Frequency = 11837000;
    moved.VideoPid = 201;
    moved.LnbName = "Hotbird";
    moved.Provider = "ARD";
    moved.ProgramType = 0x10001;
    moved.Streams.emplace_back().Pid = 201;
    const auto fresh = Program(1, 1102, 10, "Neu");  // same sid, other transport stream
    const auto pay = Program(133, 4, 10, "Premiere");
    const auto r = ScanMerge::Merge(list, std::vector{moved, fresh, pay});

    ASSERT_EQ(list.Programs.size(), 4u);
    const CProgramInfo& updated = *list.Programs[0];
    EXPECT_EQ(updated.Name, "Mein Erstes");
    EXPECT_EQ(updated.LnbName, "Astra");
    EXPECT_EQ(updated.Provider, "Provider");
    EXPECT_EQ(updated.CiAccess, 5);
    EXPECT_EQ(updated.ProgramData1, ByteBlock({1, 2, 3}));
    EXPECT_EQ(updated.Frequency, 11837000);
    EXPECT_EQ(updated.VideoPid, 201);
    EXPECT_EQ(updated.ProgramType, 0x10001u);
    ASSERT_EQ(updated.Streams.size(), 1u);
    EXPECT_EQ(list.Programs[1]->Name, "Zwei");  // not found: untouched
    EXPECT_EQ(list.Programs[2]->Name, "Pay");
    EXPECT_EQ(list.Programs[3]->Name, "Neu");

    ASSERT_EQ(r.updated.size(), 2u);
    EXPECT_EQ(r.updated[0].index, 0u);
    EXPECT_EQ(r.updated[0].before.Frequency, 11836000);
    EXPECT_EQ(r.updated[0].after, updated);
    EXPECT_EQ(r.updated[1].index, 2u);
    EXPECT_EQ(r.firstAdded, 3u);
    ASSERT_EQ(r.added.size(), 1u);
    EXPECT_EQ(r.added[0].Name, "Neu");
}

TEST(ScanMerge, PlanLeavesTheListAndUndoRestoresIt) {
    CSVLFile list = List();
    const CSVLFile before = List();
    auto moved = Program(1, 1101, 11, "x");
    moved.AudioPid = 77;
    const auto plan = ScanMerge::Plan(list, std::vector{moved, Program(2, 2, 2, "y")});
    for (std::size_t i = 0; i < list.Programs.size(); ++i)
        EXPECT_EQ(*list.Programs[i], *before.Programs[i]);
    ScanMerge::Apply(list, plan);
    EXPECT_EQ(list.Programs[1]->AudioPid, 77);
    // Undo as the program would do it in one step.
    for (const auto& u : plan.updated) *list.Programs[u.index] = u.before;
    list.Programs.resize(plan.firstAdded);
    ASSERT_EQ(list.Programs.size(), before.Programs.size());
    for (std::size_t i = 0; i < list.Programs.size(); ++i)
        EXPECT_EQ(*list.Programs[i], *before.Programs[i]);
}

TEST(ScanMerge, AServiceFoundTwiceCountsOnceTheLaterWins) {
    CSVLFile list = List();
    auto first = Program(1, 1101, 10, "a"), second = first;
    second.VideoPid = 300;
    auto newFirst = Program(9, 9, 9, "n1"), newSecond = newFirst;
    newSecond.Name = "n2";
    const auto r = ScanMerge::Merge(list, std::vector{first, newFirst, second, newSecond});
    ASSERT_EQ(r.updated.size(), 1u);
    EXPECT_EQ(list.Programs[0]->VideoPid, 300);
    ASSERT_EQ(r.added.size(), 1u);
    EXPECT_EQ(list.Programs.back()->Name, "n2");
}

}  // namespace
