#include "kestrel/protocol/OsdBitmap.h"

#include <arpa/inet.h>

namespace kestrel::protocol::osd {

std::vector<std::uint8_t> BitmapDatagram(std::span<const std::uint8_t> data) {
    const std::size_t length = data.size() + kHeaderBytes;
    std::vector<std::uint8_t> out;
    out.reserve(length);
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    out.push_back(static_cast<std::uint8_t>((length >> 8) & 0xFF));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::optional<std::span<const std::uint8_t>> BitmapDatagramData(
    std::span<const std::uint8_t> datagram) {
    if (datagram.size() < kHeaderBytes) return std::nullopt;
    const std::size_t length = datagram[0] | (std::size_t(datagram[1]) << 8);
    if (length != datagram.size()) return std::nullopt;
    return datagram.subspan(kHeaderBytes);
}

std::optional<std::uint32_t> CardAddress(const std::string& ip, const std::string& mask) {
    in_addr a{}, m{};
    if (inet_pton(AF_INET, ip.c_str(), &a) != 1 || inet_pton(AF_INET, mask.c_str(), &m) != 1)
        return std::nullopt;
    const std::uint32_t address = ntohl(a.s_addr) | ~ntohl(m.s_addr);
    if ((address >> 24) != 127) return std::nullopt;
    return address;
}

}  // namespace kestrel::protocol::osd
