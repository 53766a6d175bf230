#include "CServerLink.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <thread>

#include "Request.h"
#include "ServerLauncher.h"
#include "kestrel/CRegistry.h"
#include "kestrel/IDispatcher.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"

namespace kestrel {

using namespace protocol;
using Clock = std::chrono::steady_clock;

namespace {

// Read the start time, then repeat: leave when the limit is reached or the
// object is open; sleep; try to open.
template <typename TryOpen>
bool PollUntil(std::chrono::milliseconds period, std::chrono::milliseconds limit, TryOpen tryOpen) {
    const auto start = Clock::now();
    bool open = false;
    while (!open && Clock::now() - start < limit) {
        std::this_thread::sleep_for(period);
        open = tryOpen();
    }
    return open;
}

std::string Format(const char* fmt, const std::string& path, unsigned code = 0) {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, path.c_str(), code);
    return buf;
}

}  // namespace

CServerLink& CServerLink::Instance() {
    static CServerLink* instance = new CServerLink;  // lives until process exit
    return *instance;
}

bool CServerLink::Fail(const std::string& message) {
    CloseSharedObjects();
    lastError_ = message + kFailureTail;
    Disconnect();
    return false;
}

bool CServerLink::Connect(const ConnectTimings& timings) {
    if (connected_) return true;
    timings_ = timings;
    lastError_.clear();
    return RunConnectSteps(timings);
}

bool CServerLink::RunConnectSteps(const ConnectTimings& t) {
    // 1. The server's command line from the registry (buffer of 200 bytes).
    std::string path;
    CRegistry reg;
    if (!reg.Open(CRegistry::DefaultPath(), false) ||
        !reg.ReadString(kServerSettingsKey, kServerPathValue, path) || path.size() + 1 > 200)
        return Fail("Registry error: No valid path entry for NVDVBSrv !");
    reg.Close();
    // 2. Start it, every time, without looking for a running one.
    startedPid_ = 0;
    const unsigned started = StartServerProcess(path, &startedPid_);
    if (started <= 32)
        return Fail(
            Format("Start of NVDVBSrv failed!\n\nPath: \"%s\"\nError code: %u", path, started));
    // 3.-6. Status mutex, status memory, the server's "window".
    if (!OpenStatusObjects(t, path)) return false;
    // 7.-8. Register with the server.
    clientId_ = 0;
    if (serverWindow_ != 0) socket_ = ConnectLocal(ServerSocketName(serverWindow_));
    // Anyone may listen under a name of the abstract space: talk only to a
    // server of this user.
    if (socket_ >= 0 && !PeerIsThisUser(socket_, false)) CloseSocket();
    clientId_ = static_cast<std::uint16_t>(SendSync(LinkOp::Connect, 0, t.replyLimit).value_or(0));
    if (clientId_ == 0) return Fail("No connection to NVDVBSrv!");
    // 9.-12. This client's parameter objects.
    if (!OpenParamObjects(t)) return false;
    // 13. Keep-alive (once an event loop is attached); connected.
    connected_ = true;
    if (dispatcher_) AttachDispatcher(*dispatcher_);
    return true;
}

bool CServerLink::OpenStatusObjects(const ConnectTimings& t, const std::string& path) {
    const std::string mutexName = StatusMutexName();
    if (!PollUntil(t.statusMutexPoll, t.statusMutexLimit,
                   [&] { return statusMutex_.Open(mutexName); }))
        return Fail(Format("NVDVBSrv time out!\n\nPath: \"%s\"", path));
    const std::string memName = StatusMemoryName();
    if (!PollUntil(t.statusMemoryPoll, t.statusMemoryLimit,
                   [&] { return statusMem_.Open(memName, kStatusBlockSize, false); }))
        return Fail("MMF: OpenFileMapping failed!");
    if (!statusMem_.Map()) return Fail("MMF: MapViewOfFile failed!");
    serverWindow_ = 0;
    if (statusMutex_.LockForever() == LockResult::Acquired) {
        std::span<const std::uint8_t> view(statusMem_.data(), kStatusBlockSize);
        serverWindow_ = BlockReader(view).U32(kStatusServerWindowOffset);
        statusMutex_.Unlock();
    }
    return true;
}

bool CServerLink::OpenParamObjects(const ConnectTimings& t) {
    const std::string mutexName = ParamMutexName(clientId_);
    if (!PollUntil(t.paramMutexPoll, t.paramMutexLimit,
                   [&] { return paramMutex_.Open(mutexName); }))
        return Fail("OpenMutex failed!");
    const std::string memName = ParamMemoryName(clientId_);
    if (!PollUntil(t.paramMemoryPoll, t.paramMemoryLimit,
                   [&] { return paramMem_.Open(memName, kParamBlockSize, true); }))
        return Fail("MMF: Second OpenFileMapping failed!");
    if (!paramMem_.Map()) return Fail("MMF: Second MapViewOfFile failed!");
    return true;
}

void CServerLink::CloseSharedObjects() {
    statusMutex_.Close();
    statusMem_.Close();
    paramMutex_.Close();
    paramMem_.Close();
    connected_ = false;
}

void CServerLink::Disconnect() {
    CloseSharedObjects();
    DetachDispatcher();
    if (socket_ >= 0) {
        SendSync(LinkOp::Disconnect, clientId_, timings_.disconnectLimit);
        CloseSocket();
    }
    posted_.clear();
    ReapServerProcess(startedPid_);
}

