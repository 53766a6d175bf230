#include "recording/CRecorderSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>

#include "kestrel/protocol/OsdBitmap.h"
#include "receiver/IDeviceSet.h"

namespace {

constexpr std::uint32_t kLoopbackNet = 127;

sockaddr_in Address(std::uint32_t host, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(host);
    a.sin_port = htons(port);
    return a;
}

bool Wait(int fd, short events, std::chrono::milliseconds wait) {
    pollfd p{fd, events, 0};
    return poll(&p, 1, int(wait.count())) == 1 && (p.revents & events) != 0;
}

}  // namespace

std::optional<RecorderEndpoints> RecorderEndpointsOf(const std::string& ip, const std::string& mask,
                                                     const std::string& basePort,
                                                     std::uint16_t portOffset) {
    in_addr local{};
    unsigned base = 0;
    const char* end = basePort.data() + basePort.size();
    const auto parsed = std::from_chars(basePort.data(), end, base);
    if (inet_pton(AF_INET, ip.c_str(), &local) != 1 || parsed.ec != std::errc() ||
        parsed.ptr != end || basePort.empty())
        return std::nullopt;
    // The same address the card's on-screen display bitmaps go to.
    const auto destination = kestrel::protocol::osd::CardAddress(ip, mask);
    const unsigned port = base + portOffset;
    if (!destination || (ntohl(local.s_addr) >> 24) != kLoopbackNet || port == 0 || port > 0xFFFF)
        return std::nullopt;
    return RecorderEndpoints{ntohl(local.s_addr), *destination, std::uint16_t(port)};
}

bool CRecorderSocket::Open(IDeviceSet& devices, std::uint16_t portOffset) {
    std::string ip, port, maskIp, mask;
    int check = -1;
    if (!devices.GetIPandPort(ip, port)) return false;
    const CardResult r = devices.GetIP(maskIp, mask, check);
    if (!r.Ok() || (check != 0 && check != 6)) return false;
    const auto endpoints = RecorderEndpointsOf(ip, mask, port, portOffset);
    return endpoints && Open(*endpoints);
}

bool CRecorderSocket::Open(const RecorderEndpoints& endpoints) {
    Close();
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const int buffer = kBufferBytes, receiveBuffer = kReceiveBufferBytes, on = 1;
    timeval timeout{};
    timeout.tv_usec =
        suseconds_t(std::chrono::duration_cast<std::chrono::microseconds>(kSendTimeout).count());
    const sockaddr_in self = Address(endpoints.local, endpoints.port);
    if (setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_DONTROUTE, &on, sizeof on) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout) != 0 ||
        bind(fd, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    endpoints_ = endpoints;
    return true;
}

void CRecorderSocket::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::size_t CRecorderSocket::Receive(std::span<std::uint8_t> buffer,
                                     std::chrono::milliseconds wait) {
    if (fd_ < 0 || !Wait(fd_, POLLIN, wait)) return 0;
    const ssize_t n = recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
    return n > 0 ? std::size_t(n) : 0;
}

bool CRecorderSocket::Send(std::span<const std::uint8_t> datagram, std::chrono::milliseconds wait) {
    if (fd_ < 0 || !Wait(fd_, POLLOUT, wait)) return false;
    const sockaddr_in to = Address(endpoints_.destination, endpoints_.port);
    const ssize_t n = sendto(fd_, datagram.data(), datagram.size(), 0,
                             reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return n == ssize_t(datagram.size());
}
