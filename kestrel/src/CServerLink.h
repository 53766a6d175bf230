#pragma once
// The connection's inside: the status and parameter objects, the socket to
// the server, the request exchange and the posted-message queue. One per
// process; CServerConnection is its public face.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "kestrel/CCommonDVB.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

namespace kestrel {

class Request;

/// How long the reply's mutex is waited for: the request wait (Timed) or, for
/// the filter set-up, as long as for the server's answer (Long).
enum class ReplyWait { Timed, Long };

class CServerLink {
  public:
    using PostedHandler = CServerConnection::PostedHandler;
    using ReplyReader = std::function<void(protocol::BlockReader&)>;

    static CServerLink& Instance();

    bool Connect(const ConnectTimings& timings);
    void Disconnect();

    bool IsConnected() const { return connected_; }
    std::uint16_t ClientId() const { return clientId_; }
    std::uint32_t ServerWindow() const { return serverWindow_; }
    const std::string& LastError() const { return lastError_; }
    int StartedServerPid() const { return startedPid_; }

    /// The request primitive: writes the request, sends it, and, when the
    /// result is 1 and a reader is given, reads the reply under the mutex.
    ErrReturn Transact(const Request& request, const ReplyReader& reader = {},
                       ReplyWait wait = ReplyWait::Timed);

    void AttachDispatcher(IDispatcher& dispatcher);
    void DetachDispatcher();
    void SetPostedMessageHandler(PostedHandler handler) { postedHandler_ = std::move(handler); }
    void DisconnectAtExit();

  private:
    CServerLink() = default;
    bool Fail(const std::string& message);
    bool RunConnectSteps(const ConnectTimings& t);
    bool OpenStatusObjects(const ConnectTimings& t, const std::string& path);
    bool OpenParamObjects(const ConnectTimings& t);
    void CloseSharedObjects();
    /// The server's answer, or nothing when none came within `limit` (the
    /// connection is then closed). 0 when the connection is gone.
    std::optional<std::uint32_t> SendSync(protocol::LinkOp op, std::uint32_t wParam,
                                          std::chrono::milliseconds limit);
    void CloseSocket();
    void PostLink(protocol::LinkOp op, std::uint32_t wParam);
    void OnSocketReadable();
    void DeliverPosted();
    void QueuePosted(const protocol::Frame& f);
    static constexpr std::size_t kMaxQueuedPosts = 256;

    ConnectTimings timings_;
    std::uint32_t serverWindow_ = 0;
    std::uint16_t clientId_ = 0;
    protocol::SharedMemory statusMem_, paramMem_;
    protocol::SharedMutex statusMutex_, paramMutex_;
    int socket_ = -1;
    std::uint32_t seq_ = 0;
    bool connected_ = false;
    int startedPid_ = 0;
    std::string lastError_;
    IDispatcher* dispatcher_ = nullptr;
    int keepAliveTimer_ = 0;
    int socketWatch_ = 0;
    std::deque<protocol::Frame> posted_;
    PostedHandler postedHandler_;
};

}  // namespace kestrel
