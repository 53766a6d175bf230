// Edit texts as the user may type or paste them: the number rules of the
// program and LNB dialogs never overrun and keep their invariants.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "channellist/dialogs/FieldRules.h"

using namespace FieldRules;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    for (bool hex : {false, true}) {
        const std::uint16_t id = ParseId(text, hex);
        if (ParseId(FormatId(id, hex), hex) != id) std::abort();
    }
    if (const auto n = ParseWholeNumber(text)) {
        if (ParseWholeNumber(std::to_string(*n)) != n) std::abort();
    }
    if (const auto kHz = ParseMHz(text)) {
        if (*kHz % 1000 != 0 || ParseMHz(FormatMHz(*kHz)) != kHz) std::abort();
        const int low = LofIndex(LowBandLofEntries(), *kHz);
        const int high = LofIndex(HighBandLofEntries(), *kHz);
        if (low >= int(LowBandLofEntries().size()) || high >= int(HighBandLofEntries().size()))
            std::abort();
    }
    return 0;
}
