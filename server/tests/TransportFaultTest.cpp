// The client library against a real server that stops or dies: requests come
// back within the answer limit, the unload's disconnect ends, and after a
// kill every further call returns at once. No capture is needed: the card
// runs without a transponder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "kestrel/CBoardControl.h"
#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kReplyLimit = 500ms;
constexpr auto kDisconnectLimit = 300ms;

class TransportFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int counter = 0;
        const std::string name = "tf" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        dir_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(dir_);
        setenv("KESTREL_INSTANCE", name.c_str(), 1);
        setenv("HOME", dir_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
        const std::string registry = (dir_ / "registry.db").string();
        setenv("KESTREL_REGISTRY", registry.c_str(), 1);
        const std::string config = (dir_ / "installation.conf").string();
        std::ofstream(config) << "[card]\nbase_port = " << 30000 + (getpid() % 300) * 100 + 10
                              << "\n";
        kestrel::CRegistry reg;
        ASSERT_TRUE(reg.Open(registry));
        ASSERT_TRUE(reg.WriteString(kestrel::kServerSettingsKey, kestrel::kServerPathValue,
                                    std::string(NVDVBSRV_PATH) + " --config " + config));
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
        // A killed server leaves its shared objects behind.
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator("/dev/shm", ec))
            if (e.path().filename().string().find(dir_.filename().string()) != std::string::npos)
                std::filesystem::remove(e.path(), ec);
        std::filesystem::remove_all(dir_, ec);
    }
    static kestrel::CServerConnection& Connection() {
        return kestrel::CServerConnection::Instance();
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

}  // namespace
