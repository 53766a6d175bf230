// svltool's command line: which call runs which command with which files,
// where help and version win, and what is refused with which message.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SvlCommandLine.h"

namespace {

using svltool::Invocation;
using Args = std::vector<std::string>;
using Kind = Invocation::Kind;

TEST(SvltoolCommandLine, RunsTheCommandWithItsFiles) {
    const Invocation dump = svltool::ParseCommandLine({"dump", "a.svl", "--json"});
    ASSERT_EQ(dump.kind, Kind::Run) << dump.error;
    EXPECT_EQ(dump.command, "dump");
    EXPECT_TRUE(dump.json) << "--json after the file";
    EXPECT_EQ(dump.files, Args{"a.svl"});

    const Invocation reorder = svltool::ParseCommandLine({"reorder", "-", "r.svl", "-"});
    ASSERT_EQ(reorder.kind, Kind::Run) << reorder.error;
    EXPECT_FALSE(reorder.json);
    EXPECT_EQ(reorder.files, (Args{"-", "r.svl", "-"})) << "\"-\" is standard input or output";

    const Invocation dashed = svltool::ParseCommandLine({"resave", "--", "-a.svl", "--help"});
    ASSERT_EQ(dashed.kind, Kind::Run) << dashed.error;
    EXPECT_EQ(dashed.files, (Args{"-a.svl", "--help"})) << "files after --";
}

TEST(SvltoolCommandLine, EveryCommandTakesItsNumberOfFiles) {
    for (const auto& command : svltool::Commands()) {
        const std::string operands = command.operands;
        const std::size_t count = 1 + std::count(operands.begin(), operands.end(), ' ');
        Args args = {command.name};
        for (std::size_t i = 0; i < count; ++i) args.push_back("f" + std::to_string(i));
        EXPECT_EQ(svltool::ParseCommandLine(args).kind, Kind::Run) << command.name;
        args.push_back("extra");
        EXPECT_EQ(svltool::ParseCommandLine(args).kind, Kind::UsageError) << command.name;
        args.resize(count);
        EXPECT_EQ(svltool::ParseCommandLine(args).kind, Kind::UsageError) << command.name;
    }
}

TEST(SvltoolCommandLine, HelpAndVersionWinBeforeTheEndOfOptions) {
    for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"dump", "a", "b", "--help"},
                             Args{"--bogus", "-h"}, Args{"--version", "--help"}})
        EXPECT_EQ(svltool::ParseCommandLine(args).kind, Kind::Help) << args.back();
    for (const Args& args : {Args{"--version"}, Args{"frobnicate", "--version"}})
        EXPECT_EQ(svltool::ParseCommandLine(args).kind, Kind::Version) << args.front();
    EXPECT_EQ(svltool::ParseCommandLine({"check", "--", "--help"}).kind, Kind::Run);
}

TEST(SvltoolCommandLine, RefusesWithAGermanMessage) {
    const std::pair<Args, std::string> cases[] = {
        {{}, "kein Befehl angegeben"},
        {{"frobnicate", "x"}, "unbekannter Befehl: frobnicate"},
        {{"dump", "--xml", "a.svl"}, "unbekannte Option: --xml"},
        {{"check", "-q", "a.svl"}, "unbekannte Option: -q"},
        {{"check", "--json", "a.svl"}, "--json gilt nur für dump"},
        {{"dump", "--json"},
         "falsche Zahl von Dateien für dump, erwartet: svltool dump [--json] DATEI.svl"},
        {{"import-dvb", "a", "b", "c"},
         "falsche Zahl von Dateien für import-dvb, erwartet: svltool import-dvb EIN.dvb AUS.svl"},
    };
    for (const auto& [args, message] : cases) {
        const Invocation call = svltool::ParseCommandLine(args);
        EXPECT_EQ(call.kind, Kind::UsageError) << message;
        EXPECT_EQ(call.error, message);
    }
}

TEST(SvltoolCommandLine, HelpListsEveryCommandWithItsFiles) {
    const std::string help = svltool::HelpText();
    EXPECT_EQ(help.rfind(svltool::Synopsis(), 0), 0u);
    for (const auto& command : svltool::Commands()) {
        const std::string call = std::string("  ") + command.name + " ";
        const auto at = help.find(call);
        ASSERT_NE(at, std::string::npos) << command.name;
        EXPECT_NE(help.find(command.operands, at), std::string::npos) << command.name;
    }
}

}  // namespace
