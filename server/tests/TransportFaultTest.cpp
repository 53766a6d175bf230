// The client library against a real server that stops or dies: requests come
// back within the answer limit, the unload's disconnect ends, and after a
// kill every further call returns at once. No capture is needed: the card
// runs without a transponder.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "CInstanceLock.h"
#include "ClientEnvironment.h"
#include "kestrel/CBoardControl.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"
#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
namespace kp = kestrel::protocol;
using nvdvbsrv::CInstanceLock;

constexpr auto kReplyLimit = 500ms;
constexpr auto kDisconnectLimit = 300ms;

class TransportFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int counter = 0;
        dir_ = testutil::IsolateClient("tf" + std::to_string(getpid()) + "_" +
                                       std::to_string(++counter));
        const std::string config = (dir_ / "installation.conf").string();
        std::ofstream(config) << "[card]\nbase_port = " << 30000 + (getpid() % 300) * 100 + 10
                              << "\n";
        ASSERT_TRUE(
            testutil::RegisterServer(dir_, std::string(NVDVBSRV_PATH) + " --config " + config));
        kestrel::ConnectTimings t;
        t.replyLimit = kReplyLimit;
        t.disconnectLimit = kDisconnectLimit;
        ASSERT_TRUE(Connection().Connect(t)) << Connection().LastError();
        pid_ = Connection().StartedServerPid();
        ASSERT_GT(pid_, 0);
        ASSERT_EQ(board_.PingDVBServer(), CCommonDVB::RET_OK);
    }
    void TearDown() override {
        Connection().Disconnect();
        if (pid_ > 0) {
            kill(pid_, SIGCONT);
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        // A killed server leaves its shared objects and its lock file behind.
        std::error_code ec;
        for (const std::string& folder : {std::string("/dev/shm"), CInstanceLock::Folder()}) {
            for (const auto& e : std::filesystem::directory_iterator(folder, ec))
                if (e.path().filename().string().find(dir_.filename().string()) !=
                    std::string::npos)
                    std::filesystem::remove(e.path(), ec);
        }
        std::filesystem::remove_all(dir_, ec);
    }
    static kestrel::CServerConnection& Connection() {
        return kestrel::CServerConnection::Instance();
    }
    // A client of its own on the link, without the library: connects and
    // registers; its client id (0 when refused), the connection in fd.
    std::uint16_t RawConnect(int& fd) const {
        fd = kp::ConnectLocal(kp::ServerSocketName(pid_, kp::InstanceSuffix()));
        if (fd < 0) return 0;
        kp::Frame f;
        f.kind = kp::FrameKind::Send;
        f.lParam = static_cast<std::uint32_t>(kp::LinkOp::Connect);
        kp::Frame answer;
        if (!kp::SendFrame(fd, f) || kp::RecvFrame(fd, answer, 2000) != kp::RecvStatus::Ok)
            return 0;
        return static_cast<std::uint16_t>(answer.lParam);
    }
    template <class F>
    static Clock::duration Timed(F f) {
        const auto start = Clock::now();
        f();
        return Clock::now() - start;
    }

    std::filesystem::path dir_;
    int pid_ = -1;
    CBoardControl board_;
};

TEST_F(TransportFaultTest, StoppedServerAnswersNothingAndTheUnloadStillEnds) {
    ASSERT_EQ(kill(pid_, SIGSTOP), 0);
    ErrReturn result = CCommonDVB::RET_OK;
    const auto first = Timed([&] { result = board_.PingDVBServer(); });
    EXPECT_EQ(result, CCommonDVB::RET_TIMEOUT);
    EXPECT_GE(first, kReplyLimit - 50ms);
    EXPECT_LT(first, kReplyLimit + 500ms);
    const auto later = Timed([&] {
        EXPECT_NE(board_.PingDVBServer(), CCommonDVB::RET_OK);
        Connection().Disconnect();
    });
    EXPECT_LT(later, kDisconnectLimit + 200ms);
    std::printf("stopped server: first request %.0f ms, the next one and the unload %.0f ms\n",
                std::chrono::duration<double, std::milli>(first).count(),
                std::chrono::duration<double, std::milli>(later).count());
}

TEST_F(TransportFaultTest, KilledServerMakesEveryFurtherCallReturnAtOnce) {
    std::atomic<bool> killed = false;
    std::thread killer([&] {
        std::this_thread::sleep_for(100ms);
        kill(pid_, SIGKILL);
        killed = true;
    });
    // Requests run while the server is killed under them.
    Clock::duration longest{};
    int afterKill = 0;
    while (afterKill < 5) {
        const bool wasKilled = killed;
        ErrReturn result = CCommonDVB::RET_OK;
        longest = std::max(longest, Timed([&] { result = board_.PingDVBServer(); }));
        if (wasKilled) {
            EXPECT_NE(result, CCommonDVB::RET_OK);
            ++afterKill;
        }
    }
    killer.join();
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    EXPECT_LT(longest, 1s);
    EXPECT_LT(Timed([] { Connection().Disconnect(); }), 1s);
}

