#include "CPlaybackInputs.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "kestrel/protocol/RecorderDatagram.h"

namespace nvdvbsrv {

namespace recorder = kestrel::protocol::recorder;

CFileInput::CFileInput(const std::string& path) {
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ >= 0 && (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(fd_);
        fd_ = -1;
    }
    if (fd_ >= 0) size_ = uint64_t(st.st_size);
}

CFileInput::~CFileInput() {
    if (fd_ >= 0) close(fd_);
}

IPlaybackInput::Status CFileInput::Read(std::vector<uint8_t>& out, std::chrono::milliseconds) {
    out.resize(kChunk);
    ssize_t n;
    do {
        n = read(fd_, out.data(), out.size());
    } while (n < 0 && errno == EINTR);
    out.resize(n > 0 ? std::size_t(n) : 0);
    return n > 0 ? Status::Data : Status::End;
}

bool CFileInput::Seek(double share) {
    const double at = std::clamp(share, 0.0, 1.0) * double(size_);
    return lseek(fd_, off_t(at), SEEK_SET) >= 0;
}

CDatagramInput::CDatagramInput(uint32_t address, uint16_t port) {
    if ((address >> 24) != 127) {
        error_ = "keine Loopback-Adresse";
        return;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    sa.sin_port = htons(port);
    // Room for a few seconds of a recording that a sender pushes faster
    // than it plays.
    const int buffer = 4 * 1024 * 1024;
    if (fd >= 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        error_ = std::strerror(errno);
        if (fd >= 0) close(fd);
        return;
    }
    fd_ = fd;
}

CDatagramInput::~CDatagramInput() {
    if (fd_ >= 0) close(fd_);
}

IPlaybackInput::Status CDatagramInput::Read(std::vector<uint8_t>& out,
                                            std::chrono::milliseconds wait) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, int(wait.count())) <= 0 || !(p.revents & POLLIN)) return Status::Idle;
    std::vector<uint8_t> datagram(recorder::kDatagramBytes + 1);
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = recvfrom(fd_, datagram.data(), datagram.size(), MSG_TRUNC,
                               reinterpret_cast<sockaddr*>(&from), &fromLength);
    // Too long, or from outside loopback: not the program's.
    const bool local = fromLength >= sizeof from && (ntohl(from.sin_addr.s_addr) >> 24) == 127;
    if (n <= 0 || std::size_t(n) > recorder::kDatagramBytes || !local) return Status::Idle;
    const auto payload =
        recorder::PlaybackPayload(std::span<const uint8_t>(datagram.data(), std::size_t(n)));
    if (!payload) return Status::Idle;
    out.assign(payload->begin(), payload->end());
    return Status::Data;
}

}  // namespace nvdvbsrv
