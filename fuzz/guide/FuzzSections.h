#pragma once
// Shared by the guide's fuzz targets: arbitrary bytes made into sections that
// pass the CRC and length checks (so that the fuzzer reaches the event loops
// and descriptors), and a check that text is valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "guide/EitSection.h"
#include "mpegts/Crc32.h"

namespace fuzzguide {

using Bytes = std::vector<std::uint8_t>;

// The bytes as a section: section_length set to what they hold, the
// syntax bit set and the last four bytes replaced by the right CRC.
inline Bytes Sealed(std::span<const std::uint8_t> body) {
    Bytes s(body.begin(), body.end());
    if (s.size() < 18 || s.size() > 4096 + 3) return s;
    const std::size_t length = s.size() - 3;
    s[1] = std::uint8_t(0x80 | (s[1] & 0x70) | length >> 8);
    s[2] = std::uint8_t(length);
    const std::uint32_t crc = mpegts::Crc32Mpeg2(std::span(s).first(s.size() - 4));
    for (int i = 0; i < 4; ++i)
        s[s.size() - 4 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
    return s;
}

// Unicode's well-formed byte sequences, checked apart from the decoder's own code.
inline bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t n = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b < 0x80)
            n = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            n = 2;
        else if (b == 0xE0)
            n = 3, lo = 0xA0;
        else if (b == 0xED)
            n = 3, hi = 0x9F;
        else if (b >= 0xE1 && b <= 0xEF)
            n = 3;
        else if (b == 0xF0)
            n = 4, lo = 0x90;
        else if (b >= 0xF1 && b <= 0xF3)
            n = 4;
        else if (b == 0xF4)
            n = 4, hi = 0x8F;
        else
            return false;
        if (i + n > text.size()) return false;
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return false;
        }
        i += n;
    }
    return true;
}

// Every text of a decoded section is valid UTF-8.
inline void CheckTexts(const EitSection& section) {
    for (const EitEvent& e : section.events)
        if (!ValidUtf8(e.name) || !ValidUtf8(e.text) || !ValidUtf8(e.extendedText) ||
            !ValidUtf8(e.language))
            std::abort();
}

}  // namespace fuzzguide