// A second client that registers and then sends requests as fast as the
// socket takes them, never reading an answer (with its own parameter block
// locked, too, so that each of its requests costs the server its longest
// wait). The program's requests meanwhile are answered within 50 ms.
class FloodTest : public TransportFaultTest {
  protected:
    // Floods while the program sends 40 requests; their longest time.
    Clock::duration FloodAndMeasure(std::uint16_t id) {
        std::atomic<bool> stop = false;
        std::thread flood([&] {
            kp::Frame r;
            r.kind = kp::FrameKind::Send;
            r.wParam = id;
            r.lParam = static_cast<std::uint32_t>(kp::LinkOp::Request);
            while (!stop) {
                ++r.seq;
                const kp::SendStatus st = kp::TrySendFrame(fd_, r);
                if (st == kp::SendStatus::Failed) break;
                if (st == kp::SendStatus::Sent)
                    ++sent_;
                else
                    std::this_thread::yield();
            }
        });
        std::this_thread::sleep_for(50ms);
        Clock::duration longest{};
        for (int i = 0; i < 40; ++i) {
            ErrReturn result = CCommonDVB::RET_TIMEOUT;
            longest = std::max(longest, Timed([&] { result = board_.PingDVBServer(); }));
            EXPECT_EQ(result, CCommonDVB::RET_OK);
            std::this_thread::sleep_for(20ms);
        }
        stop = true;
        flood.join();
        std::printf("flood of %d requests: the program's longest request %.2f ms\n", sent_,
                    std::chrono::duration<double, std::milli>(longest).count());
        return longest;
    }
    // Reads what the server sent the flooder: Closed once it gave it up.
    kp::RecvStatus Drain() {
        kp::Frame answer;
        kp::RecvStatus st = kp::RecvStatus::Ok;
        const auto deadline = Clock::now() + 5s;
        while (st == kp::RecvStatus::Ok && Clock::now() < deadline)
            st = kp::RecvFrame(fd_, answer, 3000);
        return st;
    }
    void TearDown() override {
        if (fd_ >= 0) close(fd_);
        TransportFaultTest::TearDown();
    }
    int fd_ = -1;
    int sent_ = 0;
};

// As fast as it can: its answers fill its socket and then its queue at the
// server, which gives it up.
TEST_F(FloodTest, UnreadAnswersDisconnectTheFlooderAndDelayNobody) {
    const std::uint16_t id = RawConnect(fd_);
    ASSERT_NE(id, 0);
    EXPECT_LT(FloodAndMeasure(id), 50ms);
    EXPECT_EQ(Drain(), kp::RecvStatus::Closed);
    EXPECT_EQ(board_.PingDVBServer(), CCommonDVB::RET_OK);
}

// Its block locked: every one of its requests makes the server wait for the
// mutex, which must not hold up the program.
TEST_F(FloodTest, LockedBlockOfTheFlooderDelaysNobody) {
    const std::uint16_t id = RawConnect(fd_);
    ASSERT_NE(id, 0);
    kp::SharedMutex mutex;
    ASSERT_TRUE(mutex.Open(kp::ParamMutexName(id)));
    ASSERT_EQ(mutex.Lock(100ms), kp::LockResult::Acquired);
    EXPECT_LT(FloodAndMeasure(id), 50ms);
    mutex.Unlock();
}

