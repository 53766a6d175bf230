#include "CardServerTest.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <fstream>

#include "Dish.h"
#include "kestrel/CPIDFilter.h"
#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"

namespace {

const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";
const char* kArte = "tsduck-test_012_arte-teletext.ts";

// True when nothing receives on the loopback UDP port.
bool PortIsFree(int port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool free = bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(fd);
    return free;
}

// Above the ports of the server's own tests and outside the usual ephemeral
// range, 100 ports per slot (every handle offset). The slot follows the
// process id; one whose first filter and teletext ports are taken by a test
// running alongside is passed over.
int BasePort() {
    constexpr int kSlots = 40;
    for (int i = 0; i < kSlots; ++i) {
        const int base = 61000 + ((getpid() + i) % kSlots) * 100;
        if (PortIsFree(base + 1) && PortIsFree(base + 2) && PortIsFree(base + 32)) return base;
    }
    return 61000 + (getpid() % kSlots) * 100;
}

std::unique_ptr<CProgramInfo> Program(const char* name, const char* lnb, std::int32_t frequency,
                                      std::int32_t polarisation) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = name;
    p->LnbName = lnb;
    p->Frequency = frequency;
    p->PolarisationOrQam = polarisation;
    p->SymbolRate = 27500000;
    return p;
}

}  // namespace

void CardServerTest::SetUp() {
    const std::filesystem::path data = SVL_TESTDATA_DIR;
    for (const char* capture : {kRai, kArte})
        if (!std::filesystem::exists(data / capture))
            GTEST_SKIP() << "broadcast capture not found: " << (data / capture).string();
    static int counter = 0;
    const std::string name = "rcv" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(dir_);
    setenv("KESTREL_INSTANCE", name.c_str(), 1);
    setenv("KESTREL_REGISTRY", (dir_ / "registry.db").c_str(), 1);
    setenv("KESTREL_SERVER_LOG", (dir_ / "server.log").c_str(), 1);
    config_ = (dir_ / "i.conf").string();
    std::ofstream(config_) << "[card]\nbase_port = " << BasePort() << "\n[position A]\n"
                           << "transponder = 12188000 V 27500000 " << (data / kRai).string() << "\n"
                           << "transponder = 11836000 H 27500000 " << (data / kArte).string()
                           << "\n";

    // The installation's dish: a universal LNB on tone burst A.
    list_.Lnbs.Set("Astra", UniversalLnbOnBurstA());
    list_.Programs.push_back(Program("Rai", "Astra", 12188000, 1));
    list_.Programs.push_back(Program("Arte", "Astra", 11836000, 0));
    list_.Programs.push_back(Program("Leer", "Astra", 12500000, 0));
    list_.Programs.push_back(Program("Ohne LNB", "Unbekannt", 12188000, 1));
}

bool CardServerTest::Connect(const std::string& serverOptions,
                             std::chrono::milliseconds keepAlive) {
    kestrel::CRegistry registry;
    if (!registry.Open((dir_ / "registry.db").string())) return false;
    const std::string path =
        std::string(NVDVBSRV_PATH) + " --config " + config_ + " " + serverOptions;
    if (!registry.WriteString(kestrel::kServerSettingsKey, kestrel::kServerPathValue, path))
        return false;
    kestrel::ConnectTimings timings;
    timings.statusMutexPoll = std::chrono::milliseconds(20);
    timings.statusMemoryPoll = std::chrono::milliseconds(20);
    timings.keepAlivePeriod = keepAlive;
    auto& connection = kestrel::CServerConnection::Instance();
    const bool ok = connection.Connect(timings);
    if (!ok) ADD_FAILURE() << connection.LastError();
    return ok;
}

std::size_t CardServerTest::TakeEveryFilter() {
    const std::uint8_t table[] = {0x4E}, all[] = {0xFF};
    constexpr std::size_t kMoreThanAnyCard = 1000;
    while (taken_.size() < kMoreThanAnyCard) {
        auto filter = std::make_shared<CPIDFilter>();
        if (filter->SetBitFilter(0x12, table, all, 1, 4) != CCommonDVB::RET_OK) break;
        taken_.push_back(std::move(filter));
    }
    return taken_.size();
}

void CardServerTest::ReleaseOneFilter() {
    if (!taken_.empty()) taken_.pop_back();
}

void CardServerTest::TearDown() {
    taken_.clear();
    auto& connection = kestrel::CServerConnection::Instance();
    const int pid = connection.StartedServerPid();
    connection.Disconnect();
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}

bool RunLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) return false;
        QTest::qWait(5);
    }
    return true;
}

void RunLoopFor(std::chrono::milliseconds duration) {
    RunLoopUntil([] { return false; }, duration);
}

bool CrcHolds(std::span<const std::uint8_t> section) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t byte : section) {
        crc ^= std::uint32_t(byte) << 24;
        for (int i = 0; i < 8; ++i) crc = (crc & 0x80000000) ? (crc << 1) ^ 0x04C11DB7 : crc << 1;
    }
    return crc == 0;
}
