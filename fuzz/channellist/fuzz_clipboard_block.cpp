// Decodes arbitrary bytes as a clipboard block. The programs decoded must
// encode to a block that decodes completely to equal programs, and that block
// must be the input's prefix when the input was complete and written the
// writer's way.
#include <cstdlib>

#include "channellist/ClipboardBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto decoded = DecodeClipboardBlock(std::span<const std::uint8_t>(data, size));
    if (decoded.programs.size() > decoded.declaredCount) std::abort();
    if (decoded.complete != (decoded.programs.size() == decoded.declaredCount && size >= 4))
        std::abort();
    std::vector<const CProgramInfo*> pointers;
    for (const auto& p : decoded.programs) pointers.push_back(p.get());
    const auto encoded = EncodeClipboardBlock(pointers);
    const auto again = DecodeClipboardBlock(encoded);
    if (!again.complete || again.programs.size() != decoded.programs.size()) std::abort();
    for (std::size_t i = 0; i < again.programs.size(); ++i)
        if (!(*again.programs[i] == *decoded.programs[i])) std::abort();
    if (EncodeClipboardBlock(pointers) != encoded) std::abort();
    return 0;
}
