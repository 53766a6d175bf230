// Loads arbitrary bytes as a timer file. A refused file leaves the list
// empty; a loaded list must store to bytes that load again and store the
// same (bytes are compared: a stored date may be any double, NaN too).
#include <cstdlib>

#include "recording/CTIMERFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CTIMERFile list;
    if (!list.Load(std::span<const std::uint8_t>(data, size))) {
        if (!list.entries.empty()) std::abort();
        return 0;
    }
    const auto stored = list.Store();
    CTIMERFile again;
    if (!again.Load(stored) || again.Store() != stored) std::abort();
    if (again.entries.size() != list.entries.size()) std::abort();
    return 0;
}
