// The server's command line: flags without values, options with values and
// their ranges, the key and cam commands, and what is refused with which
// message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCommandLine.h"

namespace {

using nvdvbsrv::CCommandLine;
using nvdvbsrv::StartStep;
using Args = std::vector<std::string>;

struct Parsed {
    bool ok = false;
    CCommandLine line;
    std::string error;
};

Parsed Parse(const Args& args) {
    Parsed p;
    p.ok = p.line.Parse(args, p.error);
    return p;
}

TEST(CommandLineTest, HelpAndVersionAreFlagsAnywhereOnTheLine) {
    for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"--config", "x", "--help"},
                             Args{"key", "--help"}, Args{"--bogus", "-h"}}) {
        const Parsed p = Parse(args);
        EXPECT_TRUE(p.ok) << args.back() << ": " << p.error;
        EXPECT_TRUE(p.line.help) << args.front();
        EXPECT_FALSE(p.line.version);
    }
    const Parsed version = Parse({"--instance", "a", "--version"});
    EXPECT_TRUE(version.ok);
    EXPECT_TRUE(version.line.version);
    EXPECT_FALSE(version.line.help);
    const Parsed both = Parse({"--version", "--help"});
    EXPECT_TRUE(both.line.help);
    EXPECT_FALSE(both.line.version);
}

TEST(CommandLineTest, ServerOptionsTakeTheirValues) {
    const Parsed p =
        Parse({"--config", "/a/b.conf", "--instance", "t1", "--base-port", "27100", "--speed",
               "2.5", "--keepalive-timeout-ms", "100", "--exit-when-idle-ms", "0", "--fail",
               "BootARM, GetFrontendType", "--audio-wav", "s.wav"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_FALSE(p.line.help || p.line.version || p.line.keyCommand || p.line.camCommand);
    EXPECT_EQ(p.line.config, "/a/b.conf");
    EXPECT_EQ(p.line.instance, "t1");
    EXPECT_EQ(p.line.basePort, 27100);
    EXPECT_EQ(p.line.speed, 2.5);
    EXPECT_EQ(p.line.keepAliveMs, 100u);
    EXPECT_EQ(p.line.exitWhenIdleMs, 0u);
    EXPECT_EQ(p.line.failSteps, (std::set{StartStep::BootArm, StartStep::FrontendType}));
    EXPECT_EQ(p.line.audioWav, "s.wav");
    EXPECT_TRUE(Parse({}).ok);
}

TEST(CommandLineTest, KeyAndCamCommands) {
    const Parsed key = Parse({"key", "63", "--instance", "x"});
    ASSERT_TRUE(key.ok) << key.error;
    EXPECT_TRUE(key.line.keyCommand);
    EXPECT_EQ(key.line.keyCode, 63u);
    EXPECT_EQ(key.line.instance, "x");
    const Parsed cam = Parse({"cam", "remove", "2"});
    ASSERT_TRUE(cam.ok) << cam.error;
    EXPECT_TRUE(cam.line.camCommand);
    EXPECT_FALSE(cam.line.camInsert);
    EXPECT_EQ(cam.line.camSlot, 2);
    EXPECT_TRUE(Parse({"cam", "insert", "1"}).line.camInsert);
}

TEST(CommandLineTest, RefusesWithAGermanMessage) {
    const std::pair<Args, std::string> cases[] = {
        {{"--bogus", "1"}, "unbekannte Option: --bogus"},
        {{"-x"}, "unbekannte Option: -x"},
        {{"serve"}, "unerwartetes Argument: serve"},
        {{"--config"}, "Wert fehlt nach --config"},
        {{"--config", "--speed", "2"}, "Wert fehlt nach --config"},
        {{"--base-port", "0"}, "ungültiger Wert für --base-port: 0"},
        {{"--base-port", "65400"}, "ungültiger Wert für --base-port: 65400"},
        {{"--speed", "0.001"}, "ungültiger Wert für --speed: 0.001"},
        {{"--speed", "2x"}, "ungültiger Wert für --speed: 2x"},
        {{"--keepalive-timeout-ms", "99"}, "ungültiger Wert für --keepalive-timeout-ms: 99"},
        {{"--exit-when-idle-ms", "-1"}, "ungültiger Wert für --exit-when-idle-ms: -1"},
        {{"--fail", "Boot"}, "--fail nennt InitPCI, BootARM, Frontend.Init oder GetFrontendType"},
        {{"key"}, "key braucht einen Tastencode von 0 bis 63"},
        {{"key", "64"}, "key braucht einen Tastencode von 0 bis 63"},
        {{"key", "1", "--config", "c"}, "--config gilt nicht für key"},
        {{"cam", "eject", "1"}, "cam braucht insert oder remove und den Slot 1 oder 2"},
        {{"cam", "insert", "3"}, "cam braucht insert oder remove und den Slot 1 oder 2"},
        {{"cam", "insert", "1", "--speed", "2"}, "--speed gilt nicht für cam"},
    };
    for (const auto& [args, message] : cases) {
        const Parsed p = Parse(args);
        EXPECT_FALSE(p.ok) << message;
        EXPECT_EQ(p.error, message);
    }
}

}  // namespace
