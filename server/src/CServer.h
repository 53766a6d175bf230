// The server side of the client link: the shared status block and its mutex,
// the local socket on which clients connect, send requests and keep-alives, and
// one session per client. Runs on one thread (the request thread of the card).
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "CClientSession.h"
#include "CInstanceLock.h"
#include "CRequestHandler.h"
#include "ICard.h"
#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

namespace nvdvbsrv {

// A private message on the server's socket (not a link operation): a key of
// the remote control, injected by "nvdvbsrv key <code>". wParam is the code;
// the result is 1 when the key went out, 0 when the receiver is off.
inline constexpr uint32_t kInjectKeyMessage = 0x4B455931u;  // "KEY1"
// The same for "nvdvbsrv cam insert|remove <slot>": wParam is the slot, plus
// kCamInsertFlag for an insertion; the result is 1 when the slot changed.
inline constexpr uint32_t kCamMessage = 0x43414D31u;  // "CAM1"
inline constexpr uint32_t kCamInsertFlag = 0x100;

class CServer {
  public:
    struct Options {
        std::string suffix;  // instance suffix of all shared names
        std::chrono::milliseconds keepAliveTimeout{30000};
        uint16_t maxClients = 64;
        // When set: the server ends this long after its last client left
        // (once a client has been there).
        std::optional<std::chrono::milliseconds> exitWhenIdle;
    };

    CServer(ICard& card, Options options);
    ~CServer();
    CServer(const CServer&) = delete;
    CServer& operator=(const CServer&) = delete;

    // Creates the shared objects and the socket; false with a message on failure.
    bool Start(std::string& error);
    // Serves until stopFd becomes readable (the signal descriptor).
    void Run(int stopFd);

    size_t ClientCount() const { return sessions_.size(); }
    // After a failed Start: another server of the same instance serves already.
    bool AlreadyRunning() const { return alreadyRunning_; }

  private:
    void Accept();
    // False when the connection is to be closed.
    bool Serve(CClientSession& session);
    uint32_t Connect(CClientSession& session);
    uint32_t Request(CClientSession& session);
    void Drop(int fd);
    // Sends what the card posted to its clients' windows.
    void DeliverPosts();
    // Drops the clients that left an answer unread for too long.
    void DropStalled();
    void CheckKeepAlive();
    bool IdleLongEnough();
    void Shutdown();

    ICard& card_;
    Options options_;
    CRequestHandler handler_;
    CInstanceLock lock_;
    kestrel::protocol::SharedMemory status_;
    kestrel::protocol::SharedMutex statusMutex_;
    int listenFd_ = -1;
    bool alreadyRunning_ = false;
    bool hadClient_ = false;
    CClientSession::Clock::time_point idleSince_;
    std::map<int, std::unique_ptr<CClientSession>> sessions_;  // by descriptor
};

}  // namespace nvdvbsrv
