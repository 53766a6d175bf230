#pragma once
#include <string>
#include <string_view>

/// Conversion between the 8-bit Windows-1252 bytes that channel lists hold and
/// UTF-8 text. Every byte has its own character: the five bytes that
/// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
/// control characters of the same value, so that bytes -> text -> bytes gives
/// the original bytes back.
std::string Windows1252ToUtf8(std::string_view bytes);

/// The inverse of Windows1252ToUtf8. Returns false when `text` is not valid
/// UTF-8 or holds a character that has no Windows-1252 byte; `bytes` then
/// holds what was converted before it.
bool Utf8ToWindows1252(std::string_view text, std::string& bytes);

/// The same for text that must go into the code page whatever it holds: a
/// character without a byte, and each byte of a broken sequence, becomes '?'.
std::string Utf8ToWindows1252Lossy(std::string_view text);
