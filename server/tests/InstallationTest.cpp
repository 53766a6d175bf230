#include <gtest/gtest.h>

#include "CInstallation.h"

using namespace nvdvbsrv;

namespace {

std::optional<CInstallation> Parse(const std::string& text, std::string* err = nullptr) {
    std::string e;
    auto r = CInstallation::Parse(text, "/base", e);
    if (err) *err = e;
    return r;
}

}  // namespace

TEST(InstallationTest, ReadsPositionsTranspondersAndBoard) {
    auto inst = Parse(R"(
# comment
[card]
base_port = 31000
ip = 127.0.0.2
mac = 00:11:22:33:44:55
speed = 4
[lnb]
lof_low = 9750000
[position A]
name = Astra
transponder = 11836000 H 27500000 a.ts
transponder = 12188000 v 27500000 /abs/b.ts level=40
[position C]
lof_high = 10750000
transponder = 10744000 H 22000000 c.ts
)");
    ASSERT_TRUE(inst);
    EXPECT_EQ(inst->board.basePort, 31000);
    EXPECT_EQ(inst->board.ip, "127.0.0.2");
    EXPECT_EQ(inst->board.mac, "00:11:22:33:44:55");
    EXPECT_DOUBLE_EQ(inst->speed, 4.0);
    EXPECT_TRUE(inst->diseqc);  // two positions: a switch is there
    EXPECT_EQ(inst->frontend, FrontendKind::Satellite);
    const auto& a = inst->positions[0];
    ASSERT_EQ(a.transponders.size(), 2u);
    EXPECT_EQ(a.transponders[0].file, "/base/a.ts");
    EXPECT_EQ(a.transponders[1].file, "/abs/b.ts");
    EXPECT_EQ(a.transponders[1].polarisation, Polarisation::Vertical);
    EXPECT_EQ(a.transponders[1].level, 40);
    EXPECT_FALSE(inst->positions[1].present);
    EXPECT_EQ(inst->positions[2].lnb.lofHighKHz, 10750000u);
    EXPECT_EQ(inst->positions[2].lnb.lofLowKHz, 9750000u);
}

TEST(InstallationTest, CableOnlyIsACableFrontEnd) {
    auto inst = Parse("[cable]\ntransponder = 346000 QAM64 6900000 k.ts\n");
    ASSERT_TRUE(inst);
    EXPECT_EQ(inst->frontend, FrontendKind::Cable);
    ASSERT_EQ(inst->cable.size(), 1u);
    EXPECT_EQ(inst->cable[0].qam, 64u);
}

TEST(InstallationTest, RejectsMalformedLinesWithTheirNumber) {
    struct Case {
        const char* text;
        const char* line;
    } cases[] = {
        {"[card]\nip = 192.168.1.5\n", "Zeile 2"},  // only loopback
        {"[card]\nbase_port = 70000\n", "Zeile 2"},
        {"[position E]\n", "Zeile 1"},
        {"[position A]\n[position A]\n", "Zeile 2"},
        {"[position A]\ntransponder = 11836000 X 27500000 a.ts\n", "Zeile 2"},
        {"[position A]\ntransponder = 11836000 H a.ts\n", "Zeile 2"},
        {"[position A]\ntransponder = 0 H 27500000 a.ts\n", "Zeile 2"},
        {"[cable]\ntransponder = 346000 QAM63 6900000 k.ts\n", "Zeile 2"},
        {"transponder = 1 H 1 a.ts\n", "Zeile 1"},
        {"[card]\nunknown = 1\n", "Zeile 2"},
        {"[card]\nspeed = fast\n", "Zeile 2"},
        {"[card]\nfail = InitPCI, Reboot\n", "Zeile 2"},
        {"[lnb\n", "Zeile 1"},
        {"\n\n[position A]\nno equals sign\n", "Zeile 4"},
    };
    for (const auto& c : cases) {
        std::string err;
        EXPECT_FALSE(Parse(c.text, &err)) << c.text;
        EXPECT_NE(err.find(c.line), std::string::npos) << c.text << " -> " << err;
    }
}

TEST(InstallationTest, SwitchCanBeDeclaredExplicitly) {
    auto one = Parse("[card]\ndiseqc = yes\n[position A]\n");
    ASSERT_TRUE(one);
    EXPECT_TRUE(one->diseqc);
    auto two = Parse("[card]\ndiseqc = no\n[position A]\n[position B]\n");
    ASSERT_TRUE(two);
    EXPECT_FALSE(two->diseqc);
}

TEST(InstallationTest, FailingStartStepsAreNamedInAList) {
    auto inst = Parse("[card]\nfail = InitPCI, Frontend.Init GetFrontendType\n");
    ASSERT_TRUE(inst);
    EXPECT_EQ(inst->failingSteps, (std::set<StartStep>{StartStep::InitPci, StartStep::FrontendInit,
                                                       StartStep::FrontendType}));
    EXPECT_TRUE(Parse("[card]\n")->failingSteps.empty());
    std::set<StartStep> steps;
    EXPECT_TRUE(ParseStartSteps("", steps));
    EXPECT_TRUE(ParseStartSteps("BootARM,", steps));
    EXPECT_EQ(steps, std::set<StartStep>{StartStep::BootArm});
    EXPECT_FALSE(ParseStartSteps("bootarm", steps));  // the names as the messages spell them
}
