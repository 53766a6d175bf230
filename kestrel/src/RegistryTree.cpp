#include "kestrel/RegistryTree.h"

#include <cstdio>

namespace kestrel {

namespace {

void AppendKey(CRegistry& store, const std::string& key, int depth, std::string& out) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (const auto& v : store.Values(key))
        out += indent + "  " + v.name + " = " + FormatRegistryValue(v) + "\n";
    for (const auto& sub : store.SubKeys(key)) {
        out += indent + "  " + sub + "\n";
        AppendKey(store, key.empty() ? sub : key + "\\" + sub, depth + 1, out);
    }
}

}  // namespace

std::string FormatRegistryValue(const RegValue& value) {
    const auto& d = value.data;
    char buf[48];
    if (value.type == RegType::String) return "\"" + std::string(d.begin(), d.end()) + "\"";
    if (value.type == RegType::Dword && d.size() == 4) {
        const std::uint32_t v =
            d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24);
        std::snprintf(buf, sizeof buf, "%u (0x%X)", v, v);
        return buf;
    }
    std::string hex = value.type == RegType::Binary
                          ? ""
                          : "(type " + std::to_string(static_cast<int>(value.type)) + ")";
    for (const auto b : d) {
        std::snprintf(buf, sizeof buf, "%s%02x", hex.empty() ? "" : " ", b);
        hex += buf;
    }
    return hex.empty() ? "(empty)" : hex;
}

std::string FormatRegistryTree(CRegistry& store, const std::string& key) {
    std::string out = (key.empty() ? std::string("\\") : key) + "\n";
    AppendKey(store, key, 0, out);
    return out;
}

}  // namespace kestrel
