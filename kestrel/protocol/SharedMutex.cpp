#include "kestrel/protocol/SharedMutex.h"

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <new>

namespace kestrel::protocol {

static_assert(sizeof(pthread_mutex_t) + SharedMutex::kMutexOffset <= SharedMutex::kObjectSize);

namespace {
std::atomic_ref<std::uint32_t> MagicOf(std::uint8_t* base) {
    return std::atomic_ref<std::uint32_t>(*reinterpret_cast<std::uint32_t*>(base));
}
}  // namespace

void* SharedMutex::Mutex() const { return mem_.data() + kMutexOffset; }

bool SharedMutex::Create(const std::string& name) {
    if (!mem_.Create(name, kObjectSize)) return false;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    auto* m = new (Mutex()) pthread_mutex_t;
    const int rc = pthread_mutex_init(m, &attr);
    pthread_mutexattr_destroy(&attr);
    if (rc != 0) {
        mem_.Close();
        SharedMemory::Unlink(name);
        return false;
    }
    MagicOf(mem_.data()).store(kReadyMagic, std::memory_order_release);
    return true;
}

bool SharedMutex::Open(const std::string& name) {
    if (!mem_.Open(name, kObjectSize, true) || !mem_.Map()) {
        mem_.Close();
        return false;
    }
    if (MagicOf(mem_.data()).load(std::memory_order_acquire) != kReadyMagic) {
        mem_.Close();  // the creator has not finished yet
        return false;
    }
    return true;
}

LockResult SharedMutex::Lock(std::chrono::milliseconds timeout) {
    if (!IsOpen()) return LockResult::Failed;
    auto* m = static_cast<pthread_mutex_t*>(Mutex());
    int rc;
    if (timeout.count() < 0) {
        rc = pthread_mutex_lock(m);
    } else {
        timespec deadline{};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        const long long ns = deadline.tv_nsec + (timeout.count() % 1000) * 1000000LL;
        deadline.tv_sec += static_cast<time_t>(timeout.count() / 1000 + ns / 1000000000LL);
        deadline.tv_nsec = static_cast<long>(ns % 1000000000LL);
        rc = pthread_mutex_clocklock(m, CLOCK_MONOTONIC, &deadline);
    }
    switch (rc) {
        case 0:
            return LockResult::Acquired;
        case ETIMEDOUT:
            return LockResult::Timeout;
        case EOWNERDEAD:
            // Repair and hand the mutex back, so that later waits work again; this
            // wait itself reports the abandonment.
            pthread_mutex_consistent(m);
            pthread_mutex_unlock(m);
            return LockResult::Abandoned;
        default:
            return LockResult::Failed;
    }
}

void SharedMutex::Unlock() {
    if (IsOpen()) pthread_mutex_unlock(static_cast<pthread_mutex_t*>(Mutex()));
}

}  // namespace kestrel::protocol
