// Arbitrary bytes as a network information table section through the NIT
// reader. The input's CRC is made right first (its last four bytes), so that
// the fuzzer gets past the check into the loops; the input as it came is read
// too. Every transport stream must come from inside the section, and a
// delivery descriptor's values must be what its BCD digits can hold.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "mpegts/Crc32.h"
#include "mpegts/NitSection.h"

namespace {

void Check(std::span<const std::uint8_t> bytes) {
    const auto nit = mpegts::ParseNit(bytes);
    if (!nit) return;
    // Every stream entry takes at least six bytes of the section.
    if (nit->streams.size() * 6 > bytes.size()) __builtin_trap();
    for (const auto& s : nit->streams) {
        if (s.satellite && (s.satellite->frequencyKHz > 999999990u ||
                            s.satellite->symbolRate > 999999900u || s.satellite->polarisation > 3))
            __builtin_trap();
        if (s.cable && (s.cable->frequencyKHz > 9999999u || s.cable->symbolRate > 999999900u))
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    Check(input);
    if (size < 8) return 0;
    // The section as long as its header says (when the input holds it), CRC set.
    std::size_t length = 3 + (std::size_t(data[1] & 0x0F) << 8 | data[2]);
    if (length < 8 || length > size) length = size;
    std::vector<std::uint8_t> section(data, data + length);
    const std::uint32_t crc = mpegts::Crc32Mpeg2(std::span(section).first(length - 4));
    for (int i = 0; i < 4; ++i) section[length - 4 + i] = std::uint8_t(crc >> (24 - 8 * i));
    Check(section);
    return 0;
}
