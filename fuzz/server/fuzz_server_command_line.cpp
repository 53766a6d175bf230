// The server's command line: arguments separated by NUL bytes. A refusal
// always says why; what is accepted is within the ranges the server relies on.
#include <cstdint>
#include <string>
#include <vector>

#include "CCommandLine.h"
#include "fuzz/FuzzArguments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> args = FuzzArguments(data, size);
    nvdvbsrv::CCommandLine line;
    std::string error;
    if (!line.Parse(args, error)) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    if (line.help || line.version) return 0;
    if (line.keyCommand && line.keyCode > 63) __builtin_trap();
    if (line.camCommand && line.camSlot != 1 && line.camSlot != 2) __builtin_trap();
    if (line.basePort && (*line.basePort == 0 || *line.basePort >= 65400)) __builtin_trap();
    if (line.speed && !(*line.speed >= 0.01 && *line.speed <= 1000.0)) __builtin_trap();
    if (line.keepAliveMs && *line.keepAliveMs < 100) __builtin_trap();
    return 0;
}
