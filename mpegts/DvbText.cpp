#include "DvbText.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "Iso6937.h"

namespace mpegts {
namespace {

using Bytes = std::span<const std::uint8_t>;
constexpr char32_t kReplacement = iso6937::kReplacement;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Every decoded character passes here: the control codes of the one-byte
// tables (0x80-0x9F) and of the two-byte ones (U+E080-U+E09F) become a line
// break or nothing, a 0x00 is dropped.
void Emit(std::string& out, char32_t c) {
    if (c == 0) return;
    const char32_t control = c >= 0xE080 && c <= 0xE09F ? c - 0xE000 : c;
    if (control >= 0x80 && control <= 0x9F) {
        if (control == 0x8A) out += '\n';
        return;
    }
    AppendUtf8(out, c);
}

void DecodeUnknown(Bytes text, std::string& out) {
    for (const std::uint8_t b : text) Emit(out, b < 0x80 ? char32_t(b) : kReplacement);
}

// A mark before a letter composes with it (or is followed by the Unicode
// combining mark when no precomposed letter exists), before a blank it is
// the spacing accent; before anything else, or at the end, it is dropped.
std::size_t DecodeDiacritic(Bytes text, std::size_t at, std::string& out) {
    const std::uint8_t mark = text[at];
    if (at + 1 >= text.size()) return 1;
    const std::uint8_t next = text[at + 1];
    if (const char32_t composed = iso6937::Composed(mark, next)) {
        Emit(out, composed);
    } else if (next == 0x20) {
        Emit(out, iso6937::SpacingMark(mark));
    } else {
        const char32_t base = iso6937::Character(next);
        const bool printable =
            (next > 0x20 && next < 0x7F) || (next >= 0xA0 && base != kReplacement);
        if (!printable || iso6937::IsDiacritic(next)) return 1;
        Emit(out, base);
        Emit(out, iso6937::CombiningMark(mark));
    }
    return 2;
}

void Decode6937(Bytes text, std::string& out) {
    for (std::size_t i = 0; i < text.size();) {
        if (iso6937::IsDiacritic(text[i])) {
            i += DecodeDiacritic(text, i, out);
        } else {
            Emit(out, iso6937::Character(text[i]));
            ++i;
        }
    }
}

// The upper halves (0xA0-0xFF) of ISO 8859-1 to -15, read once from the C
// library's converters; a part it lacks (12 does not exist) is not known.
struct Latin8859 {
    std::array<std::array<char32_t, 96>, 16> upper{};
    std::array<bool, 16> known{};

    Latin8859() {
        for (int part = 1; part <= 15; ++part) Load(part);
    }

