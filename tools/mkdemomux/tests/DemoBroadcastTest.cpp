// The demo installation end to end: mkdemomux builds the broadcast from the
// demo channel list, a real card is started on it, and a program of the list
// is tuned the way the program tunes it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ServerHarness.h"

using namespace harness;
using Block = TestClient::Block;

namespace {

bool HaveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

}  // namespace

TEST(DemoBroadcastTest, ProgramsOfTheDemoListAreOnAir) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "the ffmpeg tool is not installed";
    const std::string out = MakeTempDir();
    const std::string cmd = std::string(MKDEMOMUX_PATH) + " --list " + DEMO_DIR +
                            "/Demo.json --out " + out + " --card " + DEMO_DIR +
                            "/broadcast/card.conf >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream confFile(out + "/installation.conf");
    std::stringstream conf;
    conf << confFile.rdbuf();
    std::string text = conf.str();
    // Own base port; stream files next to the configuration.
    const std::string port = std::to_string(UniquePort());
    text.replace(text.find("base_port = 27000"), 17, "base_port = " + port);
    std::string withPaths;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("transponder", 0) == 0) {
            const size_t lastSpace = line.rfind(' ');
            line = line.substr(0, lastSpace + 1) + out + "/" + line.substr(lastSpace + 1);
        }
        withPaths += line + "\n";
    }
    ServerProcess server(UniqueInstance("demo"), withPaths);
    ASSERT_TRUE(server.Running());
    TestClient c(server.Suffix());
    ASSERT_TRUE(c.Connected());

    // "Das Erste": 11836 MHz horizontal, LNB "Astra 19°": 10.6 GHz, tone, burst A.
    ASSERT_EQ(c.Request(43,
                        [](Block& b) {
                            Put32(b, 8, 0);
                            Put32(b, 12, 0);
                        }),
              1u);
    ASSERT_EQ(c.Request(4906,
                        [](Block& b) {
                            const uint32_t ch[8] = {11836000, 10600000, 27500000, 0, 2, 18, 1, 0};
                            for (size_t i = 0; i < 8; ++i) Put32(b, 12 + 4 * i, ch[i]);
                        }),
              1u);
    EXPECT_EQ(c.U16(8), 0u);  // locked

    ASSERT_EQ(c.Request(60,
                        [](Block& b) {
                            Put32(b, 8, 0x11);
                            b[12] = 0x42;
                            b[28] = 0xFF;
                            Put32(b, 44, 1);
                            Put32(b, 48, 4);
                        }),
              1u);
    UdpReceiver rx(uint16_t(std::stoi(port) + c.U16(8)));
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
    UdpReceiver ttx(uint16_t(std::stoi(port) + c.U16(8)));
    auto page = ttx.Receive(4000);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->size(), 1960u);
    std::string pageText;
    for (uint8_t ch : *page) pageText.push_back(char(ch & 0x7F));
    EXPECT_NE(pageText.find("Das Erste"), std::string::npos);
    const int number = std::stoi(pageText.substr(8, 3));
    EXPECT_GE(number, 100);
    EXPECT_LE(number, 103);
    std::error_code ec;
    std::filesystem::remove_all(out, ec);
}
