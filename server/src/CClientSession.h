// One connected client: its connection, its parameter block and the mutex that
// guards it, and when it last showed signs of life.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>

#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

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

    // Answers go out without waiting: what the socket does not take now
    // waits here, in order, until it is writable. A client that lets more
    // than kMaxQueued answers pile up, or leaves one unread for kMaxQueueAge,
    // is given up (the server never blocks on one client).
    static constexpr std::size_t kMaxQueued = 64;
    static constexpr std::chrono::milliseconds kMaxQueueAge{2000};
    // False when the client is to be dropped (queue over its limit, or the
    // connection gone).
    bool Send(const kestrel::protocol::Frame& frame);
    // Sends what waits; false when the connection is gone.
    bool Flush();
    bool Waiting() const { return !out_.empty(); }
    // True when an answer has waited longer than kMaxQueueAge.
    bool Stalled(Clock::time_point now) const {
        return !out_.empty() && now - waitingSince_ > kMaxQueueAge;
    }

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
    std::deque<kestrel::protocol::Frame> out_;
    Clock::time_point waitingSince_;  // when the oldest waiting answer was queued
};

}  // namespace nvdvbsrv
