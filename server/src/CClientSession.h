// One connected client: its connection, its parameter block and the mutex that
// guards it, and when it last showed signs of life.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"

namespace nvdvbsrv {

class CClientSession {
  public:
    using Clock = std::chrono::steady_clock;

    CClientSession(int fd) : fd_(fd), lastAlive_(Clock::now()) {}
    ~CClientSession();
    CClientSession(const CClientSession&) = delete;
    CClientSession& operator=(const CClientSession&) = delete;

    // Creates the client's parameter memory and mutex under its id.
    bool Register(uint16_t id, const std::string& suffix);
    // Removes the shared objects (the client has left).
    void Unregister();

    int Fd() const { return fd_; }
    uint16_t Id() const { return id_; }
    bool Registered() const { return id_ != 0; }
    kestrel::protocol::SharedMemory& Block() { return memory_; }
    kestrel::protocol::SharedMutex& Mutex() { return mutex_; }

    void Alive() { lastAlive_ = Clock::now(); }
    Clock::time_point LastAlive() const { return lastAlive_; }
    // Set once the client's filters were freed for lack of keep-alives.
    bool stale = false;

  private:
    int fd_;
    uint16_t id_ = 0;
    std::string memoryName_;
    std::string mutexName_;
    kestrel::protocol::SharedMemory memory_;
    kestrel::protocol::SharedMutex mutex_;
    Clock::time_point lastAlive_;
};

}  // namespace nvdvbsrv
