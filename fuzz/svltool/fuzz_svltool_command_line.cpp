// svltool's command line: arguments separated by NUL bytes. A refusal always
// says why; a command that runs is one of the table with exactly its files.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzArguments.h"
#include "tools/svltool/SvlCommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> args = FuzzArguments(data, size);
    const svltool::Invocation call = svltool::ParseCommandLine(args);
    using Kind = svltool::Invocation::Kind;
    if (call.kind == Kind::UsageError && call.error.empty()) __builtin_trap();
    if (call.kind != Kind::Run) return 0;
    const auto& commands = svltool::Commands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [&](const auto& c) { return call.command == c.name; });
    if (it == commands.end()) __builtin_trap();
    const std::string operands = it->operands;
    const auto count = size_t(1 + std::count(operands.begin(), operands.end(), ' '));
    if (call.files.size() != count || (call.json && call.command != "dump")) __builtin_trap();
    return 0;
}
