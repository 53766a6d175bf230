#include "channellist/dialogs/FieldRules.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

namespace FieldRules {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

std::size_t SkipSpace(std::string_view s, std::size_t pos) {
    while (pos < s.size() && IsSpace(s[pos])) ++pos;
    return pos;
}

// Reads an optionally signed number of `base` from s[pos, end); wraps modulo
// 2^32 like a C conversion into an unsigned field. nullopt without digits.
std::optional<std::uint32_t> ReadNumber(std::string_view s, std::size_t pos, std::size_t end,
                                        int base) {
    bool negative = false;
    if (pos < end && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    // A "0x" prefix counts only when a hex digit follows it within the field.
    if (base == 16 && pos + 2 < end && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X') &&
        DigitValue(s[pos + 2], 16) >= 0)
        pos += 2;
    std::uint32_t value = 0;
    bool any = false;
    for (; pos < end && DigitValue(s[pos], base) >= 0; ++pos) {
        value = value * static_cast<std::uint32_t>(base) +
                static_cast<std::uint32_t>(DigitValue(s[pos], base));
        any = true;
    }
    if (!any) return std::nullopt;
    return negative ? 0u - value : value;
}

constexpr std::array<LofEntry, 8> kLowLof = {{{"5150", 5150000},
                                              {"9600", 9600000},
                                              {"9750", 9750000},
                                              {"10500", 10500000},
                                              {"10600", 10600000},
                                              {"10750", 10750000},
                                              {"11125", 11125000},
                                              {"11475", 11475000}}};
constexpr std::array<LofEntry, 7> kHighLof = {{{"9600", 9600000},
                                               {"9750", 9750000},
                                               {"10500", 10500000},
                                               {"10600", 10600000},
                                               {"10750", 10750000},
                                               {"11125", 11125000},
                                               {"11475", 11475000}}};

}  // namespace

std::string FormatId(std::uint16_t value, bool hex) {
    char buf[8];
    std::snprintf(buf, sizeof buf, hex ? "%04X" : "%d", static_cast<unsigned>(value));
    return buf;
}

std::uint16_t ParseId(std::string_view text, bool hex) {
    const std::size_t start = SkipSpace(text, 0);
    // "%04X" reads at most four characters; "%d" reads as far as the digits go.
    const std::size_t end = hex ? std::min(text.size(), start + 4) : text.size();
    const auto n = ReadNumber(text, start, end, hex ? 16 : 10);
    return static_cast<std::uint16_t>(n.value_or(0) & 0xFFFFu);
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    std::size_t pos = SkipSpace(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::int64_t value = 0;
    bool any = false;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
        any = true;
    }
    if (!any || SkipSpace(text, pos) != text.size()) return std::nullopt;
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string FormatMHz(std::int32_t kHz) { return std::to_string(kHz / 1000); }

std::optional<std::int32_t> ParseMHz(std::string_view text) {
    const auto mhz = ParseWholeNumber(text);
    if (!mhz) return std::nullopt;
    const std::int64_t kHz = std::int64_t{*mhz} * 1000;
    if (kHz > std::numeric_limits<std::int32_t>::max() ||
        kHz < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(kHz);
}

int ComboIndex(std::int64_t value, int count) {
    return value >= 0 && value < count ? static_cast<int>(value) : -1;
}

std::span<const LofEntry> LowBandLofEntries() { return kLowLof; }
std::span<const LofEntry> HighBandLofEntries() { return kHighLof; }

int LofIndex(std::span<const LofEntry> entries, std::int32_t kHz) {
    const std::string prefix = std::to_string(kHz / 1000);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (std::string_view(entries[i].text).starts_with(prefix)) return static_cast<int>(i);
    }
    return -1;
}

int KindIndex(std::uint32_t programType) { return static_cast<int>(programType & 3u) - 1; }

int EncryptedIndex(std::uint32_t programType) { return (programType & 0x10000u) ? 1 : 0; }

std::uint32_t ApplyKind(std::uint32_t programType, int kindIndex, int encryptedIndex) {
    if (kindIndex >= 0 && kindIndex <= 2)
        programType = (programType & ~3u) | static_cast<std::uint32_t>(kindIndex + 1);
    if (encryptedIndex == 0) programType &= ~0x10000u;
    if (encryptedIndex == 1) programType |= 0x10000u;
    return programType;
}

}  // namespace FieldRules
