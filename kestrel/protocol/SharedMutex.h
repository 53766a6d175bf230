#pragma once
// A named mutex shared between processes: a robust, process-shared pthread
// mutex living in its own small shared-memory object named like the mutex.
//
// Object layout (64 bytes): offset 0 u32 magic kReadyMagic, written last by
// the creator once the mutex is initialised (an object without the magic is
// "not there yet" to Open); offset 8 the pthread_mutex_t.
#include <chrono>
#include <cstdint>
#include <string>

#include "kestrel/protocol/SharedMemory.h"

namespace kestrel::protocol {

enum class LockResult {
    Acquired,   ///< plain success: the caller owns the mutex
    Timeout,    ///< not obtained in time
    Abandoned,  ///< the previous owner died holding it; the state was made
                ///< consistent and the mutex released again, so the caller
                ///< does NOT own it. A wait that ends this way has not succeeded.
    Failed,     ///< not open, or the mutex is unusable
};

class SharedMutex {
  public:
    static constexpr std::uint32_t kReadyMagic = 0x5854554Du;  // "MUTX"
    static constexpr std::size_t kObjectSize = 64;
    static constexpr std::size_t kMutexOffset = 8;

    SharedMutex() = default;
    SharedMutex(const SharedMutex&) = delete;
    SharedMutex& operator=(const SharedMutex&) = delete;

    /// Server side: creates (replacing a stale one) and initialises the mutex.
    bool Create(const std::string& name);
    /// Client side: opens a mutex whose creator has finished initialising it.
    bool Open(const std::string& name);
    void Close() { mem_.Close(); }
    bool IsOpen() const { return mem_.IsMapped(); }

    /// Waits at most `timeout`; a negative timeout waits without limit.
    LockResult Lock(std::chrono::milliseconds timeout);
    LockResult LockForever() { return Lock(std::chrono::milliseconds(-1)); }
    void Unlock();

  private:
    void* Mutex() const;
    SharedMemory mem_;
};

/// Holds a lock for a scope when it was acquired.
class SharedMutexGuard {
  public:
    SharedMutexGuard(SharedMutex& m, std::chrono::milliseconds timeout)
        : m_(m), result_(m.Lock(timeout)) {}
    ~SharedMutexGuard() {
        if (result_ == LockResult::Acquired) m_.Unlock();
    }
    SharedMutexGuard(const SharedMutexGuard&) = delete;
    SharedMutexGuard& operator=(const SharedMutexGuard&) = delete;
    bool owns() const { return result_ == LockResult::Acquired; }
    LockResult result() const { return result_; }

  private:
    SharedMutex& m_;
    LockResult result_;
};

}  // namespace kestrel::protocol
