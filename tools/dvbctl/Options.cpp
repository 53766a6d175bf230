#include "Options.h"

#include <cerrno>
#include <cstdlib>

bool Options::Parse(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a.size() < 3) {
            error_ = "unexpected argument: " + a;
            return false;
        }
        if (i + 1 >= args.size()) {
            error_ = "missing value for " + a;
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

std::optional<std::uint32_t> Options::Number(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end() || it->second.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(it->second.c_str(), &end, 0);
    if (*end || errno || v > 0xFFFFFFFFull || it->second[0] == '-') return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

std::vector<std::string> Options::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, value] : values_) names.push_back(name);
    return names;
}
