#include "ci/CiMenu.h"

#include <algorithm>
#include <cstdio>

#include "channellist/Windows1252.h"

namespace CiMenu {
namespace {

constexpr std::size_t kHeaderBytes = 3;
constexpr std::size_t kMinimumText = 4;
constexpr int kKeyBytes = 10;

// The complete (zero-terminated) strings after the header, 0x86/0x87 dropped.
std::vector<std::string> Strings(std::span<const std::uint8_t> message) {
    std::vector<std::string> out;
    std::string current;
    for (std::size_t i = kHeaderBytes; i < message.size(); ++i) {
        const std::uint8_t b = message[i];
        if (b == 0) {
            out.push_back(Windows1252ToUtf8(current));
            current.clear();
        } else if (b != 0x86 && b != 0x87) {
            current.push_back(static_cast<char>(b));
        }
    }
    return out;
}

}  // namespace

std::optional<std::vector<CiMenuRow>> Rows(std::span<const std::uint8_t> message) {
    if (message.size() < kMinimumText) return std::nullopt;
    const std::vector<std::string> strings = Strings(message);
    std::vector<CiMenuRow> rows;
    for (std::size_t i = 0; i < strings.size() && i < 2; ++i) {
        rows.push_back({strings[i], 0});  // title, subtitle
        rows.push_back({"", 0});
    }
    for (std::size_t i = 3; i < strings.size(); ++i) {
        const int number = static_cast<int>(i - 2);
        rows.push_back({std::to_string(number) + ". " + strings[i], number});
    }
    if (strings.size() >= 3) {
        rows.push_back({"", 0});
        rows.push_back({strings[2], 0});  // the bottom text
    }
    return rows;
}

std::optional<std::uint8_t> KeyForRow(const std::vector<CiMenuRow>& rows, int row) {
    if (row <= 0 || row >= static_cast<int>(rows.size())) return std::nullopt;
    return static_cast<std::uint8_t>(rows[static_cast<std::size_t>(row)].data);
}

std::vector<std::uint8_t> AnswerKeys(std::string_view typed, int answerLength) {
    std::vector<std::uint8_t> keys;
    for (std::size_t i = 0; i < typed.size() && static_cast<int>(i) < answerLength; ++i)
        keys.push_back(static_cast<std::uint8_t>(typed[i] - '0'));
    return keys;
}

std::optional<std::vector<std::uint8_t>> KeyInputKeys(const std::string& typed, int answerLength) {
    unsigned int v[kKeyBytes] = {};
    const int found = std::sscanf(typed.c_str(), "%x %x %x %x %x %x %x %x %x %x", &v[0], &v[1],
                                  &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9]);
    if (found < kKeyBytes) return std::nullopt;
    std::string digits;
    char three[8];
    for (const unsigned int value : v) {
        std::snprintf(three, sizeof three, "%03d", static_cast<int>(value & 0xFF));
        digits += three;
    }
    const auto count = static_cast<std::size_t>(std::clamp(answerLength, 0, 3 * kKeyBytes));
    std::vector<std::uint8_t> keys;
    for (std::size_t i = 0; i < count; ++i)
        keys.push_back(static_cast<std::uint8_t>(digits[i] - '0'));
    return keys;
}

}  // namespace CiMenu
