// The demo channel list shipped with the program: loads, stores back
// unchanged, and its tuning data fits its LNB and its transponders.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"

namespace {

TEST(DemoList, IsConsistent) {
    const std::string path = std::string(DEMO_DIR) + "/Demo.svl";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "demo list not found at " << path;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes, nullptr));
    CSVLFile list;
    bool canonical = false;
    ASSERT_TRUE(list.Load(bytes, nullptr, &canonical));
    EXPECT_TRUE(canonical);
    EXPECT_GE(list.Programs.size(), 24u);
    EXPECT_EQ(list.Lnbs.Size(), 4u);

    using Transponder = std::tuple<std::int32_t, std::int32_t>;  // frequency, polarisation
    std::map<Transponder, std::set<std::uint16_t>> services, pids;
    std::set<std::string> kinds;
    for (const auto& p : list.Programs) {
        const CLnb* lnb = list.FindLnb(p->LnbName);
        ASSERT_NE(lnb, nullptr) << p->Name;
        EXPECT_GE(p->Frequency, lnb->LowFrequency) << p->Name;
        EXPECT_LE(p->Frequency, lnb->HighFrequency) << p->Name;
        EXPECT_TRUE(p->PolarisationOrQam == 0 || p->PolarisationOrQam == 1) << p->Name;
        const Transponder t{p->Frequency, p->PolarisationOrQam};
        EXPECT_TRUE(services[t].insert(p->ServiceId).second) << "service id twice: " << p->Name;
        EXPECT_TRUE(pids[t].insert(p->PmtPid).second) << "PMT PID twice: " << p->Name;
        for (const auto& s : p->Streams) {
            EXPECT_TRUE(pids[t].insert(s.Pid).second) << "PID twice: " << p->Name << " " << s.Pid;
            EXPECT_LT(s.Pid, 0x1FFF);
        }
        kinds.insert(p->KindText());
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"TV", "Radio", "Data", "TV Verschl\u00fcsselt"}));
}

}  // namespace
