#include "ServerHarness.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"
#include "kestrel/protocol/Wire.h"

namespace kp = kestrel::protocol;

namespace harness {

std::string ServerPath() { return NVDVBSRV_PATH; }
std::string TestDataDir() { return SVL_TESTDATA_DIR; }

std::string MakeTempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "nvdvbsrv-test-XXXXXX").string();
    char* d = mkdtemp(templ.data());
    return d ? std::string(d) : std::string();
}

uint16_t UniquePort() {
    // 20000..59000 in steps of 100 per process; 100 ports cover every offset used.
    return uint16_t(20000 + (getpid() % 390) * 100);
}

std::string UniqueInstance(const std::string& test) {
    return "t" + std::to_string(getpid()) + "-" + test;
}

ServerProcess::ServerProcess(const std::string& instance, const std::string& configText,
                             std::vector<std::string> extraArgs)
    : suffix_(kp::InstanceSuffixFor(instance)), dir_(MakeTempDir()) {
    const std::string config = dir_ + "/installation.conf";
    std::ofstream(config) << configText;
    std::vector<std::string> args = {ServerPath(), "--config", config, "--instance", instance};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    pid_ = fork();
    if (pid_ == 0) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    // Up when the status block names a server that accepts connections.
    for (int i = 0; i < 250 && !up_; ++i) {
        kp::SharedMemory status;
        if (status.Open(kp::StatusMemoryName(suffix_), 4, false) && status.Map()) {
            uint32_t pid = kp::BlockReader(std::span<const uint8_t>(status.data(), 4)).U32(0);
            int fd = kp::ConnectLocal(kp::ServerSocketName(pid, suffix_));
            if (fd >= 0) {
                close(fd);
                up_ = true;
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

ServerProcess::~ServerProcess() {
    Terminate();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

int ServerProcess::WaitExit(int timeoutMs) {
    for (int i = 0; pid_ > 0 && i <= timeoutMs / 10; ++i) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

int ServerProcess::Terminate() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return -1;
}

TestClient::TestClient(const std::string& suffix) {
    kp::SharedMemory status;
    if (!status.Open(kp::StatusMemoryName(suffix), 4, false) || !status.Map()) return;
    uint32_t pid = kp::BlockReader(std::span<const uint8_t>(status.data(), 4)).U32(0);
    fd_ = kp::ConnectLocal(kp::ServerSocketName(pid, suffix));
    if (fd_ < 0) return;
    const uint32_t id = Send(uint32_t(kp::LinkOp::Connect), true) & 0xFFFF;
    if (id == 0) return;
    if (!mutex_.Open(kp::ParamMutexName(uint16_t(id), suffix)) ||
        !block_.Open(kp::ParamMemoryName(uint16_t(id), suffix), 408, true) || !block_.Map()) {
        return;
    }
    id_ = uint16_t(id);
}

TestClient::~TestClient() {
    if (id_) Disconnect();
    if (fd_ >= 0) close(fd_);
}

uint32_t TestClient::Send(uint32_t op, bool wait) {
    kp::Frame f;
    f.kind = wait ? kp::FrameKind::Send : kp::FrameKind::Post;
    f.seq = ++seq_;
    f.wParam = id_;
    f.lParam = op;
    if (!kp::SendFrame(fd_, f)) return 0;
    if (!wait) return 0;
    kp::Frame r;
    if (kp::RecvFrame(fd_, r, 10000) != kp::RecvStatus::Ok) return 0;
    return r.lParam;
}

uint32_t TestClient::Request(uint16_t code, const std::function<void(Block&)>& fill) {
    {
        kp::SharedMutexGuard g(mutex_, std::chrono::milliseconds(1000));
        if (!g.owns()) return 9;
        Block b;
        std::copy_n(block_.data(), 408, b.begin());
        kp::BlockWriter(b).U16(0, code);
        if (fill) fill(b);
        std::copy(b.begin(), b.end(), block_.data());
    }
    const uint32_t result = Send(uint32_t(kp::LinkOp::Request), true);
    kp::SharedMutexGuard g(mutex_, std::chrono::milliseconds(1000));
    if (!g.owns()) return 9;
    std::copy_n(block_.data(), 408, reply_.begin());
    return result;
}

uint32_t TestClient::U32(size_t off) const { return kp::BlockReader(reply_).U32(off); }
uint16_t TestClient::U16(size_t off) const { return kp::BlockReader(reply_).U16(off); }
void TestClient::KeepAlive() { Send(uint32_t(kp::LinkOp::KeepAlive), false); }

void TestClient::Disconnect() {
    block_.Close();
    mutex_.Close();
    Send(uint32_t(kp::LinkOp::Disconnect), true);
    id_ = 0;
}

void TestClient::Vanish() {
    block_.Close();
    mutex_.Close();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    id_ = 0;
}

void Put32(TestClient::Block& b, size_t off, uint32_t v) { kp::BlockWriter(b).U32(off, v); }

UdpReceiver::UdpReceiver(uint16_t port) {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int big = 4 << 20;
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

UdpReceiver::~UdpReceiver() {
    if (fd_ >= 0) close(fd_);
}

std::optional<std::vector<uint8_t>> UdpReceiver::Receive(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
    std::vector<uint8_t> buf(8192);
    ssize_t n = recv(fd_, buf.data(), buf.size(), 0);
    if (n < 0) return std::nullopt;
    buf.resize(size_t(n));
    return buf;
}

std::vector<std::vector<uint8_t>> UdpReceiver::Collect(std::chrono::milliseconds duration) {
    std::vector<std::vector<uint8_t>> out;
    const auto end = std::chrono::steady_clock::now() + duration;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        if (auto d = Receive(int(left.count()))) out.push_back(std::move(*d));
    }
    return out;
}

}  // namespace harness
