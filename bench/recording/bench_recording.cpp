// The network engine on loopback:
//   record_throughput   datagrams of 8192 bytes from a local sender to the
//                       engine and into the file, at most 32 in flight (well
//                       within the engine's receive buffer), against writing
//                       the same bytes to a file plainly (target ratio >= 0.8),
//                       and against a bare receiver on the same socket that
//                       blocks in recv and writes (record_vs_bare_receiver);
//   record_realtime_cpu the process's CPU time over wall time while a card in
//                       another process streams 6 Mbit/s for 5 s, against the
//                       bare receiver;
//   play_realtime_cpu   the same while the engine plays a 5-second PVA file of
//                       6 Mbit/s at its pace to a card in another process,
//                       against a bare loop that sleeps until each packet's
//                       time and sends it.
// Prints: BENCH <name> <value> <unit> baseline <value> <unit> ratio <r>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "kestrel/protocol/RecorderDatagram.h"
#include "receiver/CFakeDeviceSet.h"
#include "recording/CRecorderSocket.h"
#include "recording/CWSFileStreamer.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;
namespace datagram = kestrel::protocol::recorder;

constexpr std::uint32_t kCardIp = 0x7F000001;
constexpr std::uint32_t kCardOwnIp = 0x7F0000FF;
constexpr std::size_t kDatagram = datagram::kDatagramBytes;
constexpr int kThroughputDatagrams = 10000;
constexpr int kRounds = 3;
constexpr double kRealTimeSeconds = 5;
constexpr double kRealTimeKbit = 6000;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ProcessCpu() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

sockaddr_in Address(std::uint32_t ip, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(ip);
    a.sin_port = htons(port);
    return a;
}

int UdpSocket(std::uint32_t ip, std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int buffer = 1 << 20;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    const sockaddr_in a = Address(ip, port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::uint16_t FreeBasePort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int probe = UdpSocket(kCardIp, 0);
        sockaddr_in a{};
        socklen_t n = sizeof a;
        getsockname(probe, reinterpret_cast<sockaddr*>(&a), &n);
        ::close(probe);
        const int base = ntohs(a.sin_port) - 40;
        if (base < 1024) continue;
        const int r = UdpSocket(kCardIp, std::uint16_t(base + 33)),
                  p = UdpSocket(kCardIp, std::uint16_t(base + 35)),
                  o = UdpSocket(kCardOwnIp, std::uint16_t(base + 35));
        const bool free = r >= 0 && p >= 0 && o >= 0;
        for (const int fd : {r, p, o})
            if (fd >= 0) ::close(fd);
        if (free) return std::uint16_t(base);
    }
    std::fprintf(stderr, "bench_recording: no free base port\n");
    std::exit(1);
}

std::uint64_t FileSize(const std::string& path) {
    struct stat s {};
    return stat(path.c_str(), &s) == 0 ? std::uint64_t(s.st_size) : 0;
}

struct Throughput {
    double mbPerS = 0;
    int lost = 0;
};

// Datagrams in flight: 256 KiB, a quarter of the engine's receive buffer.
constexpr std::uint64_t kAhead = 32;

// Sends `count` datagrams to port, never more than kAhead ahead of what has
// reached `path`; a datagram that does not arrive within 100 ms counts as lost.
Throughput SendPaced(std::uint16_t port, const std::string& path, int count) {
    const int fd = UdpSocket(kCardIp, 0);
    const sockaddr_in to = Address(kCardIp, port);
    const Bytes d(kDatagram, 0x5A);
    Throughput t;
    std::uint64_t expected = 0;
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        sendto(fd, d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        expected += kDatagram;
        const auto give_up = Clock::now() + milliseconds(100);
        while (FileSize(path) + kAhead * kDatagram <= expected) {
            if (Clock::now() > give_up) {
                ++t.lost;
                expected = FileSize(path) + kDatagram;
                break;
            }
            std::this_thread::yield();
        }
    }
    // The last ones; one missing here was lost on the way.
    for (auto give_up = Clock::now() + milliseconds(100);
         FileSize(path) < expected && Clock::now() < give_up;)
        std::this_thread::yield();
    if (FileSize(path) < expected) t.lost += int((expected - FileSize(path)) / kDatagram);
    t.mbPerS = double(FileSize(path)) / 1e6 / Seconds(Clock::now() - start);
    ::close(fd);
    return t;
}

