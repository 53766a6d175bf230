#pragma once
// Windows-1252 <-> Unicode conversion for the 8-bit strings of channel lists.
//
// Every byte value converts to exactly one code point and back, so decoding and
// re-encoding a byte string is lossless. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same
// value, as the Windows code-page converter does. Characters that Windows-1252
// cannot represent are encoded as '?' and reported through `lossless`.
// Qt-free, so that the library, the tools and the tests can all use it.
#include <cstdint>
#include <string>
#include <string_view>

namespace Cp1252 {

/// The Unicode code point of one Windows-1252 byte.
char16_t ToUnicode(std::uint8_t byte);

/// The Windows-1252 byte of a code point; false when there is none.
bool FromUnicode(char32_t codePoint, std::uint8_t& byte);

/// Windows-1252 bytes to UTF-16.
std::u16string ToUtf16(std::string_view bytes);

/// UTF-16 to Windows-1252 bytes. Unrepresentable characters (a surrogate pair
/// counts as one character) become '?'; `lossless` is cleared when that happens.
std::string FromUtf16(std::u16string_view text, bool* lossless = nullptr);

/// Windows-1252 bytes to UTF-8.
std::string ToUtf8(std::string_view bytes);

/// UTF-8 to Windows-1252 bytes. Unrepresentable characters and malformed UTF-8
/// sequences become '?'; `lossless` is cleared when that happens.
std::string FromUtf8(std::string_view utf8, bool* lossless = nullptr);

}  // namespace Cp1252
