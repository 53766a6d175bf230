#include "kestrel/CPollDispatcher.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace kestrel {

int CPollDispatcher::WatchReadable(int fd, Callback cb) {
    const int id = nextId_++;
    watches_[id] = {fd, std::move(cb)};
    return id;
}

void CPollDispatcher::Unwatch(int watchId) { watches_.erase(watchId); }

int CPollDispatcher::StartTimer(int periodMs, Callback cb) {
    const int id = nextId_++;
    const auto period = std::chrono::milliseconds(std::max(periodMs, 0));
    timers_[id] = {period, Clock::now() + period, std::move(cb)};
    return id;
}

void CPollDispatcher::StopTimer(int timerId) { timers_.erase(timerId); }

void CPollDispatcher::Defer(Callback cb) { deferred_[nextId_++] = std::move(cb); }

void CPollDispatcher::RunDeferred() {
    auto batch = std::move(deferred_);
    deferred_.clear();
    for (auto& [id, cb] : batch) cb();
}

void CPollDispatcher::RunDueTimers() {
    const auto now = Clock::now();
    std::vector<int> due;
    for (auto& [id, t] : timers_)
        if (t.due <= now) due.push_back(id);
    for (int id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue;  // stopped by an earlier callback
        it->second.due = now + it->second.period;
        Callback cb = it->second.cb;  // copy: the callback may stop its timer
        cb();
    }
}

bool CPollDispatcher::RunOnce(int timeoutMs) {
    if (watches_.empty() && timers_.empty() && deferred_.empty()) return false;
    if (!deferred_.empty()) timeoutMs = 0;
    const auto now = Clock::now();
    for (auto& [id, t] : timers_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(t.due - now).count();
        timeoutMs = timeoutMs < 0 ? static_cast<int>(std::max<long long>(left, 0))
                                  : static_cast<int>(std::clamp<long long>(left, 0, timeoutMs));
    }
    std::vector<pollfd> fds;
    std::vector<int> ids;
    for (auto& [id, w] : watches_) {
        fds.push_back({w.fd, POLLIN, 0});
        ids.push_back(id);
    }
    const int rc = ::poll(fds.data(), fds.size(), timeoutMs);
    if (rc > 0) {
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            auto it = watches_.find(ids[i]);
            if (it == watches_.end()) continue;  // removed by an earlier callback
            Callback cb = it->second.cb;
            cb();
        }
    }
    RunDueTimers();
    RunDeferred();
    return true;
}

void CPollDispatcher::RunFor(std::chrono::milliseconds duration) {
    quit_ = false;
    const auto end = Clock::now() + duration;
    while (!quit_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) break;
        if (!RunOnce(static_cast<int>(left))) break;
    }
}

namespace {
IDispatcher* g_dispatcher = nullptr;
}

CPollDispatcher& DefaultPollDispatcher() {
    // Never destroyed: receivers and the connection may still use it while
    // the process exits.
    static CPollDispatcher* instance = new CPollDispatcher;
    return *instance;
}

IDispatcher& Dispatcher() { return g_dispatcher ? *g_dispatcher : DefaultPollDispatcher(); }

void SetDispatcher(IDispatcher* dispatcher) { g_dispatcher = dispatcher; }

}  // namespace kestrel
