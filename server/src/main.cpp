// nvdvbsrv: the emulated DVB card and its driver server.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "CCommandLine.h"
#include "CEmulatedCard.h"
#include "CServer.h"
#include "CUdpSender.h"
#include "SvlVersion.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"
#include "kestrel/protocol/PictureMemory.h"
#include "kestrel/protocol/SharedMemory.h"
#include "kestrel/protocol/Wire.h"

namespace kp = kestrel::protocol;
using namespace nvdvbsrv;

namespace {

std::string DefaultConfig() {
    if (const char* c = std::getenv("NVDVBSRV_CONFIG"); c && *c) return c;
    std::string base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x)
        base = x;
    else if (const char* h = std::getenv("HOME"); h && *h)
        base = std::string(h) + "/.config";
    return base.empty() ? std::string() : base + "/nvdvbsrv/installation.conf";
}

// Sends one private message to the running server of this instance: its
// result, or nothing (with a message) when no server of this user answers.
std::optional<uint32_t> TellServer(const std::string& suffix, uint32_t message, uint32_t wParam) {
    kp::SharedMemory status;
    if (!status.Open(kp::StatusMemoryName(suffix), kp::kStatusBlockSize, false) || !status.Map()) {
        std::cerr << "nvdvbsrv: kein laufender Server gefunden\n";
        return std::nullopt;
    }
    const uint32_t pid = kp::BlockReader(std::span<const uint8_t>(status.data(), 4)).U32(0);
    const int fd = kp::ConnectLocal(kp::ServerSocketName(pid, suffix));
    if (fd < 0) {
        std::cerr << "nvdvbsrv: Server antwortet nicht\n";
        return std::nullopt;
    }
    if (!kp::PeerIsThisUser(fd, false)) {
        close(fd);
        std::cerr << "nvdvbsrv: der Server dieser Instanz gehört einem anderen Benutzer\n";
        return std::nullopt;
    }
    kp::Frame f;
    f.kind = kp::FrameKind::Send;
    f.seq = 1;
    f.message = message;
    f.wParam = wParam;
    kp::Frame reply;
    const bool ok = kp::SendFrame(fd, f) && kp::RecvFrame(fd, reply, 5000) == kp::RecvStatus::Ok;
    close(fd);
    if (!ok) {
        std::cerr << "nvdvbsrv: keine Antwort vom Server\n";
        return std::nullopt;
    }
    return reply.lParam;
}

// Presses one key on the running server.
int InjectKey(const std::string& suffix, uint32_t code) {
    const auto result = TellServer(suffix, kInjectKeyMessage, code);
    if (!result) return kExitNoServer;
    if (*result != 1) {
        std::cerr << "nvdvbsrv: Fernbedienung ist ausgeschaltet, Taste verworfen\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

// Puts a module into a slot of the running server's card, or takes it out.
int ChangeModule(const std::string& suffix, bool insert, uint8_t slot) {
    const auto result = TellServer(suffix, kCamMessage, slot | (insert ? kCamInsertFlag : 0u));
    if (!result) return kExitNoServer;
    if (*result != 1) {
        std::cerr << "nvdvbsrv: Slot " << int(slot)
                  << (insert ? " hat schon ein Modul\n" : " ist schon leer\n");
        return kExitFailure;
    }
    return kExitSuccess;
}

std::optional<CInstallation> LoadInstallation(const CCommandLine& cl) {
    std::string path = cl.config.empty() ? DefaultConfig() : cl.config;
    std::error_code ec;
    if (cl.config.empty() && (path.empty() || !std::filesystem::exists(path, ec))) {
        std::cerr << "nvdvbsrv: keine Konfiguration, Karte ohne Empfang\n";
        return CInstallation{};
    }
    std::string error;
    auto inst = CInstallation::Load(path, error);
    if (!inst) std::cerr << "nvdvbsrv: " << error << "\n";
    return inst;
}

int Serve(const CCommandLine& cl, const std::string& suffix) {
    auto inst = LoadInstallation(cl);
    if (!inst) return kExitFailure;
    if (cl.basePort) inst->board.basePort = *cl.basePort;
    if (cl.speed) inst->speed = *cl.speed;
    if (!cl.audioWav.empty()) inst->audioWav = cl.audioWav;
    inst->failingSteps.insert(cl.failSteps.begin(), cl.failSteps.end());

    // SIGTERM and SIGINT end the server cleanly; they are blocked before any
    // thread starts and read from a descriptor by the request loop.
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    signal(SIGPIPE, SIG_IGN);
    const int sigFd = signalfd(-1, &mask, SFD_CLOEXEC);

    CUdpSender sender(inst->board.ip, inst->board.basePort);
    if (!sender.IsOpen()) {
        std::cerr << "nvdvbsrv: Datagramm-Socket kann nicht geöffnet werden\n";
        return kExitFailure;
    }
    CEmulatedCard card(std::move(*inst), sender);
    CServer::Options options;
    options.suffix = suffix;
    if (cl.keepAliveMs) options.keepAliveTimeout = std::chrono::milliseconds(*cl.keepAliveMs);
    if (cl.exitWhenIdleMs) options.exitWhenIdle = std::chrono::milliseconds(*cl.exitWhenIdleMs);
    CServer server(card, options);
    std::string error;
    if (!server.Start(error)) {
        std::cerr << "nvdvbsrv: " << error << "\n";
        // The library starts a server on every load: the one that runs serves.
        return server.AlreadyRunning() ? kExitSuccess : kExitFailure;
    }
    // The composed picture exists while this server serves the instance.
    if (!card.StartOutput(kp::PictureMemoryName(suffix)))
        std::cerr << "nvdvbsrv: Bildspeicher kann nicht angelegt werden\n";
    server.Run(sigFd);
    close(sigFd);
    return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    CCommandLine cl;
    std::string error;
    if (!cl.Parse(std::vector<std::string>(argv + 1, argv + argc), error)) {
        std::cerr << "nvdvbsrv: " << error << "\n"
                  << CCommandLine::Usage() << "Hilfe: nvdvbsrv --help\n";
        return kExitUsage;
    }
    // Neither help nor version touches the card, a lock or a socket.
    if (cl.help) {
        std::cout << CCommandLine::Help();
        return std::cout.flush() ? kExitSuccess : kExitFailure;
    }
    if (cl.version) return PrintSvlVersion("nvdvbsrv");
    const std::string suffix =
        cl.instance ? kp::InstanceSuffixFor(*cl.instance) : kp::InstanceSuffix();
    if (cl.keyCommand) return InjectKey(suffix, cl.keyCode);
    if (cl.camCommand) return ChangeModule(suffix, cl.camInsert, cl.camSlot);
    return Serve(cl, suffix);
}
