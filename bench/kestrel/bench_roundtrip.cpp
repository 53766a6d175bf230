// Round trip of one library request (write the block, send, wait for the
// result, read the reply under the mutex) against a minimal server thread,
// next to a bare ping-pong of the same frames on the same kind of socket.
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "kestrel/CFrontend.h"
#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"
#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

using namespace kestrel::protocol;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWarmup = 2000;
constexpr int kRounds = 20000;

struct Stats {
    double median, p99, perSecond;
};

Stats Summarise(std::vector<double> us, double totalSeconds) {
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100], us.size() / totalSeconds};
}

template <typename Op>
Stats Measure(Op op) {
    for (int i = 0; i < kWarmup; ++i) op();
    std::vector<double> us;
    us.reserve(kRounds);
    const auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
        const auto t0 = Clock::now();
        op();
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    return Summarise(std::move(us), std::chrono::duration<double>(Clock::now() - start).count());
}

// Bare transport: one Send frame, one Result frame, nothing else.
Stats BarePingPong() {
    int sv[2];
    socketpair(AF_UNIX, SOCK_SEQPACKET, 0, sv);
    std::thread echo([fd = sv[1]] {
        Frame f;
        while (RecvFrame(fd, f, -1) == RecvStatus::Ok) {
            f.kind = FrameKind::Result;
            SendFrame(fd, f);
        }
    });
    std::uint32_t seq = 0;
    const Stats s = Measure([&] {
        Frame f;
        f.seq = ++seq;
        SendFrame(sv[0], f);
        RecvFrame(sv[0], f, -1);
    });
    shutdown(sv[0], SHUT_RDWR);
    close(sv[0]);
    echo.join();
    close(sv[1]);
    return s;
}

// The smallest server that speaks the protocol: one client, id 1.
class MiniServer {
  public:
    MiniServer() {
        const auto pid = static_cast<std::uint32_t>(getpid());
        listen_ = ListenLocal(ServerSocketName(pid));
        status_.Create(StatusMemoryName(), kStatusBlockSize);
        BlockWriter(std::span<std::uint8_t>(status_.data(), 4)).U32(0, pid);
        statusMutex_.Create(StatusMutexName());
        thread_ = std::thread([this] { Run(); });
    }
    ~MiniServer() {
        thread_.join();
        close(listen_);
        for (const auto& n :
             {StatusMemoryName(), StatusMutexName(), ParamMemoryName(1), ParamMutexName(1)})
            SharedMemory::Unlink(n);
    }

  private:
    void Run() {
        const int fd = accept(listen_, nullptr, nullptr);
        Frame f;
        while (RecvFrame(fd, f, -1) == RecvStatus::Ok) {
            Frame r;
            r.kind = FrameKind::Result;
            r.seq = f.seq;
            r.lParam = Answer(f);
            SendFrame(fd, r);
            if (f.lParam == static_cast<std::uint32_t>(LinkOp::Disconnect)) break;
        }
        close(fd);
    }
    std::uint32_t Answer(const Frame& f) {
        switch (static_cast<LinkOp>(f.lParam)) {
            case LinkOp::Connect:
                paramMutex_.Create(ParamMutexName(1));
                param_.Create(ParamMemoryName(1), kParamBlockSize);
                return 1;
            case LinkOp::Request: {
                paramMutex_.LockForever();
                std::span<std::uint8_t> b(param_.data(), kParamBlockSize);
                BlockWriter(b).U32(8, 11494000 + BlockReader(b).U16(0));
                paramMutex_.Unlock();
                return 1;
            }
            default:
                return 0;
        }
    }
    int listen_ = -1;
    SharedMemory status_, param_;
    SharedMutex statusMutex_, paramMutex_;
    std::thread thread_;
};

void Print(const char* name, double v, const char* unit, double base) {
    std::printf("BENCH %s %.2f %s baseline %.2f %s ratio %.3f\n", name, v, unit, base, unit,
                v / base);
}

// Starts nvdvbsrv (no transponder) through the library and measures the
// request against it; zeros when it does not come up.
Stats ThroughTheCard(const std::filesystem::path& dir) {
    const std::string config = (dir / "card.conf").string();
    std::FILE* f = std::fopen(config.c_str(), "w");
    if (!f) return {};
    std::fprintf(f, "[card]\nbase_port = %d\n", 30000 + (getpid() % 300) * 100 + 80);
    std::fclose(f);
    setenv("KESTREL_INSTANCE", ("benchcard" + std::to_string(getpid())).c_str(), 1);
    {
        kestrel::CRegistry reg;
        reg.Open();
        reg.WriteString(kestrel::kServerSettingsKey, kestrel::kServerPathValue,
                        std::string(NVDVBSRV_PATH) + " --config " + config);
    }
    auto& connection = kestrel::CServerConnection::Instance();
    kestrel::ConnectTimings t;
    t.statusMutexPoll = t.statusMemoryPoll = std::chrono::milliseconds(5);
    if (!connection.Connect(t)) {
        std::fprintf(stderr, "card: %s\n", connection.LastError().c_str());
        return {};
    }
    const int pid = connection.StartedServerPid();
    CFrontend fe;
    std::uint32_t freq = 0;
    const Stats stats = Measure([&] { fe.GetFrequency(freq); });
    connection.Disconnect();
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return stats;
}

}  // namespace

int main() {
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench_roundtrip_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("KESTREL_INSTANCE", ("bench" + std::to_string(getpid())).c_str(), 1);
    setenv("KESTREL_REGISTRY", (dir / "registry.db").c_str(), 1);
    {
        kestrel::CRegistry reg;
        reg.Open();
        reg.WriteString(kestrel::kServerSettingsKey, kestrel::kServerPathValue, "/bin/true");
    }
    const Stats bare = BarePingPong();
    Stats req{};
    {
        MiniServer server;
        kestrel::ConnectTimings t;
        t.statusMutexPoll = t.statusMemoryPoll = std::chrono::milliseconds(1);
        t.paramMutexPoll = t.paramMemoryPoll = std::chrono::milliseconds(1);
        if (!kestrel::CServerConnection::Instance().Connect(t)) {
            std::fprintf(stderr, "%s\n",
                         kestrel::CServerConnection::Instance().LastError().c_str());
            return 1;
        }
        CFrontend fe;
        std::uint32_t freq = 0;
        req = Measure([&] { fe.GetFrequency(freq); });
        if (freq != 11494000 + 32) std::fprintf(stderr, "unexpected reply %u\n", freq);
        kestrel::CServerConnection::Instance().Disconnect();
    }
    // The same request through the emulated card's own server (its queues,
    // its credential check, its request handler), in its own process.
    const Stats card = ThroughTheCard(dir);
    std::filesystem::remove_all(dir);
    Print("kestrel_request_median", req.median, "us", bare.median);
    Print("kestrel_request_p99", req.p99, "us", bare.p99);
    Print("kestrel_requests_per_second", req.perSecond, "req/s", bare.perSecond);
    if (card.median > 0) {
        Print("kestrel_card_request_median", card.median, "us", bare.median);
        Print("kestrel_card_request_p99", card.p99, "us", bare.p99);
    }
    return 0;
}