// Receives on the engine's socket settings, blocking, and writes each datagram.
class BareReceiver {
  public:
    BareReceiver(std::uint16_t base, const std::string& path) {
        socket_.Open(*RecorderEndpointsOf("127.0.0.1", "255.255.255.0", std::to_string(base),
                                          datagram::kRecordPortOffset));
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        thread_ = std::thread([this] {
            Bytes b(kDatagram);
            while (run_)
                if (const std::size_t n = socket_.Receive(b, milliseconds(100)))
                    if (::write(fd_, b.data(), n) != ssize_t(n)) break;
        });
    }
    ~BareReceiver() {
        run_ = false;
        thread_.join();
        ::close(fd_);
    }

  private:
    CRecorderSocket socket_;
    int fd_ = -1;
    std::atomic<bool> run_{true};
    std::thread thread_;
};

struct Engine {
    CFakeDeviceSet card;
    CWSFileStreamer streamer{card};
    explicit Engine(std::uint16_t base) {
        card.basePort = std::to_string(base);
        card.mask = "255.255.255.0";
    }
};

double PlainWriteMbPerS(const std::string& path, int count) {
    const Bytes d(kDatagram, 0x5A);
    const auto start = Clock::now();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (int i = 0; i < count; ++i)
        if (::write(fd, d.data(), d.size()) != ssize_t(d.size())) break;
    ::close(fd);
    return double(kDatagram) * count / 1e6 / Seconds(Clock::now() - start);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "bench_recording: %s failed\n", what);
    std::exit(1);
}

void Report(const char* name, double value, const char* unit, double base, const char* baseUnit) {
    std::printf("BENCH %s %.3f %s baseline %.3f %s ratio %.3f\n", name, value, unit, base, baseUnit,
                value / base);
    std::fflush(stdout);
}

void RecordThroughput(std::uint16_t base, const std::string& dir) {
    std::vector<double> engine, bare, plain;
    int lostEngine = 0, lostBare = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string path = dir + "/rec.pva";
        {
            Engine e(base);
            Require(e.streamer.Open(path, 5, 0) == 1 && e.streamer.Record() == 1, "recording");
            const Throughput t = SendPaced(std::uint16_t(base + 33), path, kThroughputDatagrams);
            engine.push_back(t.mbPerS);
            lostEngine += t.lost;
            e.streamer.Stop();
            e.streamer.Close();
        }
        {
            BareReceiver r(base, path);
            const Throughput t = SendPaced(std::uint16_t(base + 33), path, kThroughputDatagrams);
            bare.push_back(t.mbPerS);
            lostBare += t.lost;
        }
        plain.push_back(PlainWriteMbPerS(path, kThroughputDatagrams));
    }
    Report("record_throughput", Median(engine), "MB/s", Median(plain), "MB/s");
    Report("record_vs_bare_receiver", Median(engine), "MB/s", Median(bare), "MB/s");
    std::printf("# lost datagrams: engine %d, bare receiver %d of %d\n", lostEngine, lostBare,
                kRounds * kThroughputDatagrams);
}

// Runs `child` in another process (the card's side); returns its id.
pid_t Spawn(const std::function<void()>& child) {
    const pid_t pid = fork();
    if (pid == 0) {
        child();
        _exit(0);
    }
    return pid;
}

