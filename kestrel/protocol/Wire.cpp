#include "kestrel/protocol/Wire.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "kestrel/protocol/BlockIO.h"

namespace kestrel::protocol {

std::array<std::uint8_t, kFrameSize> EncodeFrame(const Frame& f) {
    std::array<std::uint8_t, kFrameSize> b{};
    BlockWriter w(b);
    w.U32(0, kFrameMagic);
    w.U16(4, static_cast<std::uint16_t>(f.kind));
    w.U16(6, kWireVersion);
    w.U32(8, f.seq);
    w.U32(12, f.window);
    w.U32(16, f.message);
    w.U32(20, f.wParam);
    w.U32(24, f.lParam);
    return b;
}

std::optional<Frame> DecodeFrame(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kFrameSize) return std::nullopt;
    BlockReader r(bytes);
    if (r.U32(0) != kFrameMagic || r.U16(6) != kWireVersion) return std::nullopt;
    const std::uint16_t kind = r.U16(4);
    if (kind < 1 || kind > 4) return std::nullopt;
    Frame f;
    f.kind = static_cast<FrameKind>(kind);
    f.seq = r.U32(8);
    f.window = r.U32(12);
    f.message = r.U32(16);
    f.wParam = r.U32(20);
    f.lParam = r.U32(24);
    return f;
}

namespace {
socklen_t AbstractAddress(const std::string& name, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    const std::size_t n = std::min(name.size(), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, name.data(), n);  // sun_path[0] = 0: abstract
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}
}  // namespace

int ListenLocal(const std::string& name) {
    const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_un addr;
    const socklen_t len = AbstractAddress(name, addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(fd, 16) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int ConnectLocal(const std::string& name) {
    const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_un addr;
    const socklen_t len = AbstractAddress(name, addr);
    int rc;
    do {
        rc = connect(fd, reinterpret_cast<sockaddr*>(&addr), len);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool PeerIsThisUser(int fd, bool allowRoot) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred)
        return false;
    return cred.uid == geteuid() || (allowRoot && cred.uid == 0);
}

bool SendFrame(int fd, const Frame& f) {
    const auto b = EncodeFrame(f);
    ssize_t n;
    do {
        n = ::send(fd, b.data(), b.size(), MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(b.size());
}

SendStatus TrySendFrame(int fd, const Frame& f) {
    const auto b = EncodeFrame(f);
    ssize_t n;
    do {
        n = ::send(fd, b.data(), b.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(b.size())) return SendStatus::Sent;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return SendStatus::Full;
    return SendStatus::Failed;
}

RecvStatus RecvFrame(int fd, Frame& out, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&p, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    if (rc == 0) return RecvStatus::Timeout;
    if (rc < 0) return RecvStatus::Closed;
    // One byte more than a frame, so that an oversized record is noticed.
    std::uint8_t buf[kFrameSize + 1];
    ssize_t n;
    do {
        n = ::recv(fd, buf, sizeof buf, 0);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return RecvStatus::Closed;
    const auto f = DecodeFrame(std::span<const std::uint8_t>(buf, static_cast<std::size_t>(n)));
    if (!f) return RecvStatus::Garbage;
    out = *f;
    return RecvStatus::Ok;
}

}  // namespace kestrel::protocol
