// svltool's command line: the commands with their file operands, the help
// text and the checks that make a call a usage error.
#pragma once

#include <string>
#include <vector>

namespace svltool {

enum Exit { Success = 0, Failure = 1, Usage = 2 };

// One command: its name, the names of its file operands (for the synopsis,
// also their number) and what it does.
struct CommandInfo {
    const char* name;
    const char* operands;  // "EIN.svl AUS.svl"
    const char* summary;
};

const std::vector<CommandInfo>& Commands();

struct Invocation {
    enum class Kind { Run, Help, Version, UsageError };
    Kind kind = Kind::UsageError;
    std::string command;             // Run: a name of Commands()
    bool json = false;               // dump --json
    std::vector<std::string> files;  // Run: exactly the command's operands
    std::string error;               // UsageError: what is wrong, in German
};

// -h/--help and --version anywhere before "--" win; "-" is a file (standard
// input or output), "--" ends the options.
Invocation ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText();
// The two synopsis lines that open the help and follow a usage error.
std::string Synopsis();

}  // namespace svltool
