#include "CServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <iostream>
#include <set>
#include <vector>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"

namespace nvdvbsrv {

namespace kp = kestrel::protocol;

namespace {
// The server waits this long for a client's parameter mutex before it gives up
// on a request. A client holds it only while it writes or reads its block,
// never while its request is under way, so the wait is short: a client that
// keeps it locked must not hold up the others.
constexpr std::chrono::milliseconds kBlockWait{10};
}  // namespace

CServer::CServer(ICard& card, Options options)
    : card_(card), options_(std::move(options)), handler_(card) {}

CServer::~CServer() { Shutdown(); }

bool CServer::Start(std::string& error) {
    // One server per instance: a second one ends quietly, without touching
    // the first one's objects; objects found without the lock are stale.
    switch (lock_.Take(options_.suffix, error)) {
        case CInstanceLock::Result::Taken:
            break;
        case CInstanceLock::Result::Held:
            error = "Ein Server dieser Instanz läuft bereits";
            alreadyRunning_ = true;
            return false;
        case CInstanceLock::Result::Failed:
            return false;
    }
    // The order clients rely on: the status memory with the process id, the
    // socket listening, and the status mutex last, since a client waits for
    // the mutex first and then reads the id and connects at once. A mutex
    // left by a server that died goes first, so that no client takes it for
    // this one's while the rest is not there yet.
    kp::SharedMemory::Unlink(kp::StatusMutexName(options_.suffix));
    const uint32_t pid = uint32_t(getpid());
    if (!status_.Create(kp::StatusMemoryName(options_.suffix), kp::kStatusBlockSize)) {
        error = "Statusspeicher kann nicht angelegt werden";
        return false;
    }
    kp::BlockWriter(std::span<uint8_t>(status_.data(), status_.size()))
        .U32(kp::kStatusServerWindowOffset, pid);
    listenFd_ = kp::ListenLocal(kp::ServerSocketName(pid, options_.suffix));
    if (listenFd_ < 0) {
        error = "Lokaler Socket kann nicht geöffnet werden";
        return false;
    }
    if (!statusMutex_.Create(kp::StatusMutexName(options_.suffix))) {
        error = "Status-Mutex kann nicht angelegt werden";
        return false;
    }
    return true;
}

void CServer::Shutdown() {
    sessions_.clear();  // unlinks every client's objects
    if (listenFd_ >= 0) close(listenFd_);
    listenFd_ = -1;
    if (status_.IsOpen()) {
        status_.Close();
        kp::SharedMemory::Unlink(kp::StatusMemoryName(options_.suffix));
    }
    if (statusMutex_.IsOpen()) {
        statusMutex_.Close();
        kp::SharedMemory::Unlink(kp::StatusMutexName(options_.suffix));
    }
    lock_.Release();
}

void CServer::Run(int stopFd) {
    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({stopFd, POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        fds.push_back({card_.Posts().Fd(), POLLIN, 0});
        for (const auto& [fd, s] : sessions_)
            fds.push_back({fd, short(POLLIN | (s->Waiting() ? POLLOUT : 0)), 0});
        int rc = poll(fds.data(), fds.size(), 200);
        if (rc < 0 && errno != EINTR) break;
        if (fds[0].revents) break;
        if (fds[1].revents & POLLIN) Accept();
        if (fds[2].revents & POLLIN) DeliverPosts();
        // One frame of each client per round, so that none can crowd out another.
        for (size_t i = 3; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            auto it = sessions_.find(fds[i].fd);
            if (it == sessions_.end()) continue;
            CClientSession& session = *it->second;
            const bool ok = (!(fds[i].revents & POLLOUT) || session.Flush()) &&
                            (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)) || Serve(session));
            if (!ok) Drop(fds[i].fd);
        }
        card_.Tick();
        DropStalled();
        CheckKeepAlive();
        if (IdleLongEnough()) break;
    }
    Shutdown();
}

void CServer::Accept() {
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    // The socket's name is open to every user: serve only this one (and root).
    if (!kp::PeerIsThisUser(fd, true)) {
        std::cerr << "nvdvbsrv: Verbindung eines anderen Benutzers abgewiesen\n";
        close(fd);
        return;
    }
    if (sessions_.size() >= options_.maxClients) {
        close(fd);
        return;
    }
    sessions_.emplace(fd, std::make_unique<CClientSession>(fd));
}

