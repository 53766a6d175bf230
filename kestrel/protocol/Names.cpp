#include "kestrel/protocol/Names.h"

#include <cstdio>
#include <cstdlib>

namespace kestrel::protocol {

std::string InstanceSuffixFor(const std::string& instance) {
    if (instance.empty()) return {};
    std::string out = "@";
    for (char c : instance.substr(0, 32)) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        out.push_back(plain ? c : '_');
    }
    return out;
}

std::string InstanceSuffix() {
    const char* v = std::getenv(kInstanceVariable);
    return InstanceSuffixFor(v ? v : "");
}

std::string ClientIdDigits(std::uint16_t clientId) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(clientId));
    return buf;
}

std::string StatusMutexName(const std::string& suffix) { return kStatusMutexBase + suffix; }
std::string StatusMemoryName(const std::string& suffix) { return kStatusMemoryBase + suffix; }

std::string ParamMutexName(std::uint16_t clientId, const std::string& suffix) {
    return kParamMutexBase + ClientIdDigits(clientId) + suffix;
}

std::string ParamMemoryName(std::uint16_t clientId, const std::string& suffix) {
    return kParamMemoryBase + ClientIdDigits(clientId) + suffix;
}

std::string ServerSocketName(std::uint32_t serverPid, const std::string& suffix) {
    return "nvdvbsrv!" + std::to_string(serverPid) + suffix;
}

}  // namespace kestrel::protocol
