// kregistry: dumps and edits the key store that the client library and the
// server read (the file named by KESTREL_REGISTRY, or the default).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "kestrel/CRegistry.h"
#include "kestrel/RegistryTree.h"

using kestrel::CRegistry;
using kestrel::RegType;
using kestrel::RegValue;

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: kregistry [--file PATH] COMMAND\n"
        "  dump [KEY]                         keys and values below KEY (default: all)\n"
        "  tree [KEY]                         the same as an indented tree: KEY, then each\n"
        "                                     key's values and subkeys two blanks further in\n"
        "                                     (\"text\", numbers decimal and hex, bytes in hex)\n"
        "  get KEY NAME                       print one value\n"
        "  set KEY NAME string|dword|binary VALUE\n"
        "                                     dword: decimal or 0x hex; binary: hex bytes\n"
        "  delete KEY [NAME]                  remove a value, or the key with its subtree\n"
        "Keys are backslash-separated, e.g. \"SOFTWARE\\Norvane\\DVBSERVER\\Settings\".\n");
    return 2;
}

std::string Hex(const std::vector<std::uint8_t>& d) {
    std::string s;
    char b[4];
    for (auto v : d) {
        std::snprintf(b, sizeof b, "%02x", v);
        s += b;
    }
    return s;
}

std::string Show(const RegValue& v) {
    switch (v.type) {
        case RegType::String:
            return "string:" + std::string(v.data.begin(), v.data.end());
        case RegType::Dword:
            if (v.data.size() == 4) {
                const std::uint32_t d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                                        (static_cast<std::uint32_t>(v.data[3]) << 24);
                return "dword:" + std::to_string(d);
            }
            break;
        case RegType::Binary:
            return "binary:" + Hex(v.data);
    }
    return "unknown:" + Hex(v.data);
}

void Dump(CRegistry& reg, const std::string& key) {
    if (!key.empty()) std::printf("[%s]\n", key.c_str());
    for (const auto& v : reg.Values(key))
        std::printf("  %s = %s\n", v.name.c_str(), Show(v).c_str());
    for (const auto& sub : reg.SubKeys(key)) Dump(reg, key.empty() ? sub : key + "\\" + sub);
}

bool ParseHex(const std::string& s, std::vector<std::uint8_t>& out) {
    if (s.size() % 2) return false;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        char* end = nullptr;
        const std::string byte = s.substr(i, 2);
        const long v = std::strtol(byte.c_str(), &end, 16);
        if (*end) return false;
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return true;
}

int Set(CRegistry& reg, const std::vector<std::string>& a) {
    if (a.size() != 5) return Usage();
    const std::string& type = a[3];
    bool ok = false;
    if (type == "string") {
        ok = reg.WriteString(a[1], a[2], a[4]);
    } else if (type == "dword") {
        char* end = nullptr;
        const unsigned long v = std::strtoul(a[4].c_str(), &end, 0);
        if (*end || v > 0xFFFFFFFFul) return Usage();
        ok = reg.WriteDword(a[1], a[2], static_cast<std::uint32_t>(v));
    } else if (type == "binary") {
        std::vector<std::uint8_t> d;
        if (!ParseHex(a[4], d)) return Usage();
        ok = reg.WriteBinary(a[1], a[2], d);
    } else {
        return Usage();
    }
    if (!ok) std::fprintf(stderr, "kregistry: cannot write the value\n");
    return ok ? 0 : 1;
}

int Run(CRegistry& reg, const std::vector<std::string>& a) {
    const std::string& cmd = a[0];
    if (cmd == "dump" && a.size() <= 2) {
        Dump(reg, a.size() == 2 ? a[1] : "");
        return 0;
    }
    if (cmd == "tree" && a.size() <= 2) {
        const std::string key = a.size() == 2 ? a[1] : "";
        if (!key.empty() && !reg.KeyExists(key)) {
            std::fprintf(stderr, "kregistry: no such key\n");
            return 1;
        }
        std::fputs(kestrel::FormatRegistryTree(reg, key).c_str(), stdout);
        return 0;
    }
    if (cmd == "get" && a.size() == 3) {
        const auto v = reg.ReadValue(a[1], a[2]);
        if (!v) {
            std::fprintf(stderr, "kregistry: no such value\n");
            return 1;
        }
        std::printf("%s\n", Show(*v).c_str());
        return 0;
    }
    if (cmd == "set") return Set(reg, a);
    if (cmd == "delete" && (a.size() == 2 || a.size() == 3)) {
        const bool ok = a.size() == 3 ? reg.DeleteValue(a[1], a[2]) : reg.DeleteKey(a[1]);
        if (!ok) std::fprintf(stderr, "kregistry: nothing deleted\n");
        return ok ? 0 : 1;
    }
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string file = CRegistry::DefaultPath();
    if (args.size() >= 2 && args[0] == "--file") {
        file = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return Usage();
    CRegistry reg;
    const bool writes = args[0] == "set" || args[0] == "delete";
    if (!reg.Open(file, writes)) {
        std::fprintf(stderr, "kregistry: cannot open %s\n", file.c_str());
        return 1;
    }
    return Run(reg, args);
}