std::optional<std::uint32_t> CServerLink::SendSync(LinkOp op, std::uint32_t wParam,
                                                   std::chrono::milliseconds limit) {
    if (socket_ < 0) return 0;
    Frame f;
    f.kind = FrameKind::Send;
    f.seq = ++seq_;
    f.wParam = wParam;
    f.lParam = static_cast<std::uint32_t>(op);
    if (!SendFrame(socket_, f)) return 0;
    const auto deadline = Clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        Frame in;
        const RecvStatus st = left.count() > 0
                                  ? RecvFrame(socket_, in, static_cast<int>(left.count()))
                                  : RecvStatus::Timeout;
        if (st == RecvStatus::Closed) return 0;
        if (st == RecvStatus::Timeout) {
            // A stopped or hung server: give the connection up rather than
            // wait again on every request.
            CloseSocket();
            return std::nullopt;
        }
        if (st != RecvStatus::Ok) continue;  // a malformed record is dropped
        if (in.kind == FrameKind::Result && in.seq == f.seq) return in.lParam;
        if (in.kind == FrameKind::Posted) {
            QueuePosted(in);
            if (dispatcher_) dispatcher_->Defer([this] { DeliverPosted(); });
        }
    }
}

void CServerLink::CloseSocket() {
    if (socket_ < 0) return;
    if (dispatcher_ && socketWatch_) dispatcher_->Unwatch(socketWatch_);
    socketWatch_ = 0;
    ::close(socket_);
    socket_ = -1;
}

void CServerLink::PostLink(LinkOp op, std::uint32_t wParam) {
    if (socket_ < 0) return;
    Frame f;
    f.kind = FrameKind::Post;
    f.seq = ++seq_;
    f.wParam = wParam;
    f.lParam = static_cast<std::uint32_t>(op);
    SendFrame(socket_, f);
}

ErrReturn CServerLink::Transact(const Request& request, const ReplyReader& reader, ReplyWait wait) {
    if (!request.ok()) return CCommonDVB::RET_INVALID;
    if (!paramMutex_.IsOpen() || !paramMem_.IsMapped()) return CCommonDVB::RET_TIMEOUT;
    const std::span<std::uint8_t> block(paramMem_.data(), kParamBlockSize);
    if (paramMutex_.Lock(timings_.requestWait) != LockResult::Acquired)
        return CCommonDVB::RET_TIMEOUT;
    request.WriteTo(block);
    paramMutex_.Unlock();

    const auto answer = SendSync(LinkOp::Request, clientId_, timings_.replyLimit);
    if (!answer) return CCommonDVB::RET_TIMEOUT;
    const auto result = static_cast<ErrReturn>(*answer);
    if (!reader || result != CCommonDVB::RET_OK) return result;

    // The long wait (SetBitFilter's) is bounded too: as long as for an answer.
    const auto limit = wait == ReplyWait::Long ? timings_.replyLimit : timings_.requestWait;
    std::array<std::uint8_t, kParamBlockSize> reply;
    if (!paramMem_.IsMapped() || paramMutex_.Lock(limit) != LockResult::Acquired)
        return CCommonDVB::RET_TIMEOUT;
    std::copy(block.begin(), block.end(), reply.begin());
    paramMutex_.Unlock();
    BlockReader r(reply);
    reader(r);
    return result;
}

void CServerLink::AttachDispatcher(IDispatcher& dispatcher) {
    DetachDispatcher();
    dispatcher_ = &dispatcher;  // kept until Disconnect or DetachDispatcher
    if (!connected_) return;
    keepAliveTimer_ = dispatcher.StartTimer(static_cast<int>(timings_.keepAlivePeriod.count()),
                                            [this] { PostLink(LinkOp::KeepAlive, clientId_); });
    if (socket_ >= 0)
        socketWatch_ = dispatcher.WatchReadable(socket_, [this] { OnSocketReadable(); });
    if (!posted_.empty()) dispatcher.Defer([this] { DeliverPosted(); });
}

void CServerLink::DetachDispatcher() {
    if (!dispatcher_) return;
    if (keepAliveTimer_) dispatcher_->StopTimer(keepAliveTimer_);
    if (socketWatch_) dispatcher_->Unwatch(socketWatch_);
    keepAliveTimer_ = socketWatch_ = 0;
    dispatcher_ = nullptr;
}

void CServerLink::DisconnectAtExit() {
    dispatcher_ = nullptr;
    keepAliveTimer_ = socketWatch_ = 0;
    Disconnect();
}

void CServerLink::OnSocketReadable() {
    Frame in;
    const RecvStatus st = RecvFrame(socket_, in, 0);
    if (st == RecvStatus::Closed) {
        // The server is gone: stop watching; requests now fail.
        if (dispatcher_ && socketWatch_) dispatcher_->Unwatch(socketWatch_);
        socketWatch_ = 0;
        return;
    }
    if (st == RecvStatus::Ok && in.kind == FrameKind::Posted) QueuePosted(in);
    DeliverPosted();
}

void CServerLink::QueuePosted(const Frame& f) {
    // Without an event loop nobody takes them: keep only the newest.
    if (posted_.size() >= kMaxQueuedPosts) posted_.pop_front();
    posted_.push_back(f);
}

void CServerLink::DeliverPosted() {
    while (!posted_.empty()) {
        const Frame f = posted_.front();
        posted_.pop_front();
        if (postedHandler_) postedHandler_(f.window, f.message, f.wParam, f.lParam);
    }
}

}  // namespace kestrel
