// The default character table of DVB text fields (ETSI EN 300 468, annex A,
// figure A.1): ISO/IEC 6937 with the euro sign at 0xA4. Bytes 0xC1-0xCF are
// non-spacing diacritical marks that stand before the letter they belong to.
// DvbText.h decodes whole fields; these are the table's look-ups.
#pragma once

#include <cstdint>

namespace mpegts::iso6937 {

constexpr char32_t kReplacement = 0xFFFD;

// True for 0xC1-0xCF, the diacritical marks.
constexpr bool IsDiacritic(std::uint8_t byte) { return byte >= 0xC1 && byte <= 0xCF; }

// The character of a byte that is not a diacritical mark: ASCII below 0x80,
// the C1 control codes 0x80-0x9F as themselves, the upper half by the table;
// kReplacement for a position the table leaves empty.
char32_t Character(std::uint8_t byte);

// The precomposed character of a mark and an ASCII letter (0xC8 'u' -> ü);
// 0 when Unicode has none.
char32_t Composed(std::uint8_t mark, std::uint8_t letter);

// The Unicode combining mark (U+0300...) and the spacing form (a mark before
// a blank) of a diacritical byte.
char32_t CombiningMark(std::uint8_t mark);
char32_t SpacingMark(std::uint8_t mark);

}  // namespace mpegts::iso6937
