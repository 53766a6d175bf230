// The demo installation end to end: mkdemomux builds the broadcast from the
// demo channel list, a real card is started on it, and a program of the list
// is tuned the way the program tunes it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <sstream>

#include "EitReader.h"
#include "ServerHarness.h"

using namespace harness;
using Block = TestClient::Block;

namespace {

bool HaveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

// The broadcast is built once, for a moment three days and 1234 s ago: the
// card plays it as if it were live. The guide then moves by 3 days and
// 1200 s, and keeps that shift for the next 116 s (a multiple of 300 s plus
// 150 s), longer than the tests take.
class DemoBroadcastTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!HaveFfmpeg()) return;
        built_ = std::time(nullptr) - 3 * 86400 - 1234;
        out_ = MakeTempDir();
        const std::string cmd = std::string(MKDEMOMUX_PATH) + " --list " + DEMO_DIR +
                                "/Demo.json --out " + out_ + " --card " + DEMO_DIR +
                                "/broadcast/card.conf --time " + std::to_string(built_) +
                                " >/dev/null";
        made_ = std::system(cmd.c_str()) == 0;
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        if (!out_.empty()) std::filesystem::remove_all(out_, ec);
    }
    void SetUp() override {
        if (!HaveFfmpeg()) GTEST_SKIP() << "the ffmpeg tool is not installed";
        ASSERT_TRUE(made_) << "mkdemomux failed";
    }

    // The installation mkdemomux wrote, with its own base port and the
    // stream files next to it.
    std::string Installation() {
        std::ifstream confFile(out_ + "/installation.conf");
        std::stringstream conf;
        conf << confFile.rdbuf();
        std::string text = conf.str();
        text.replace(text.find("base_port = 27000"), 17, "base_port = " + std::to_string(port_));
        std::string withPaths;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("transponder", 0) == 0) {
                const size_t lastSpace = line.rfind(' ');
                line = line.substr(0, lastSpace + 1) + out_ + "/" + line.substr(lastSpace + 1);
            }
            withPaths += line + "\n";
        }
        return withPaths;
    }

    // "Das Erste": 11836 MHz horizontal, LNB "Astra 19°": 10.6 GHz, tone, burst A.
    static void TuneDasErste(TestClient& c) {
        ASSERT_EQ(c.Request(43,
                            [](Block& b) {
                                Put32(b, 8, 0);
                                Put32(b, 12, 0);
                            }),
                  1u);
        ASSERT_EQ(c.Request(4906,
                            [](Block& b) {
                                const uint32_t ch[8] = {11836000, 10600000, 27500000, 0,
                                                        2,        18,       1,        0};
                                for (size_t i = 0; i < 8; ++i) Put32(b, 12 + 4 * i, ch[i]);
                            }),
                  1u);
        EXPECT_EQ(c.U16(8), 0u);  // locked
    }

    // A section filter on PID and the first bytes: the handle, 0 when refused.
    static uint16_t Filter(TestClient& c, uint16_t pid, std::vector<uint8_t> bytes,
                           std::vector<uint8_t> mask) {
        const uint32_t r = c.Request(60, [&](Block& b) {
            Put32(b, 8, pid);
            std::copy(bytes.begin(), bytes.end(), b.begin() + 12);
            std::copy(mask.begin(), mask.end(), b.begin() + 28);
            Put32(b, 44, uint32_t(bytes.size()));
            Put32(b, 48, 4);
        });
        return r == 1 ? c.U16(8) : 0;
    }

    static inline std::string out_;
    static inline std::time_t built_ = 0;
    static inline bool made_ = false;
    const uint16_t port_ = UniquePort();
};

}  // namespace

