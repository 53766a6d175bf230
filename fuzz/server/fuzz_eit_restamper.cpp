// An EIT section of a transponder's stream is outside bytes: the guide's
// restamper walks its event loop by the lengths it announces. Input: a flag
// byte (bit 0: give the section a valid CRC first, so that the walk behind
// the CRC check is reached), the shift in 5-minute steps (signed), the section.
#include <cstdint>
#include <vector>

#include "CEitRestamper.h"
#include "mpegts/Crc32.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const bool fixCrc = data[0] & 1;
    const std::int64_t seconds = std::int64_t(int8_t(data[1])) * nvdvbsrv::CEitRestamper::kStep;
    std::vector<uint8_t> before(data + 2, data + size);
    if (fixCrc && before.size() >= 4) {
        const size_t body = before.size() - 4;
        const uint32_t crc = mpegts::Crc32Mpeg2(std::span<const uint8_t>(before).first(body));
        for (size_t k = 0; k < 4; ++k) before[body + k] = uint8_t(crc >> (24 - 8 * k));
    }
    std::vector<uint8_t> s = before;
    if (!nvdvbsrv::CEitRestamper::Shift(s, seconds)) {
        // A section it does not take stays as it came.
        if (s != before) __builtin_trap();
        return 0;
    }
    // A section it took is still whole, still the same table and service,
    // carries a valid CRC, and is taken again.
    if (s.size() != before.size() || !mpegts::SectionCrcValid(s)) __builtin_trap();
    for (size_t i = 0; i < 14; ++i) {
        if (s[i] != before[i]) __builtin_trap();
    }
    if (!nvdvbsrv::CEitRestamper::Shift(s, -seconds)) __builtin_trap();
    return 0;
}
