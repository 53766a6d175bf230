// Integration-test helpers: a real nvdvbsrv process with its own instance,
// configuration and base port; a minimal client that speaks the link protocol;
// a UDP receiver on the loopback address.
#pragma once

#include <sys/types.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"

namespace harness {

std::string ServerPath();
std::string TestDataDir();
// A fresh temporary folder for one test.
std::string MakeTempDir();
// A base port that no other test of this run uses (derived from the pid).
uint16_t UniquePort();
std::string UniqueInstance(const std::string& test);

class ServerProcess {
  public:
    // Writes the configuration and starts the server; Running() tells whether it came up.
    ServerProcess(const std::string& instance, const std::string& configText,
                  std::vector<std::string> extraArgs = {});
    ~ServerProcess();
    bool Running() const { return up_; }
    // Sends SIGTERM and returns the exit status (-1 when it did not end in 5 s).
    int Terminate();
    // Waits for the process to end by itself: its exit status, or -1.
    int WaitExit(int timeoutMs);
    const std::string& Suffix() const { return suffix_; }
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    bool up_ = false;
    std::string suffix_;
    std::string dir_;
};

class TestClient {
  public:
    using Block = std::array<uint8_t, 408>;
    explicit TestClient(const std::string& suffix);
    ~TestClient();
    bool Connected() const { return id_ != 0; }
    uint16_t Id() const { return id_; }

    // Writes the request (the fill function sets the slots), sends it, returns
    // the result; the reply is in Reply().
    uint32_t Request(uint16_t code, const std::function<void(Block&)>& fill = {});
    const Block& Reply() const { return reply_; }
    uint32_t U32(size_t off) const;
    uint16_t U16(size_t off) const;
    void KeepAlive();
    void Disconnect();
    // Closes the connection without saying goodbye (a client that died).
    void Vanish();

  private:
    uint32_t Send(uint32_t op, bool wait);
    int fd_ = -1;
    uint16_t id_ = 0;
    uint32_t seq_ = 0;
    kestrel::protocol::SharedMemory block_;
    kestrel::protocol::SharedMutex mutex_;
    Block reply_{};
};

// Writes a 32-bit little-endian slot.
void Put32(TestClient::Block& b, size_t off, uint32_t v);

class UdpReceiver {
  public:
    explicit UdpReceiver(uint16_t port);
    ~UdpReceiver();
    bool Open() const { return fd_ >= 0; }
    // One datagram, or nothing after the timeout.
    std::optional<std::vector<uint8_t>> Receive(int timeoutMs);
    // Everything that arrives within the duration.
    std::vector<std::vector<uint8_t>> Collect(std::chrono::milliseconds duration);

  private:
    int fd_ = -1;
};

}  // namespace harness
