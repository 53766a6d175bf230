// Ordering a list after a reference list.
#include <gtest/gtest.h>

#include "SampleLists.h"
#include "channellist/ReferenceOrder.h"

namespace {

std::unique_ptr<CProgramInfo> Program(const std::string& name, std::uint16_t sid,
                                      std::int32_t frequency, std::uint16_t tsid = 1101) {
    auto p = MakeProgram(name, sid, 0);
    p->Frequency = frequency;
    p->TransportStreamId = tsid;
    return p;
}

std::vector<std::string> Names(const CSVLFile& list) {
    std::vector<std::string> names;
    for (const auto& p : list.Programs) names.push_back(p->Name);
    return names;
}

TEST(ReferenceOrder, ServiceFirstThenNameAndFrequencyThenTheRestInTheirOldOrder) {
    CSVLFile list;
    list.Programs.push_back(Program("Rest A", 900, 10700000));       // 0 unmatched
    list.Programs.push_back(Program("ZDF neu", 28006, 11953000));    // 1 by service
    list.Programs.push_back(Program("Arte", 0, 10744000));           // 2 by name+frequency
    list.Programs.push_back(Program("Das Erste", 28106, 11836000));  // 3 by service
    list.Programs.push_back(Program("Rest B", 901, 10700000));       // 4 unmatched
    list.Programs.push_back(Program("ZDF", 28006, 11953000, 1079));  // 5 other stream: by name
    list.Programs.push_back(Program("Arte", 0, 10743000));           // 6 other frequency
    CSVLFile reference;
    reference.Programs.push_back(Program("Das Erste HD", 28106, 11494000));  // service of 3
    reference.Programs.push_back(Program("Arte", 28109, 10744000));          // name of 2
    reference.Programs.push_back(Program("ZDF", 28006, 11953000));  // 1 (service), 5 (name)
    const ReferenceOrder order = OrderAfterReference(list, reference);
    EXPECT_EQ(order.order, (std::vector<std::size_t>{3, 2, 1, 5, 0, 4, 6}));
    EXPECT_EQ(order.matched, 4u);
    EXPECT_EQ(order.unmatched, 3u);
    ApplyOrder(list.Programs, order.order);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Das Erste", "Arte", "ZDF neu", "ZDF",
                                                     "Rest A", "Rest B", "Arte"}));
}

TEST(ReferenceOrder, EmptyReferenceKeepsTheOrder) {
    CSVLFile list = MakeSampleList();
    const auto before = Names(list);
    const ReferenceOrder order = OrderAfterReference(list, CSVLFile{});
    EXPECT_EQ(order.matched, 0u);
    EXPECT_EQ(order.unmatched, before.size());
    ApplyOrder(list.Programs, order.order);
    EXPECT_EQ(Names(list), before);
}

}  // namespace
