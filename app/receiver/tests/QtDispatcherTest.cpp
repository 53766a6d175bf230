// The client library's event loop on Qt: watches, timers and deferred calls,
// and removing them from inside their own callbacks.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>

#include "receiver/CQtDispatcher.h"

namespace {

// Runs the Qt loop until `done` or the time is up; true when done.
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QTest::qWait(5);
    }
    return true;
}

void RunFor(int ms) { QTest::qWait(ms); }

class QtDispatcher : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(socketpair(AF_UNIX, SOCK_DGRAM, 0, fds_), 0); }
    void TearDown() override {
        for (int fd : fds_)
            if (fd >= 0) close(fd);
    }
    void Send() { ASSERT_EQ(write(fds_[1], "x", 1), 1); }
    // Reads one datagram; false when none is waiting.
    bool Drain() {
        char c;
        return recv(fds_[0], &c, 1, MSG_DONTWAIT) == 1;
    }
    int fds_[2] = {-1, -1};
};

}  // namespace

TEST_F(QtDispatcher, ReadableWatchFiresOnlyWhenThereIsData) {
    CQtDispatcher d;
    int fired = 0;
    const int id = d.WatchReadable(fds_[0], [&] {
        ++fired;
        Drain();
    });
    EXPECT_GT(id, 0);
    RunFor(50);
    EXPECT_EQ(fired, 0);
    Send();
    ASSERT_TRUE(RunUntil([&] { return fired == 1; }));
    Send();
    ASSERT_TRUE(RunUntil([&] { return fired == 2; }));
    d.Unwatch(id);
    d.Unwatch(id);  // twice is harmless
    Send();
    RunFor(50);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(d.WatchCount(), 0u);
}

// The library closes a datagram socket from inside its callback: the watch
// goes, the descriptor is closed, and nothing fires for it again.
TEST_F(QtDispatcher, WatchRemovedAndClosedInsideItsCallback) {
    CQtDispatcher d;
    int fired = 0;
    int id = 0;
    id = d.WatchReadable(fds_[0], [&] {
        ++fired;
        d.Unwatch(id);
        close(fds_[0]);
        fds_[0] = -1;
    });
    Send();
    ASSERT_TRUE(RunUntil([&] { return fired == 1; }));
    RunFor(50);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(d.WatchCount(), 0u);
}

TEST(QtDispatcherTimer, RepeatsAtItsPeriodUntilStopped) {
    CQtDispatcher d;
    int ticks = 0;
    QElapsedTimer clock;
    clock.start();
    const int id = d.StartTimer(30, [&] { ++ticks; });
    ASSERT_TRUE(RunUntil([&] { return ticks >= 3; }));
    EXPECT_GE(clock.elapsed(), 85);  // three periods, not three spins of the loop
    d.StopTimer(id);
    const int stoppedAt = ticks;
    RunFor(120);
    EXPECT_EQ(ticks, stoppedAt);
    EXPECT_EQ(d.TimerCount(), 0u);
}

TEST(QtDispatcherTimer, StoppedFromInsideItsOwnCallback) {
    CQtDispatcher d;
    int ticks = 0;
    int id = 0;
    id = d.StartTimer(10, [&] {
        if (++ticks == 3) d.StopTimer(id);
    });
    ASSERT_TRUE(RunUntil([&] { return ticks == 3; }));
    RunFor(80);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(d.TimerCount(), 0u);
}

TEST(QtDispatcherDefer, NeverRunsInsideTheCallAndRunsOnce) {
    CQtDispatcher d;
    int runs = 0;
    d.Defer([&] { ++runs; });
    EXPECT_EQ(runs, 0);
    ASSERT_TRUE(RunUntil([&] { return runs == 1; }));
    RunFor(30);
    EXPECT_EQ(runs, 1);
}

TEST(QtDispatcherDefer, DroppedWithTheDispatcher) {
    int runs = 0;
    {
        CQtDispatcher d;
        d.Defer([&] { ++runs; });
        d.StartTimer(1, [&] { ++runs; });
    }
    RunFor(50);
    EXPECT_EQ(runs, 0);
}