void Reap(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// The card streaming a recording: 6 Mbit/s in datagrams of 7500 bytes.
void CardStreams(std::uint16_t port) {
    const int fd = UdpSocket(kCardIp, 0);
    const sockaddr_in to = Address(kCardIp, port);
    const Bytes d(7500, 0x33);
    const auto gap = std::chrono::duration<double>(double(d.size()) * 8 / (kRealTimeKbit * 1000));
    const auto start = Clock::now();
    for (int i = 0; Seconds(Clock::now() - start) < kRealTimeSeconds + 1; ++i) {
        sendto(fd, d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        std::this_thread::sleep_until(start +
                                      std::chrono::duration_cast<Clock::duration>(gap * (i + 1)));
    }
}

// The card taking playback datagrams.
void CardDrains(std::uint16_t port) {
    const int fd = UdpSocket(kCardOwnIp, port);
    Bytes b(kDatagram);
    for (;;) recv(fd, b.data(), b.size(), 0);
}

double CpuShareOver(double seconds) {
    const double cpu = ProcessCpu();
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return (ProcessCpu() - cpu) / Seconds(Clock::now() - start);
}

void RecordRealTimeCpu(std::uint16_t base, const std::string& dir) {
    const std::string path = dir + "/live.pva";
    double engine = 0, bare = 0;
    {
        Engine e(base);
        e.streamer.Open(path, 5, 0);
        e.streamer.Record();
        const pid_t card = Spawn([&] { CardStreams(std::uint16_t(base + 33)); });
        std::this_thread::sleep_for(milliseconds(300));
        engine = CpuShareOver(kRealTimeSeconds - 0.5);
        Reap(card);
        e.streamer.Stop();
        e.streamer.Close();
    }
    {
        BareReceiver r(base, path);
        const pid_t card = Spawn([&] { CardStreams(std::uint16_t(base + 33)); });
        std::this_thread::sleep_for(milliseconds(300));
        bare = CpuShareOver(kRealTimeSeconds - 0.5);
        Reap(card);
    }
    Report("record_realtime_cpu", engine * 100, "%", bare * 100, "%");
}

// 5 s of 6 Mbit/s: 25 pictures a second of 30 000 bytes in four packets
// (the first with the PTS), an audio packet after each picture.
Bytes PvaFile() {
    Bytes f;
    auto packet = [&f](std::uint8_t stream, std::optional<std::uint32_t> pts, std::size_t n) {
        const std::size_t length = n + (pts ? 4 : 0);
        f.insert(f.end(), {'A', 'V', stream, 0, 0x55, std::uint8_t(pts ? 0x10 : 0),
                           std::uint8_t(length >> 8), std::uint8_t(length)});
        if (pts)
            for (int i = 3; i >= 0; --i) f.push_back(std::uint8_t(*pts >> (8 * i)));
        f.insert(f.end(), n, stream);
    };
    for (int i = 0; i <= int(kRealTimeSeconds * 25); ++i) {
        for (int part = 0; part < 4; ++part)
            packet(1,
                   part == 0 ? std::optional<std::uint32_t>(std::uint32_t(i) * 3600) : std::nullopt,
                   7500);
        packet(2, std::nullopt, 1000);
    }
    return f;
}

// The least a paced sender does: sleep until each picture's time, send its packets.
void BarePlayer(std::uint16_t base, const Bytes& pva) {
    CRecorderSocket socket;
    socket.Open(*RecorderEndpointsOf("127.0.0.1", "255.255.255.0", std::to_string(base),
                                     datagram::kPlaybackPortOffset));
    Bytes d(kDatagram);
    const auto start = Clock::now();
    int picture = 0;
    for (std::size_t at = 0; at + 8 <= pva.size();) {
        const std::size_t n = 8 + (std::size_t(pva[at + 6]) << 8 | pva[at + 7]);
        if (pva[at + 2] == 1 && (pva[at + 5] & 0x10))
            std::this_thread::sleep_until(start + milliseconds(40 * picture++));
        datagram::WritePrefix(d.data(), n);
        std::copy_n(pva.begin() + std::ptrdiff_t(at), n, d.begin() + 2);
        socket.Send(std::span(d.data(), n + 2), milliseconds(5));
        at += n;
    }
}

void PlayRealTimeCpu(std::uint16_t base, const std::string& dir) {
    const std::string path = dir + "/play.pva";
    const Bytes pva = PvaFile();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(pva.data()), std::streamsize(pva.size()));
    const pid_t card = Spawn([&] { CardDrains(std::uint16_t(base + 35)); });
    std::this_thread::sleep_for(milliseconds(100));
    double engine = 0, bare = 0;
    {
        Engine e(base);
        e.streamer.Open(path, 5, 1);
        e.streamer.Playback(0);
        engine = CpuShareOver(kRealTimeSeconds - 0.5);
        e.streamer.Stop();
        e.streamer.Close();
    }
    {
        std::thread player([&] { BarePlayer(base, pva); });
        bare = CpuShareOver(kRealTimeSeconds - 0.5);
        player.join();
    }
    Reap(card);
    Report("play_realtime_cpu", engine * 100, "%", bare * 100, "%");
}

}  // namespace

int main() {
    char pattern[] = "/tmp/bench_recording.XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) return 1;
    const std::uint16_t base = FreeBasePort();
    RecordThroughput(base, dir);
    RecordRealTimeCpu(base, dir);
    PlayRealTimeCpu(base, dir);
    std::filesystem::remove_all(dir);
    return 0;
}
