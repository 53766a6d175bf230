// Arbitrary bytes as a DVB text field: the result must be valid UTF-8 without
// zero bytes or C1 control characters; the result, and the raw bytes, word
// wrapped at a width from the input: no line wider than the width, every line
// valid UTF-8 when the text is, and no line holds more than the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSections.h"
#include "guide/WordWrap.h"
#include "mpegts/DvbText.h"

namespace {

std::size_t CodePoints(const std::string& s) {
    std::size_t n = 0;
    for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

void CheckWrap(const std::string& text, int width, bool valid) {
    std::size_t total = 0;
    for (const std::string& line : WrapWords(text, width)) {
        if (CodePoints(line) > std::size_t(width < 1 ? 1 : width)) std::abort();
        if (valid && !fuzzguide::ValidUtf8(line)) std::abort();
        total += line.size();
    }
    if (total > text.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = mpegts::DecodeDvbText(std::span<const std::uint8_t>(data, size));
    if (!fuzzguide::ValidUtf8(text)) std::abort();
    if (text.find('\0') != std::string::npos) std::abort();
    for (std::size_t i = 0; i + 1 < text.size(); ++i)  // U+0080-U+009F are C2 80 - C2 9F
        if (static_cast<unsigned char>(text[i]) == 0xC2 &&
            static_cast<unsigned char>(text[i + 1]) <= 0x9F)
            std::abort();
    const int width = size > 0 ? data[0] % 40 - 1 : 10;
    CheckWrap(text, width, true);
    CheckWrap(std::string(reinterpret_cast<const char*>(data), size), width, false);
    return 0;
}
