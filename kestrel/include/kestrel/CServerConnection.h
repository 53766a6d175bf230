#pragma once
// The one process-wide connection to the driver server.
//
// Loading libkestrel.so runs Connect() with the standard timings, unless the
// environment variable KESTREL_DEFER_CONNECT is set to a non-empty value other
// than "0", or the program defines KestrelDeferConnectAtLoad() (below) and it
// returns nonzero; then the program or a test calls Connect() itself. A failed
// load-time connect prints the message to standard error (and hands it to
// KestrelReportFatal() when the program defines it) and ends the process with
// exit code 1. Unloading runs Disconnect().
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace kestrel {

class IDispatcher;

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
    /// How long a synchronous send waits for the server's answer. The server
    /// answers every request from memory (its longest path is two short
    /// waits for the client's own mutex), so 5 s is far above any request;
    /// an answer missing that long means a stopped or hung server, and the
    /// connection is then given up (every later request fails at once).
    ms replyLimit{5000};
    /// The same for the disconnect at unload, so that the program always ends.
    ms disconnectLimit{1000};
};

/// The connection's public face; the shared objects, the socket and the
/// request exchange stay inside the library.
class CServerConnection {
  public:
    using PostedHandler = std::function<void(std::uint32_t window, std::uint32_t message,
                                             std::uint32_t wParam, std::uint32_t lParam)>;

    static CServerConnection& Instance();

    /// Runs the connect sequence. On failure everything is cleaned up (the
    /// disconnect sequence runs) and LastError() holds the message with the
    /// closing sentence.
    bool Connect(const ConnectTimings& timings = {});
    /// The disconnect sequence; does nothing more once disconnected.
    void Disconnect();

    bool IsConnected() const;
    std::uint16_t ClientId() const;
    std::uint32_t ServerWindow() const;
    const std::string& LastError() const;
    /// Process id of the server started by the last Connect() (0 if none).
    int StartedServerPid() const;

    /// Starts the keep-alive and the delivery of posted messages on that
    /// dispatcher (the program's, or the default poll dispatcher).
    void AttachDispatcher(IDispatcher& dispatcher);
    /// Stops using the attached dispatcher (call before destroying it).
    void DetachDispatcher();
    void SetPostedMessageHandler(PostedHandler handler);
    /// Disconnect at process exit: the dispatcher may already be gone, so it
    /// is forgotten rather than told.
    void DisconnectAtExit();

  private:
    CServerConnection() = default;
};

}  // namespace kestrel

/// Optional hook: a program that defines this function receives a failed
/// load-time connect's message (for a dialog) before the process exits.
extern "C" void KestrelReportFatal(const char* message) __attribute__((weak));

/// Optional hook: a program that defines this function (and exports it from
/// its executable, CMake ENABLE_EXPORTS) decides whether the load-time connect
/// runs: nonzero skips it, so that e.g. --help works without a card. It is
/// called from the library's constructor, before main and before the
/// program's own static objects exist, so it may use only the C library
/// (the environment, /proc/self/cmdline).
extern "C" int KestrelDeferConnectAtLoad(void) __attribute__((weak));
