#pragma once
// The event loop the library needs: descriptor watches and timers, all run on
// the thread that owns the loop (the program's GUI thread). The Qt program
// implements it with QSocketNotifier/QTimer; CPollDispatcher serves tests and
// command-line tools.
#include <functional>

namespace kestrel {

class IDispatcher {
  public:
    using Callback = std::function<void()>;
    virtual ~IDispatcher() = default;

    /// Calls cb from the loop whenever fd is readable. Returns a watch id > 0.
    virtual int WatchReadable(int fd, Callback cb) = 0;
    virtual void Unwatch(int watchId) = 0;
    /// Calls cb every periodMs from the loop. Returns a timer id > 0.
    virtual int StartTimer(int periodMs, Callback cb) = 0;
    virtual void StopTimer(int timerId) = 0;
    /// Calls cb once, soon, from the loop (not from inside this call).
    virtual void Defer(Callback cb) = 0;
};

/// The process-wide dispatcher used by the library's receivers and the
/// keep-alive. Until a program installs its own, this is a CPollDispatcher
/// owned by the library (see DefaultPollDispatcher()).
IDispatcher& Dispatcher();
/// Installs the program's dispatcher (null restores the default). The caller
/// keeps ownership and must keep it alive while the library uses it.
void SetDispatcher(IDispatcher* dispatcher);

class CPollDispatcher;
/// The library's own poll() dispatcher.
CPollDispatcher& DefaultPollDispatcher();

}  // namespace kestrel
