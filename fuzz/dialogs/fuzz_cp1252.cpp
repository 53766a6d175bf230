// Any bytes, read both as Windows-1252 and as UTF-8 text: conversions never
// overrun, bytes survive both round trips, and text reported as lossless
// comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dialogs/Cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    bool lossless = false;
    if (Cp1252::FromUtf16(Cp1252::ToUtf16(bytes), &lossless) != bytes || !lossless) std::abort();
    if (Cp1252::FromUtf8(Cp1252::ToUtf8(bytes), &lossless) != bytes || !lossless) std::abort();

    // The same bytes as UTF-8 input from the user interface.
    const std::string encoded = Cp1252::FromUtf8(bytes, &lossless);
    if (encoded.size() > bytes.size()) std::abort();
    if (lossless && Cp1252::ToUtf8(encoded) != bytes) std::abort();

    // And as UTF-16 code units (an odd last byte is dropped).
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    const std::string fromUnits = Cp1252::FromUtf16(units, &lossless);
    if (fromUnits.size() > units.size()) std::abort();
    if (lossless && Cp1252::ToUtf16(fromUnits) != units) std::abort();
    return 0;
}
