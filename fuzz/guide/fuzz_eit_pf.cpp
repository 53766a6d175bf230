// Arbitrary bytes as a present/following section, as they are and sealed
// (length and CRC made right), through the parser and into the slots. The
// slots never count more than two, and a filled slot holds a valid time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSections.h"
#include "guide/CEventSlots.h"

namespace {

void Take(CEventSlots& slots, std::span<const std::uint8_t> bytes, int offset) {
    const auto section = ParseEitSection(bytes);
    if (!section) return;
    fuzzguide::CheckTexts(*section);
    const bool done = slots.Apply(*section, offset);
    if (slots.Filled() < 0 || slots.Filled() > 2) std::abort();
    if (done && slots.Filled() != section->lastSectionNumber + 1) std::abort();
    for (int i = 0; i < 2; ++i) {
        const EventSlot& slot = slots.Slot(i);
        if (slot.valid && (!slot.start.ToCivil() || slot.duration.days < 0)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int offset = int(std::int8_t(data[0])) % 24;
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    CEventSlots slots;
    Take(slots, input, offset);
    Take(slots, fuzzguide::Sealed(input), offset);
    return 0;
}