bool CServer::Serve(CClientSession& session) {
    kp::Frame frame;
    const kp::RecvStatus st = kp::RecvFrame(session.Fd(), frame, 0);
    if (st == kp::RecvStatus::Timeout) return true;
    if (st != kp::RecvStatus::Ok) return false;  // closed, or not our protocol
    session.Alive();
    session.stale = false;  // it talks again: its keep-alive time runs anew
    if (frame.kind != kp::FrameKind::Send && frame.kind != kp::FrameKind::Post) return false;
    uint32_t result = 0;
    if (frame.message == kInjectKeyMessage) {
        result = frame.wParam <= 0x3F && card_.PressKey(uint8_t(frame.wParam)) ? 1 : 0;
    } else if (frame.message == kCamMessage) {
        const bool insert = (frame.wParam & kCamInsertFlag) != 0;
        const uint32_t slot = frame.wParam & ~kCamInsertFlag;
        result = slot <= 2 && card_.ChangeModule(uint8_t(slot), insert) ? 1 : 0;
    } else if (frame.message != kp::kDvbClientMessage) {
        return false;
    } else if (frame.lParam == uint32_t(kp::LinkOp::Connect)) {
        result = Connect(session);
    } else if (!session.Registered() || frame.wParam != session.Id()) {
        result = 0;  // a request in another client's name
    } else if (frame.lParam == uint32_t(kp::LinkOp::Request)) {
        result = Request(session);
    } else if (frame.lParam == uint32_t(kp::LinkOp::Disconnect)) {
        card_.RemoveClient(session.Id());
        session.Unregister();
    }  // a keep-alive needs nothing beyond the sign of life above
    if (frame.kind == kp::FrameKind::Post) return true;
    kp::Frame reply;
    reply.kind = kp::FrameKind::Result;
    reply.seq = frame.seq;
    reply.message = frame.message;
    reply.lParam = result;
    return session.Send(reply);
}

uint32_t CServer::Connect(CClientSession& session) {
    if (session.Registered()) return session.Id();
    std::set<uint16_t> used;
    for (const auto& [fd, s] : sessions_) used.insert(s->Id());
    for (uint16_t id = 1; id != 0; ++id) {
        if (used.count(id)) continue;
        return session.Register(id, options_.suffix) ? id : 0;
    }
    return 0;
}

uint32_t CServer::Request(CClientSession& session) {
    // The block is copied in and out under the client's mutex so that the card
    // works on bytes the client cannot change underneath it.
    std::array<uint8_t, kp::kParamBlockSize> block;
    {
        kp::SharedMutexGuard guard(session.Mutex(), kBlockWait);
        if (!guard.owns()) return result::kFailed;
        std::copy_n(session.Block().data(), block.size(), block.begin());
    }
    const std::array<uint8_t, kp::kParamBlockSize> before = block;
    const uint32_t result = handler_.Handle(session.Id(), block);
    if (block != before) {
        kp::SharedMutexGuard guard(session.Mutex(), kBlockWait);
        if (!guard.owns()) return result::kFailed;
        std::copy(block.begin(), block.end(), session.Block().data());
    }
    return result;
}

void CServer::DeliverPosts() {
    std::vector<int> gone;
    for (const PostedMessage& m : card_.Posts().Take()) {
        for (auto& [fd, s] : sessions_) {
            if (!s->Registered() || s->Id() != m.client) continue;
            kp::Frame f;
            f.kind = kp::FrameKind::Posted;
            f.window = m.window;
            f.message = m.message;
            f.wParam = m.wParam;
            f.lParam = m.lParam;
            if (!s->Send(f)) gone.push_back(fd);
        }
    }
    for (const int fd : gone) Drop(fd);
}

void CServer::Drop(int fd) {
    auto it = sessions_.find(fd);
    if (it == sessions_.end()) return;
    if (it->second->Registered()) card_.RemoveClient(it->second->Id());
    sessions_.erase(it);
}

bool CServer::IdleLongEnough() {
    if (!options_.exitWhenIdle) return false;
    bool anyRegistered = false;
    for (const auto& [fd, s] : sessions_) anyRegistered |= s->Registered();
    const auto now = CClientSession::Clock::now();
    if (anyRegistered) {
        hadClient_ = true;
        idleSince_ = now;
        return false;
    }
    return hadClient_ && now - idleSince_ >= *options_.exitWhenIdle;
}

void CServer::DropStalled() {
    const auto now = CClientSession::Clock::now();
    std::vector<int> stalled;
    for (const auto& [fd, s] : sessions_)
        if (s->Stalled(now)) stalled.push_back(fd);
    for (const int fd : stalled) {
        std::cerr << "nvdvbsrv: Client " << sessions_[fd]->Id()
                  << " liest seine Antworten nicht und wird getrennt\n";
        Drop(fd);
    }
}

void CServer::CheckKeepAlive() {
    const auto now = CClientSession::Clock::now();
    for (auto& [fd, s] : sessions_) {
        if (!s->Registered() || s->stale) continue;
        if (now - s->LastAlive() < options_.keepAliveTimeout) continue;
        // The client stopped talking: its filters go, its registration and
        // the filters' handles stay, so that it can go on should it come back.
        card_.SuspendClient(s->Id());
        s->stale = true;
    }
}

}  // namespace nvdvbsrv
