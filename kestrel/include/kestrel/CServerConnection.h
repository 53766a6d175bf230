#pragma once
// The one process-wide connection to the driver server.
//
// Loading libkestrel.so runs Connect() with the standard timings, unless the
// environment variable KESTREL_DEFER_CONNECT is set to a non-empty value other
// than "0" (then the program or a test calls Connect() itself). A failed
// load-time connect prints the message to standard error (and hands it to
// KestrelReportFatal() when the program defines it) and ends the process with
// exit code 1. Unloading runs Disconnect().
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>

#include "kestrel/CCommonDVB.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

namespace kestrel {

class IDispatcher;
class Request;

/// The registry key and value that name the server's command line.
inline constexpr const char* kServerSettingsKey = "SOFTWARE\\Norvane\\DVBSERVER\\Settings";
inline constexpr const char* kServerPathValue = "Path";
/// Appended to every connect failure message.
inline constexpr const char* kFailureTail = "\n\nDVB Client Application will be closed.";

/// Poll periods and limits of the connect sequence and the request waits.
/// The defaults are the production values; tests shorten them.
struct ConnectTimings {
    using ms = std::chrono::milliseconds;
    ms statusMutexPoll{250}, statusMutexLimit{30000};
    ms statusMemoryPoll{250}, statusMemoryLimit{5000};
    ms paramMutexPoll{20}, paramMutexLimit{20000};
    ms paramMemoryPoll{20}, paramMemoryLimit{2500};
    ms requestWait{1000};
    ms keepAlivePeriod{10000};
};

enum class ReplyWait { Timed, Forever };

class CServerConnection {
  public:
    using PostedHandler = std::function<void(std::uint32_t window, std::uint32_t message,
                                             std::uint32_t wParam, std::uint32_t lParam)>;
    using ReplyReader = std::function<void(protocol::BlockReader&)>;

    static CServerConnection& Instance();

    /// Runs the connect sequence. On failure everything is cleaned up (the
    /// disconnect sequence runs) and LastError() holds the message with the
    /// closing sentence.
    bool Connect(const ConnectTimings& timings = {});
    /// The disconnect sequence; does nothing more once disconnected.
    void Disconnect();

    bool IsConnected() const { return connected_; }
    std::uint16_t ClientId() const { return clientId_; }
    std::uint32_t ServerWindow() const { return serverWindow_; }
    const std::string& LastError() const { return lastError_; }
    /// Process id of the server started by the last Connect() (0 if none).
    int StartedServerPid() const { return startedPid_; }

    /// The request primitive: writes the request, sends it, and, when the
    /// result is 1 and a reader is given, reads the reply under the mutex.
    ErrReturn Transact(const Request& request, const ReplyReader& reader = {},
                       ReplyWait wait = ReplyWait::Timed);

    /// Starts the keep-alive and the delivery of posted messages on that
    /// dispatcher (the program's, or the default poll dispatcher).
    void AttachDispatcher(IDispatcher& dispatcher);
    /// Stops using the attached dispatcher (call before destroying it).
    void DetachDispatcher();
    void SetPostedMessageHandler(PostedHandler handler) { postedHandler_ = std::move(handler); }
    /// Disconnect at process exit: the dispatcher may already be gone, so it
    /// is forgotten rather than told.
    void DisconnectAtExit();

    /// The parameter mutex, for operations that must take it themselves.
    protocol::SharedMutex& ParamMutex() { return paramMutex_; }

  private:
    CServerConnection() = default;
    bool Fail(const std::string& message);
    bool RunConnectSteps(const ConnectTimings& t);
    bool OpenStatusObjects(const ConnectTimings& t, const std::string& path);
    bool OpenParamObjects(const ConnectTimings& t);
    void CloseSharedObjects();
    std::uint32_t SendSync(protocol::LinkOp op, std::uint32_t wParam);
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

/// Optional hook: a program that defines this function receives a failed
/// load-time connect's message (for a dialog) before the process exits.
extern "C" void KestrelReportFatal(const char* message) __attribute__((weak));