// Four servers of one instance started at the same moment: exactly one
// serves (its process id in the status memory), the others end by
// themselves without error.
TEST_F(TransportFaultTest, OfServersStartedTogetherExactlyOneServes) {
    const std::string instance = "together" + std::to_string(getpid());
    const std::string config = (dir_ / "together.conf").string();
    std::ofstream(config) << "[card]\nbase_port = " << 30000 + (getpid() % 300) * 100 + 60 << "\n";
    std::vector<pid_t> servers;
    for (int i = 0; i < 4; ++i) {
        std::vector<std::string> args{NVDVBSRV_PATH, "--config", config, "--instance", instance};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t child = -1;
        ASSERT_EQ(posix_spawn(&child, NVDVBSRV_PATH, nullptr, nullptr, argv.data(), environ), 0);
        servers.push_back(child);
    }
    std::this_thread::sleep_for(1500ms);
    std::vector<pid_t> running;
    for (const pid_t p : servers) {
        int status = 0;
        if (waitpid(p, &status, WNOHANG) == 0) {
            running.push_back(p);
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
    }
    ASSERT_EQ(running.size(), 1u);
    kp::SharedMemory status;
    ASSERT_TRUE(status.Open(kp::StatusMemoryName(kp::InstanceSuffixFor(instance)),
                            kp::kStatusBlockSize, false) &&
                status.Map());
    std::uint32_t window = 0;
    std::memcpy(&window, status.data(), sizeof window);
    EXPECT_EQ(window, std::uint32_t(running[0]));
    status.Close();
    kill(running[0], SIGTERM);
    int exitStatus = 0;
    waitpid(running[0], &exitStatus, 0);
    EXPECT_TRUE(WIFEXITED(exitStatus) && WEXITSTATUS(exitStatus) == 0);
}

// A second local user, run as a child process under "nobody" (the tests
// need root for that and skip otherwise).
class SecondUserTest : public TransportFaultTest {
  protected:
    void SetUp() override {
        const passwd* pw = getpwnam("nobody");
        if (geteuid() != 0 || !pw)
            GTEST_SKIP() << "needs root and the user nobody to act as a second user";
        uid_ = pw->pw_uid;
        gid_ = pw->pw_gid;
        TransportFaultTest::SetUp();
    }
    // In a child process: becomes the second user, or ends with 99.
    void BecomeSecondUser() const {
        if (setgroups(0, nullptr) != 0 || setgid(gid_) != 0 || setuid(uid_) != 0) _exit(99);
    }
    // Runs f in a child process as the second user; its exit code.
    int AsSecondUser(const std::function<int()>& f) {
        const pid_t child = fork();
        if (child == 0) {
            BecomeSecondUser();
            _exit(f());
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
    }
    // In the child: connects to the server and sends one frame; 0 when the
    // server closed the connection without an answer.
    int RefusedFrame(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
        const int fd = kp::ConnectLocal(kp::ServerSocketName(pid_, kp::InstanceSuffix()));
        if (fd < 0) return 0;  // not even connected
        kp::Frame f;
        f.kind = kp::FrameKind::Send;
        f.message = message;
        f.wParam = wParam;
        f.lParam = lParam;
        kp::Frame answer;
        const bool sent = kp::SendFrame(fd, f);
        const kp::RecvStatus st = sent ? kp::RecvFrame(fd, answer, 2000) : kp::RecvStatus::Closed;
        close(fd);
        return st == kp::RecvStatus::Closed ? 0 : 1;
    }
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

TEST_F(SecondUserTest, CannotConnectInjectKeysOrUseUpTheClientSlots) {
    const auto connect = static_cast<std::uint32_t>(kp::LinkOp::Connect);
    EXPECT_EQ(AsSecondUser([&] { return RefusedFrame(kp::kDvbClientMessage, 0, connect); }), 0);
    constexpr std::uint32_t kInjectKey = 0x4B455931u;  // the server's private key message
    EXPECT_EQ(AsSecondUser([&] { return RefusedFrame(kInjectKey, 5, 0); }), 0);
    // Seventy attempts in a row leave the slots to this user.
    EXPECT_EQ(AsSecondUser([&] {
                  int failures = 0;
                  for (int i = 0; i < 70; ++i)
                      failures += RefusedFrame(kp::kDvbClientMessage, 0, connect);
                  return failures;
              }),
              0);
    int fd = -1;
    EXPECT_NE(RawConnect(fd), 0);
    if (fd >= 0) close(fd);
    EXPECT_EQ(board_.PingDVBServer(), CCommonDVB::RET_OK);
}

// The second user makes the status objects first, with its own process id,
// and listens under the matching name. The program does not take them for
// the server's: it connects to the real one.
TEST_F(SecondUserTest, CannotStandInAsTheServer) {
    Connection().Disconnect();
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t impostor = fork();
    if (impostor == 0) {
        BecomeSecondUser();
        const std::string memory = kp::StatusMemoryName();
        const int fd = shm_open(memory.c_str(), O_CREAT | O_RDWR, 0644);
        if (fd < 0 || ftruncate(fd, kp::kStatusBlockSize) != 0) _exit(97);
        const std::uint32_t self = std::uint32_t(getpid());
        if (pwrite(fd, &self, sizeof self, 0) != sizeof self) _exit(96);
        kp::SharedMutex mutex;
        const int listener = kp::ListenLocal(kp::ServerSocketName(self, kp::InstanceSuffix()));
        if (!mutex.Create(kp::StatusMutexName()) || listener < 0) _exit(95);
        const char ok = 1;
        if (write(ready[1], &ok, 1) != 1) _exit(94);
        sleep(30);  // the parent kills it
        _exit(0);
    }
    close(ready[1]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    close(ready[0]);

    kestrel::ConnectTimings t;
    t.statusMutexPoll = t.statusMemoryPoll = 20ms;
    ASSERT_TRUE(Connection().Connect(t)) << Connection().LastError();
    pid_ = Connection().StartedServerPid();
    EXPECT_EQ(Connection().ServerWindow(), std::uint32_t(pid_));
    EXPECT_NE(Connection().ServerWindow(), std::uint32_t(impostor));
    EXPECT_EQ(board_.PingDVBServer(), CCommonDVB::RET_OK);
    kill(impostor, SIGKILL);
    waitpid(impostor, nullptr, 0);
}

}  // namespace