    void Load(int part) {
        const std::string name = "ISO-8859-" + std::to_string(part);
        const iconv_t cd = iconv_open("UTF-32BE", name.c_str());
        if (cd == iconv_t(-1)) return;
        known[std::size_t(part)] = true;
        for (int b = 0xA0; b <= 0xFF; ++b) {
            char in = char(b);
            std::array<unsigned char, 8> u{};
            char* inp = &in;
            char* outp = reinterpret_cast<char*>(u.data());
            std::size_t inLeft = 1, outLeft = u.size();
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const bool ok = iconv(cd, &inp, &inLeft, &outp, &outLeft) != std::size_t(-1) &&
                            outLeft == u.size() - 4;
            upper[std::size_t(part)][std::size_t(b - 0xA0)] =
                ok ? char32_t(u[0]) << 24 | char32_t(u[1]) << 16 | char32_t(u[2]) << 8 | u[3]
                   : kReplacement;
        }
        iconv_close(cd);
    }
};

const Latin8859& LatinTables() {
    static const Latin8859 tables;
    return tables;
}

void Decode8859(Bytes text, int part, std::string& out) {
    const Latin8859& tables = LatinTables();
    if (part < 1 || part > 15 || !tables.known[std::size_t(part)]) return DecodeUnknown(text, out);
    for (const std::uint8_t b : text)
        Emit(out, b < 0xA0 ? char32_t(b) : tables.upper[std::size_t(part)][std::size_t(b - 0xA0)]);
}

void DecodeUcs2(Bytes text, std::string& out) {
    std::size_t i = 0;
    for (; i + 1 < text.size(); i += 2) {
        const char32_t c = char32_t(text[i]) << 8 | text[i + 1];
        Emit(out, c >= 0xD800 && c <= 0xDFFF ? kReplacement : c);
    }
    if (i < text.size()) Emit(out, kReplacement);
}

struct Utf8Lead {
    int length;
    char32_t bits;
    std::uint8_t low, high;  // the range of the first continuation byte
};

// The well-formed lead bytes of UTF-8 (Unicode, table 3-7): no overlong
// forms, no surrogates, nothing above U+10FFFF.
Utf8Lead LeadOf(std::uint8_t b) {
    if (b >= 0xC2 && b <= 0xDF) return {2, char32_t(b & 0x1F), 0x80, 0xBF};
    if (b == 0xE0) return {3, char32_t(b & 0x0F), 0xA0, 0xBF};
    if (b == 0xED) return {3, char32_t(b & 0x0F), 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {3, char32_t(b & 0x0F), 0x80, 0xBF};
    if (b == 0xF0) return {4, char32_t(b & 0x07), 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, char32_t(b & 0x07), 0x80, 0xBF};
    if (b == 0xF4) return {4, char32_t(b & 0x07), 0x80, 0x8F};
    return {0, 0, 0, 0};
}

// One U+FFFD for each maximal ill-formed part, as Unicode recommends.
void DecodeUtf8(Bytes text, std::string& out) {
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] < 0x80) {
            Emit(out, text[i++]);
            continue;
        }
        Utf8Lead lead = LeadOf(text[i]);
        if (lead.length == 0) {
            Emit(out, kReplacement);
            ++i;
            continue;
        }
        int k = 1;
        for (; k < lead.length && i + std::size_t(k) < text.size(); ++k) {
            const std::uint8_t c = text[i + std::size_t(k)];
            if (c < lead.low || c > lead.high) break;
            lead.bits = lead.bits << 6 | (c & 0x3F);
            lead.low = 0x80;
            lead.high = 0xBF;
        }
        Emit(out, k == lead.length ? lead.bits : kReplacement);
        i += std::size_t(k);
    }
}

// The two-byte tables of East Asia through the C library: a byte it cannot
// convert gives U+FFFD and the conversion goes on after it. Its UTF-8 then
// passes the same control-code filter as every table.
void DecodeIconv(Bytes text, const char* table, std::string& out) {
    const iconv_t cd = iconv_open("UTF-8", table);
    if (cd == iconv_t(-1)) return DecodeUnknown(text, out);
    std::string utf8;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
    std::size_t inLeft = text.size();
    std::array<char, 256> chunk{};
    while (inLeft > 0) {
        char* o = chunk.data();
        std::size_t outLeft = chunk.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        utf8.append(chunk.data(), chunk.size() - outLeft);
        if (r == std::size_t(-1) && errno != E2BIG) {
            AppendUtf8(utf8, kReplacement);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    DecodeUtf8(Bytes(bytes, utf8.size()), out);
}

void DecodeTable(std::uint8_t selector, Bytes field, std::string& out) {
    const Bytes rest = field.subspan(1);
    if (selector >= 0x01 && selector <= 0x0B && selector != 0x08)
        return Decode8859(rest, selector + 4, out);
    switch (selector) {
        case 0x10: {
            const Bytes text = field.subspan(std::min<std::size_t>(3, field.size()));
            if (field.size() >= 3 && field[1] == 0x00) return Decode8859(text, field[2], out);
            return DecodeUnknown(text, out);
        }
        case 0x11:
            return DecodeUcs2(rest, out);
        case 0x12:
            return DecodeIconv(rest, "EUC-KR", out);
        case 0x13:
            return DecodeIconv(rest, "GB2312", out);
        case 0x14:
            return DecodeIconv(rest, "BIG5", out);
        case 0x15:
            return DecodeUtf8(rest, out);
        case 0x1F:
            return DecodeUnknown(field.subspan(std::min<std::size_t>(2, field.size())), out);
        default:
            return DecodeUnknown(rest, out);
    }
}

}  // namespace

std::string DecodeDvbText(std::span<const std::uint8_t> field) {
    std::string out;
    if (field.empty()) return out;
    if (field[0] >= 0x20)
        Decode6937(field, out);
    else
        DecodeTable(field[0], field, out);
    return out;
}

}  // namespace mpegts
