#include "kestrel/CDVBWinSock.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "Proxy.h"
#include "kestrel/IDispatcher.h"
#include "kestrel/protocol/BoardCodecs.h"

using namespace kestrel;
using namespace kestrel::detail;

CDVBWinSock::~CDVBWinSock() { SClose(); }

bool CDVBWinSock::GetIPandPort(std::string& address, std::string& port) {
    address.clear();
    port.clear();
    std::uint32_t check = 0;
    std::string ip;
    std::uint16_t udpPort = 0;
    const ErrReturn r = Transact(Request(Command::Board_GetIP), [&](BlockReader& b) {
        auto q = protocol::IpConfigReply::Decode(b);
        if (!q) return;
        check = static_cast<std::uint32_t>(q->check);
        ip = std::move(q->ip);
        udpPort = q->udpPort;
    });
    if (r != CCommonDVB::RET_OK || (check != 0 && check != 6)) return false;
    address = ip;
    port = std::to_string(udpPort);
    return true;
}

int CDVBWinSock::SOpen(int portOffset, int* error) {
    int dummy = 0;
    int& err = error ? *error : dummy;
    if (IsOpen()) {
        err = -1;
        return 0;
    }
    portOffset_ = portOffset;
    if (!GetIPandPort(addressText_, portText_)) {
        err = -2;
        portOffset_ = -1;
        return 0;
    }
    basePort_ = std::atoi(portText_.c_str());
    in_addr a{};
    const int port = basePort_ + portOffset;
    int e = 0;
    if (inet_pton(AF_INET, addressText_.c_str(), &a) != 1 || port <= 0 || port > 65535)
        e = EINVAL;
    else if ((ntohl(a.s_addr) >> 24) != 127)
        e = EADDRNOTAVAIL;  // this port receives on loopback only
    address_ = a.s_addr;
    int fd = -1;
    if (!e) {
        fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) e = errno;
    }
    if (!e) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr = a;
        sa.sin_port = htons(static_cast<std::uint16_t>(port));
        if (bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) e = errno;
    }
    if (e) {
        if (fd >= 0) ::close(fd);
        err = e;
        portOffset_ = -1;
        return 0;
    }
    fd_ = fd;
    watch_ = Dispatcher().WatchReadable(fd_, [this] { OnReceive(0); });
    err = 0;
    return 1;
}

void CDVBWinSock::SClose() {
    if (watch_) Dispatcher().Unwatch(watch_);
    watch_ = 0;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    portOffset_ = -1;
}

void CDVBWinSock::OnReceive(int error) {
    if (error != 0 || fd_ < 0) return;
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    // MSG_TRUNC: the datagram's whole length, so that one longer than the
    // buffer is noticed instead of delivered cut.
    const ssize_t n = ::recvfrom(fd_, buffer_, sizeof buffer_, MSG_TRUNC,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n < 0) return;
    const bool fromCard = fromLength >= sizeof from && from.sin_family == AF_INET &&
                          (ntohl(from.sin_addr.s_addr) >> 24) == 127;
    if (n == 0 || n > static_cast<ssize_t>(sizeof buffer_) || !fromCard) {
        ++dropped_;
        return;
    }
    OnDataArrival(buffer_, static_cast<int>(n));
}

void CDVBWinSock::OnDataArrival(std::uint8_t*, int) {}
