#pragma once
// A scripted stand-in for the driver server, run on a thread of the test
// process. It creates the shared objects under the current KESTREL_INSTANCE,
// answers the link operations and hands each request's parameter block to a
// handler that the test supplies.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

namespace kestrel::test {

class FakeServer {
  public:
    struct Options {
        bool createStatusMutex = true;
        bool createParamObjects = true;
        std::uint16_t clientId = 1;  ///< 0 refuses the client
        std::uint32_t window = 0;    ///< 0: the real pid (needed to be found)
        /// Keeps the parameter mutex this long after sending a request's result.
        std::chrono::milliseconds holdAfterResult{0};
        /// False: requests and the disconnect get no result, as from a
        /// stopped server (the connect is still answered).
        bool answerRequests = true;
    };
    /// Called with the parameter mutex held; returns the request's result.
    using Handler = std::function<std::uint32_t(std::uint16_t code, std::span<std::uint8_t> block)>;

    FakeServer();
    explicit FakeServer(Options options);
    ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    void SetHandler(Handler h);
    /// Sends a Posted frame to the connected client.
    void Post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
              std::uint32_t lParam);
    /// Closes every connection and stops answering.
    void Stop();

    /// The parameter mutex of the current client (as the server sees it).
    protocol::SharedMutex& ParamMutex() { return paramMutex_; }
    protocol::SharedMutex& StatusMutex() { return statusMutex_; }
    std::span<std::uint8_t> ParamBlock();

    // What happened, for assertions.
    int requests() const { return requests_; }
    int connects() const { return connects_; }
    int disconnects() const { return disconnects_; }
    int keepAlives() const { return keepAlives_; }
    std::uint32_t lastKeepAliveClient() const { return lastKeepAliveClient_; }
    std::uint32_t lastDisconnectClient() const { return lastDisconnectClient_; }
    /// Whether any of the client's shared objects was still mapped in this
    /// process when the disconnect arrived.
    bool objectsMappedAtDisconnect() const { return mappedAtDisconnect_; }
    std::vector<std::uint16_t> codes() const;

  private:
    void Run();
    void Serve(int fd);
    void Handle(int fd, const protocol::Frame& f);
    std::uint32_t Answer(const protocol::Frame& f);
    static bool ClientObjectsMapped();

    Options options_;
    std::string suffix_;
    protocol::SharedMutex statusMutex_, paramMutex_;
    protocol::SharedMemory statusMem_, paramMem_;
    int listen_ = -1;
    std::vector<int> clients_;
    std::mutex lock_;
    Handler handler_;
    std::vector<std::uint16_t> codes_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0}, connects_{0}, disconnects_{0}, keepAlives_{0};
    std::atomic<std::uint32_t> lastKeepAliveClient_{0}, lastDisconnectClient_{0};
    std::atomic<bool> mappedAtDisconnect_{false};
    std::thread thread_;
};

}  // namespace kestrel::test
