// Reply decoding from arbitrary parameter blocks: a scripted server thread
// answers every request with result 1 and the fuzz input as the block's
// content; every reading operation of the device classes is called.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "kestrel/CBoardControl.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"
#include "kestrel/CMSP3400.h"
#include "kestrel/CPIDFilter.h"
#include "kestrel/CRecordPlayback.h"
#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/CTeletext.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"
#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/SharedMutex.h"
#include "kestrel/protocol/Wire.h"

using namespace kestrel::protocol;

namespace {

// The block content for the next replies (the fuzz input, padded with zeros).
std::uint8_t g_reply[kParamBlockSize];

class ReplyServer {
  public:
    ReplyServer() {
        const auto pid = static_cast<std::uint32_t>(getpid());
        listen_ = ListenLocal(ServerSocketName(pid));
        status_.Create(StatusMemoryName(), kStatusBlockSize);
        BlockWriter(std::span<std::uint8_t>(status_.data(), 4)).U32(0, pid);
        statusMutex_.Create(StatusMutexName());
        thread_ = std::thread([this] { Run(); });
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
        }
    }
    std::uint32_t Answer(const Frame& f) {
        if (f.lParam == static_cast<std::uint32_t>(LinkOp::Connect)) {
            paramMutex_.Create(ParamMutexName(1));
            param_.Create(ParamMemoryName(1), kParamBlockSize);
            return 1;
        }
        if (f.lParam != static_cast<std::uint32_t>(LinkOp::Request)) return 0;
        paramMutex_.LockForever();
        std::memcpy(param_.data(), g_reply, kParamBlockSize);
        paramMutex_.Unlock();
        return 1;
    }
    int listen_ = -1;
    SharedMemory status_, param_;
    SharedMutex statusMutex_, paramMutex_;
    std::thread thread_;
};

bool Setup() {
    const auto dir =
        std::filesystem::temp_directory_path() / ("fuzz_reply_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("KESTREL_INSTANCE", ("fz" + std::to_string(getpid())).c_str(), 1);
    setenv("KESTREL_REGISTRY", (dir / "r.db").c_str(), 1);
    kestrel::CRegistry reg;
    reg.Open();
    reg.WriteString(kestrel::kServerSettingsKey, kestrel::kServerPathValue, "/bin/true");
    static ReplyServer* server = new ReplyServer;  // serves for the whole run
    (void)server;
    kestrel::ConnectTimings t;
    t.statusMutexPoll = t.statusMemoryPoll = t.paramMutexPoll = t.paramMemoryPoll =
        std::chrono::milliseconds(1);
    return kestrel::CServerConnection::Instance().Connect(t);
}

void Board() {
    CBoardControl b;
    std::uint32_t counters[36];
    b.GetStatistics(counters, 36);
    std::string s1, s2;
    int check = 0;
    b.GetMAC(s1, check);
    b.GetIP(s1, s2, check);
    BE_VERSION v;
    b.GetBEVersion(v);
    _MC_LIST l;
    b.GetMulticastList(l);
    b.GetBoardMfg(s1, s2);
    b.GetSelfTestResult(check, s1);
}

void Frontend() {
    static CFrontend fe;
    LOCKSTATE lock;
    DVB_SIGNAL sig;
    int a, b, c, d;
    fe.GetStatus(lock, a, b, c, d);
    fe.GetStatus(lock, sig);
    TYPE_TPS tps;
    fe.GetTPS(tps);
    std::uint16_t st, x, y;
    CHANNEL_TYPE ch;
    fe.zGetChannel(st, ch);
    SIGNAL_TYPE s;
    fe.zGetSignal(st, s, 500);
    fe.zGetDemodStatus(st, x, y);
    std::uint32_t rate;
    std::uint8_t b16, b20;
    fe.GetBitErrorRate(rate, a, b16, b20);
}

void Others() {
    CMPEGDecoder dec;
    VIDEOSTATE vs;
    dec.GetDecoderStatus(&vs);
    std::uint16_t pid;
    dec.GetVideoPID(pid);
    CRecordPlayback rec;
    std::uint32_t a, b, c;
    REC_PLAY_MODE m;
    TYPE_REC_PLAY_FORMAT f;
    rec.GetStatus(a, b, c, m, f);
    CPIDFilter filter;
    const std::uint8_t fb[1] = {0}, mb[1] = {0xFF};
    filter.SetBitFilter(0, fb, mb, 1, 4);
    CTeletext ttx;
    ttx.TTXOn(0x20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = Setup();
    if (!ready) std::abort();
    std::memset(g_reply, 0, sizeof g_reply);
    std::memcpy(g_reply, data, std::min(size, sizeof g_reply));
    Board();
    Frontend();
    Others();
    return 0;
}
