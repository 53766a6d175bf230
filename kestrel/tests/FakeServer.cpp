#include "FakeServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"

namespace kestrel::test {

using namespace protocol;

FakeServer::FakeServer() : FakeServer(Options{}) {}

FakeServer::FakeServer(Options options) : options_(options), suffix_(InstanceSuffix()) {
    const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
    listen_ = ListenLocal(ServerSocketName(pid, suffix_));
    statusMem_.Create(StatusMemoryName(suffix_), kStatusBlockSize);
    BlockWriter(std::span<std::uint8_t>(statusMem_.data(), kStatusBlockSize))
        .U32(0, options_.window ? options_.window : pid);
    if (options_.createStatusMutex) statusMutex_.Create(StatusMutexName(suffix_));
    thread_ = std::thread([this] { Run(); });
}

FakeServer::~FakeServer() {
    Stop();
    SharedMemory::Unlink(StatusMemoryName(suffix_));
    SharedMemory::Unlink(StatusMutexName(suffix_));
    SharedMemory::Unlink(ParamMemoryName(options_.clientId, suffix_));
    SharedMemory::Unlink(ParamMutexName(options_.clientId, suffix_));
}

void FakeServer::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    std::lock_guard g(lock_);
    for (int fd : clients_) ::close(fd);
    clients_.clear();
    if (listen_ >= 0) ::close(listen_);
    listen_ = -1;
}

void FakeServer::SetHandler(Handler h) {
    std::lock_guard g(lock_);
    handler_ = std::move(h);
}

std::vector<std::uint16_t> FakeServer::codes() const {
    std::lock_guard g(const_cast<std::mutex&>(lock_));
    return codes_;
}

std::span<std::uint8_t> FakeServer::ParamBlock() {
    return {paramMem_.data(), paramMem_.IsMapped() ? kParamBlockSize : 0};
}

void FakeServer::Post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
                      std::uint32_t lParam) {
    Frame f;
    f.kind = FrameKind::Posted;
    f.window = window;
    f.message = message;
    f.wParam = wParam;
    f.lParam = lParam;
    std::lock_guard g(lock_);
    for (int fd : clients_) SendFrame(fd, f);
}

void FakeServer::Run() {
    while (!stop_) {
        std::vector<pollfd> fds{{listen_, POLLIN, 0}};
        {
            std::lock_guard g(lock_);
            for (int fd : clients_) fds.push_back({fd, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), 10) <= 0) continue;
        if (fds[0].revents & POLLIN) {
            const int fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            std::lock_guard g(lock_);
            if (fd >= 0) clients_.push_back(fd);
        }
        for (std::size_t i = 1; i < fds.size(); ++i)
            if (fds[i].revents & (POLLIN | POLLHUP)) Serve(fds[i].fd);
    }
}

void FakeServer::Serve(int fd) {
    Frame f;
    const RecvStatus st = RecvFrame(fd, f, 0);
    if (st == RecvStatus::Closed) {
        std::lock_guard g(lock_);
        std::erase(clients_, fd);
        ::close(fd);
        return;
    }
    if (st == RecvStatus::Ok) Handle(fd, f);
}

bool FakeServer::ClientObjectsMapped() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    int count = 0;
    while (std::getline(maps, line))
        if (line.find("!NVDVBSERVER!") != std::string::npos) ++count;
    // The server's own mappings: status memory, status mutex (if made), the
    // client's parameter memory and mutex. The client maps the same four.
    return count > 4;
}

void FakeServer::Handle(int fd, const Frame& f) {
    if (f.kind == FrameKind::Post) {
        if (f.lParam == static_cast<std::uint32_t>(LinkOp::KeepAlive)) {
            lastKeepAliveClient_ = f.wParam;
            ++keepAlives_;
        }
        return;
    }
    if (f.kind != FrameKind::Send) return;
    Frame r;
    r.kind = FrameKind::Result;
    r.seq = f.seq;
    r.lParam = Answer(f);
    const bool holding = f.lParam == static_cast<std::uint32_t>(LinkOp::Request) &&
                         options_.holdAfterResult.count() > 0;
    if (!options_.answerRequests && f.lParam != static_cast<std::uint32_t>(LinkOp::Connect)) return;
    SendFrame(fd, r);
    if (holding) {
        std::this_thread::sleep_for(options_.holdAfterResult);
        paramMutex_.Unlock();
    }
}

std::uint32_t FakeServer::Answer(const Frame& f) {
    switch (static_cast<LinkOp>(f.lParam)) {
        case LinkOp::Connect:
            ++connects_;
            if (options_.clientId && options_.createParamObjects) {
                paramMutex_.Create(ParamMutexName(options_.clientId, suffix_));
                paramMem_.Create(ParamMemoryName(options_.clientId, suffix_), kParamBlockSize);
            }
            return options_.clientId;
        case LinkOp::Disconnect:
            mappedAtDisconnect_ = ClientObjectsMapped();
            lastDisconnectClient_ = f.wParam;
            ++disconnects_;
            return 0;
        case LinkOp::Request: {
            ++requests_;
            if (paramMutex_.Lock(std::chrono::milliseconds(-1)) != LockResult::Acquired) return 0;
            const auto block = ParamBlock();
            const std::uint16_t code = BlockReader(block).U16(0);
            Handler h;
            {
                std::lock_guard g(lock_);
                codes_.push_back(code);
                h = handler_;
            }
            const std::uint32_t result = h ? h(code, block) : 1;
            if (options_.holdAfterResult.count() == 0) paramMutex_.Unlock();
            return result;
        }
        default:
            break;
    }
    return 0;
}

}  // namespace kestrel::test
