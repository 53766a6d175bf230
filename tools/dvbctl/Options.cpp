#include "Options.h"

#include <charconv>
#include <string_view>

bool Options::Parse(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a.size() < 3) {
            error_ = "unerwartetes Argument: " + a;
            return false;
        }
        if (i + 1 >= args.size()) {
            error_ = "Wert fehlt nach " + a;
            return false;
        }
        values_[a.substr(2)] = args[++i];
    }
    return true;
}

std::string Options::Text(const std::string& name, const std::string& fallback) const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

namespace {

// Decimal digits, or with `hex` also 0x followed by hexadecimal digits; a
// leading zero is decimal, not octal, and signs or blanks are no number.
std::optional<std::uint32_t> ParseNumber(std::string_view digits, bool hex) {
    int base = 10;
    if (hex && digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    std::uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint32_t> Options::Number(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return ParseNumber(it->second, true);
}

std::optional<std::uint32_t> Options::Decimal(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return ParseNumber(it->second, false);
}

std::vector<std::string> Options::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, value] : values_) names.push_back(name);
    return names;
}
