#include "receiver/CQtDispatcher.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

// The Qt object of a watch or timer that ends may be the one whose signal is
// being delivered right now: it is silenced at once and deleted from the loop.
void Retire(QObject* object) {
    object->disconnect();
    object->deleteLater();
}

}  // namespace

CQtDispatcher::CQtDispatcher() = default;

// The Qt objects are children of context_ and go with it, retired ones too.
CQtDispatcher::~CQtDispatcher() = default;

int CQtDispatcher::WatchReadable(int fd, Callback cb) {
    Q_ASSERT(QThread::currentThread() == context_.thread());
    const int id = nextId_++;
    auto* notifier =
        new QSocketNotifier(static_cast<qintptr>(fd), QSocketNotifier::Read, &context_);
    QObject::connect(notifier, &QSocketNotifier::activated, &context_,
                     [this, id] { OnReadable(id); });
    watches_[id] = {notifier, std::move(cb)};
    return id;
}

void CQtDispatcher::Unwatch(int watchId) {
    const auto it = watches_.find(watchId);
    if (it == watches_.end()) return;
    // Off before the descriptor is closed, which the caller may do next.
    it->second.notifier->setEnabled(false);
    Retire(it->second.notifier);
    watches_.erase(it);
}

int CQtDispatcher::StartTimer(int periodMs, Callback cb) {
    Q_ASSERT(QThread::currentThread() == context_.thread());
    const int id = nextId_++;
    auto* timer = new QTimer(&context_);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, &context_, [this, id] { OnTimeout(id); });
    timer->start(std::max(periodMs, 0));
    timers_[id] = {timer, std::move(cb)};
    return id;
}

void CQtDispatcher::StopTimer(int timerId) {
    const auto it = timers_.find(timerId);
    if (it == timers_.end()) return;
    it->second.timer->stop();
    Retire(it->second.timer);
    timers_.erase(it);
}

void CQtDispatcher::Defer(Callback cb) {
    // Queued, so never from inside this call; dropped with context_.
    QMetaObject::invokeMethod(
        &context_, [cb = std::move(cb)] { cb(); }, Qt::QueuedConnection);
}

void CQtDispatcher::OnReadable(int id) {
    const auto it = watches_.find(id);
    if (it == watches_.end()) return;
    // A copy: the callback may remove its own watch.
    const Callback cb = it->second.cb;
    cb();
}

void CQtDispatcher::OnTimeout(int id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    const Callback cb = it->second.cb;
    cb();
}
