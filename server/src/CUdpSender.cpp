#include "CUdpSender.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nvdvbsrv {

CUdpSender::CUdpSender(const std::string& ip, uint16_t basePort) : basePort_(basePort) {
    in_addr a{};
    if (inet_pton(AF_INET, ip.c_str(), &a) != 1) return;
    if ((ntohl(a.s_addr) >> 24) != 127) return;  // loopback only
    address_ = a.s_addr;
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

CUdpSender::~CUdpSender() {
    if (fd_ >= 0) close(fd_);
}

void CUdpSender::Send(uint16_t portOffset, std::span<const uint8_t> data) {
    if (fd_ < 0) return;
    const uint32_t port = uint32_t(basePort_) + portOffset;
    if (port > 0xFFFF) return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(uint16_t(port));
    to.sin_addr.s_addr = address_;
    // Nobody listening is normal for a datagram card; the result is not needed.
    if (sendto(fd_, data.data(), data.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&to),
               sizeof to) >= 0) {
        sent_++;
    }
}

}  // namespace nvdvbsrv
