#include "COsdReceiver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "COsd.h"

namespace nvdvbsrv {

COsdReceiver::COsdReceiver(COsd& osd, uint32_t address, uint16_t port) : osd_(osd) {
    if ((address >> 24) != 127) {
        error_ = "keine Loopback-Adresse";
        return;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    sa.sin_port = htons(port);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        error_ = std::strerror(errno);
        if (fd >= 0) close(fd);
        return;
    }
    fd_ = fd;
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
}

COsdReceiver::~COsdReceiver() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        if (write(stopFd_, &one, sizeof one) != sizeof one) thread_.detach();
        if (thread_.joinable()) thread_.join();
    }
    if (fd_ >= 0) close(fd_);
    if (stopFd_ >= 0) close(stopFd_);
}

void COsdReceiver::Run() {
    std::vector<uint8_t> buffer(65536);
    pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    while (poll(fds, 2, -1) >= 0 || errno == EINTR) {
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = recvfrom(fd_, buffer.data(), buffer.size(), MSG_TRUNC,
                                   reinterpret_cast<sockaddr*>(&from), &fromLength);
        // A datagram cut by the buffer, or from outside loopback, is not the library's.
        const bool local = fromLength >= sizeof from && (ntohl(from.sin_addr.s_addr) >> 24) == 127;
        if (n > 0 && size_t(n) <= buffer.size() && local)
            osd_.BitmapDatagram(std::span<const uint8_t>(buffer.data(), size_t(n)));
    }
}

}  // namespace nvdvbsrv
