// Arbitrary bytes as a transponder file through its parser: it either gives
// transponders, each with a frequency and a symbol rate above 0 and H or V,
// or an error naming a line of the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scan/TransponderSources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<ScanTransponder> out;
    std::string error;
    if (TransponderSources::ParseTransponderFile(text, out, error)) {
        if (!error.empty()) __builtin_trap();
        for (const auto& tp : out)
            if (tp.frequency == 0 || tp.symbolRate == 0 ||
                (tp.polarisationOrQam != 0 && tp.polarisationOrQam != 1))
                __builtin_trap();
        return 0;
    }
    // "Zeile N: ..." with N a line of the input.
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n' ? 1 : 0;
    if (error.rfind("Zeile ", 0) != 0) __builtin_trap();
    const std::size_t line = std::stoul(error.substr(6));
    if (line == 0 || line > lines) __builtin_trap();
    return 0;
}
