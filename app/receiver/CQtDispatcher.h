#pragma once
// The client library's event loop on the Qt event loop: descriptor watches
// are QSocketNotifiers, timers QTimers, deferred calls queued calls. GUI
// thread only (the thread that created the dispatcher). Unwatching, stopping
// a timer or destroying the watch of a running callback from inside that
// callback is safe: the Qt object goes away once control is back in the loop.
// Destroying the dispatcher drops its watches, timers and deferred calls.
#include <QObject>
#include <cstddef>
#include <map>

#include "kestrel/IDispatcher.h"

class QSocketNotifier;
class QTimer;

class CQtDispatcher : public kestrel::IDispatcher {
  public:
    CQtDispatcher();
    ~CQtDispatcher() override;
    CQtDispatcher(const CQtDispatcher&) = delete;
    CQtDispatcher& operator=(const CQtDispatcher&) = delete;

    int WatchReadable(int fd, Callback cb) override;
    void Unwatch(int watchId) override;
    int StartTimer(int periodMs, Callback cb) override;
    void StopTimer(int timerId) override;
    void Defer(Callback cb) override;

    std::size_t WatchCount() const { return watches_.size(); }
    std::size_t TimerCount() const { return timers_.size(); }

  private:
    struct Watch {
        QSocketNotifier* notifier;
        Callback cb;
    };
    struct Timer {
        QTimer* timer;
        Callback cb;
    };
    void OnReadable(int id);
    void OnTimeout(int id);

    QObject context_;  ///< parent of the Qt objects, receiver of the queued calls
    int nextId_ = 1;
    std::map<int, Watch> watches_;
    std::map<int, Timer> timers_;
};