TEST_F(DemoBroadcastTest, ProgramsOfTheDemoListAreOnAir) {
    ServerProcess server(UniqueInstance("demo"), Installation());
    ASSERT_TRUE(server.Running());
    TestClient c(server.Suffix());
    ASSERT_TRUE(c.Connected());
    TuneDasErste(c);

    const uint16_t sdtHandle = Filter(c, 0x11, {0x42}, {0xFF});
    ASSERT_NE(sdtHandle, 0);
    UdpReceiver rx(uint16_t(port_ + sdtHandle));
    auto sdt = rx.Receive(3000);
    ASSERT_TRUE(sdt);
    const std::string bytes(sdt->begin(), sdt->end());
    EXPECT_NE(bytes.find("Das Erste"), std::string::npos);
    EXPECT_NE(bytes.find("Phoenix"), std::string::npos);
    EXPECT_EQ((*sdt)[3] << 8 | (*sdt)[4], 1101);  // transport stream id of the list

    // The decoder shows the test pattern of the video PID.
    ASSERT_EQ(c.Request(50, [](Block& b) { Put32(b, 8, 101); }), 1u);
    ASSERT_EQ(c.Request(54), 1u);
    EXPECT_EQ(c.U16(8 + 38), 720);
    EXPECT_EQ(c.U16(8 + 40), 576);

    // The videotext of the program: its teletext PID carries pages 100-103.
    ASSERT_EQ(c.Request(80, [](Block& b) { Put32(b, 8, 104); }), 1u);
    UdpReceiver ttx(uint16_t(port_ + c.U16(8)));
    auto page = ttx.Receive(4000);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->size(), 1960u);
    std::string pageText;
    for (uint8_t ch : *page) pageText.push_back(char(ch & 0x7F));
    EXPECT_NE(pageText.find("Das Erste"), std::string::npos);
    const int number = std::stoi(pageText.substr(8, 3));
    EXPECT_GE(number, 100);
    EXPECT_LE(number, 103);
}

TEST_F(DemoBroadcastTest, TheGuideOfADemoServiceRunsOnTheLiveClock) {
    ServerProcess server(UniqueInstance("demoguide"), Installation());
    ASSERT_TRUE(server.Running());
    TestClient c(server.Suffix());
    ASSERT_TRUE(c.Connected());
    TuneDasErste(c);
    // Schedule (0x50) and present/following of service 28106.
    const uint16_t scheduleHandle =
        Filter(c, 0x12, {0x50, 0, 0, 0x6D, 0xCA}, {0xFF, 0, 0, 0xFF, 0xFF});
    const uint16_t eventHandle =
        Filter(c, 0x12, {0x4E, 0, 0, 0x6D, 0xCA, 0, 0}, {0xFF, 0, 0, 0xFF, 0xFF, 0, 0xFF});
    ASSERT_NE(scheduleHandle, 0);
    ASSERT_NE(eventHandle, 0);
    UdpReceiver scheduleRx(uint16_t(port_ + scheduleHandle)),
        eventRx(uint16_t(port_ + eventHandle));
    const std::time_t from = std::time(nullptr);
    // Every schedule section comes once a loop of about 4 s.
    auto presentSections =
        std::async(std::launch::async, [&] { return eventRx.Collect(std::chrono::seconds(5)); });
    const auto schedule = scheduleRx.Collect(std::chrono::seconds(5));
    const auto present = presentSections.get();
    const std::time_t to = std::time(nullptr);

    std::map<uint8_t, eitreader::Eit> sections;
    for (const auto& d : schedule) {
        const auto eit = eitreader::Parse(d);
        ASSERT_TRUE(eit) << "a schedule section that does not parse";
        sections[eit->number] = *eit;
    }
    ASSERT_GE(sections.size(), 32u);  // every segment of four days
    std::vector<eitreader::Event> events;
    for (const auto& [number, eit] : sections) {
        events.insert(events.end(), eit.events.begin(), eit.events.end());
    }
    // The broadcast's day started at 00:00 UTC of the build day; now it
    // starts that much later as the build lies back, in whole 5 minutes.
    const std::time_t buildDay = built_ - built_ % 86400;
    const auto shift = events.front().start - buildDay;
    EXPECT_EQ(shift % 300, 0);
    EXPECT_GE(shift, from - built_ - 150);
    EXPECT_LE(shift, to - built_ + 150);
    for (size_t i = 1; i < events.size(); ++i) {
        EXPECT_EQ(events[i - 1].start + events[i - 1].duration, events[i].start);
    }
    EXPECT_EQ(events.back().start + events.back().duration, buildDay + shift + 4 * 86400);

    // The present event runs now, and it is the schedule's event.
    ASSERT_FALSE(present.empty());
    const auto now = eitreader::Parse(present.back());
    ASSERT_TRUE(now && now->events.size() == 1);
    const auto& e = now->events[0];
    EXPECT_LE(e.start, to + 150);
    EXPECT_GT(e.start + e.duration, from - 150);
    EXPECT_FALSE(e.name.empty());
    const auto same =
        std::find_if(events.begin(), events.end(), [&](const auto& s) { return s.id == e.id; });
    ASSERT_NE(same, events.end());
    EXPECT_EQ(same->start, e.start);
    EXPECT_EQ(same->name, e.name);
}
