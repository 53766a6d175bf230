#include "channellist/Windows1252.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80..0x9F; undefined bytes map to themselves.
constexpr char32_t HighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t CodePointOf(std::uint8_t b) {
    return (b >= 0x80 && b <= 0x9F) ? HighControlRange[b - 0x80] : char32_t(b);
}

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

bool ByteOf(char32_t cp, std::uint8_t& b) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        b = static_cast<std::uint8_t>(cp);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (HighControlRange[i] == cp) {
            b = static_cast<std::uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

/// Decodes one UTF-8 sequence at `pos`; false for malformed input.
bool NextCodePoint(std::string_view s, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<std::uint8_t>(s[pos]);
    int extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1F, extra = 1, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F, extra = 2, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07, extra = 3, min = 0x10000;
    } else {
        return false;
    }
    if (static_cast<std::size_t>(extra) >= s.size() - pos && extra > 0) return false;
    for (int i = 1; i <= extra; ++i) {
        const auto c = static_cast<std::uint8_t>(s[pos + static_cast<std::size_t>(i)]);
        if ((c & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (extra > 0 && cp < min) return false;  // overlong form
    pos += static_cast<std::size_t>(extra) + 1;
    return true;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) AppendUtf8(out, CodePointOf(static_cast<std::uint8_t>(c)));
    return out;
}

std::string Utf8ToWindows1252Lossy(std::string_view text) {
    std::string bytes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        std::uint8_t b = 0;
        if (!NextCodePoint(text, pos, cp)) {
            ++pos;  // a broken sequence: one byte at a time
            b = '?';
        } else if (!ByteOf(cp, b)) {
            b = '?';
        }
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

bool Utf8ToWindows1252(std::string_view text, std::string& bytes) {
    bytes.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        std::uint8_t b = 0;
        if (!NextCodePoint(text, pos, cp) || !ByteOf(cp, b)) return false;
        bytes.push_back(static_cast<char>(b));
    }
    return true;
}
