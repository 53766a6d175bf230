#include "dialogs/Cp1252.h"

#include <array>

namespace Cp1252 {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr std::uint8_t kReplacement = '?';

constexpr std::array<char16_t, 256> MakeToUnicode() {
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = b >= 0x80 && b <= 0x9F ? kHighTable[b - 0x80] : static_cast<char16_t>(b);
    return table;
}
constexpr std::array<char16_t, 256> kToUnicode = MakeToUnicode();

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence starting at `pos`; returns false for a malformed
// one (overlong, surrogate, beyond U+10FFFF, truncated). `pos` always advances.
bool NextUtf8(std::string_view s, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<std::uint8_t>(s[pos++]);
    if (lead < 0x80) {
        cp = lead;
        return true;
    }
    std::size_t extra = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    for (std::size_t i = 0; i < extra; ++i) {
        if (pos >= s.size()) return false;
        const auto b = static_cast<std::uint8_t>(s[pos]);
        if ((b & 0xC0) != 0x80) return false;  // leave the byte for the next round
        cp = (cp << 6) | (b & 0x3F);
        ++pos;
    }
    return cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

void AppendByte(std::string& out, char32_t cp, bool* lossless) {
    std::uint8_t b = 0;
    if (!FromUnicode(cp, b)) {
        b = kReplacement;
        if (lossless) *lossless = false;
    }
    out.push_back(static_cast<char>(b));
}

}  // namespace

char16_t ToUnicode(std::uint8_t byte) { return kToUnicode[byte]; }

bool FromUnicode(char32_t codePoint, std::uint8_t& byte) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        byte = static_cast<std::uint8_t>(codePoint);
        return true;
    }
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == codePoint) {
            byte = static_cast<std::uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::u16string ToUtf16(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = kToUnicode[static_cast<std::uint8_t>(bytes[i])];
    return out;
}

std::string FromUtf16(std::u16string_view text, bool* lossless) {
    if (lossless) *lossless = true;
    std::string out(text.size(), '\0');
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {  // the common case: Latin-1
            out[n++] = static_cast<char>(cp);
            continue;
        }
        const bool high = cp >= 0xD800 && cp <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;  // a pair is one character, never representable
            cp = 0x10000;
        }
        std::uint8_t b = kReplacement;
        if (!FromUnicode(cp, b)) {
            b = kReplacement;
            if (lossless) *lossless = false;
        }
        out[n++] = static_cast<char>(b);
    }
    out.resize(n);
    return out;
}

std::string ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) AppendUtf8(out, ToUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

std::string FromUtf8(std::string_view utf8, bool* lossless) {
    if (lossless) *lossless = true;
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        if (!NextUtf8(utf8, pos, cp)) cp = 0xFFFD;  // never representable
        AppendByte(out, cp, lossless);
    }
    return out;
}

}  // namespace Cp1252
