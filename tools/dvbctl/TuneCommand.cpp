#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "Commands.h"
#include "SvlTuning.h"
#include "channellist/CSVLFile.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"

namespace {

// Sends the plan's switch command: E1 as first byte from the second sending on.
bool SendSwitch(CFrontend& fe, const CTuningPlan& plan) {
    std::vector<std::uint8_t> msg(plan.SwitchBytes.begin(), plan.SwitchBytes.end());
    for (int i = 0; i < plan.SwitchRepeats; ++i) {
        const ErrReturn r =
            fe.SendDiSEqCMsg(msg.empty() ? nullptr : msg.data(),
                             static_cast<std::uint32_t>(msg.size()), plan.SwitchBurst, 0);
        if (r != CCommonDVB::RET_OK) return false;
        if (!msg.empty()) msg[0] = 0xE1;
        if (plan.SwitchPauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(plan.SwitchPauseMs));
    }
    return true;
}

}  // namespace

int TuneFromList(const Options& o, const char* command, std::FILE* report) {
    std::ifstream in(o.Text("svl"), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    CSVLFile list;
    ArchiveError err;
    if (!in.good() && bytes.empty()) {
        std::fprintf(stderr, "dvbctl %s: %s ist nicht lesbar\n", command, o.Text("svl").c_str());
        return 1;
    }
    if (!list.Load(bytes, &err)) {
        std::fprintf(stderr, "dvbctl %s: %s (Offset %zu)\n", command, err.message.c_str(),
                     err.offset);
        return 1;
    }
    const CProgramInfo* p = FindProgram(list, o.Text("program", "1"));
    std::string why;
    const auto t = p ? BuildTuning(list, *p, why) : std::nullopt;
    if (!t) {
        std::fprintf(stderr, "dvbctl %s: %s\n", command, p ? why.c_str() : "kein solches Programm");
        return 1;
    }
    if (!NeedCard()) return 1;
    CFrontend fe;
    if (!SendSwitch(fe, t->plan))
        std::fprintf(stderr, "dvbctl %s: der Umschaltbefehl ist fehlgeschlagen\n", command);
    std::uint16_t status = 0xFFFF;
    const ErrReturn r = fe.zSetChannel(status, t->channel);
    CMPEGDecoder dec;
    dec.SetVideoPID(t->videoPid);
    dec.SetAudioPID(t->audioPid);
    std::fprintf(report,
                 "%s: freq %u lof %u sr %u lnb %u V tone %u; zSetChannel result %d status %u\n",
                 p->Name.c_str(), t->channel.Frequency, t->channel.LOF, t->channel.SymbolRate,
                 t->channel.LNBVoltage, t->channel.Tone22kHz, static_cast<int>(r), status);
    return r == CCommonDVB::RET_OK && status == 0 ? 0 : 1;
}

int TuneCommand(const Options& o) {
    if (o.Has("svl")) return TuneFromList(o, "tune");
    const auto freq = o.Number("freq"), lof = o.Number("lof"), sr = o.Number("sr");
    if (!freq || !sr) {
        std::fprintf(stderr, "dvbctl tune: --freq KHZ und --sr SYMBOLE/S sind nötig\n");
        return 2;
    }
    if (!NeedCard()) return 1;
    CHANNEL_TYPE ch;
    ch.Frequency = *freq;
    ch.LOF = lof.value_or(0);
    ch.SymbolRate = *sr;
    ch.Mode = 2;
    const bool horizontal = o.Text("pol", "H") != "V";
    ch.LNBVoltage = o.Number("voltage").value_or(horizontal ? 18 : 13);
    ch.Tone22kHz = o.Number("tone").value_or(0);
    CFrontend fe;
    const std::string pos = o.Text("diseqc");
    if (pos.size() == 1 && pos[0] >= 'A' && pos[0] <= 'D' &&
        !SendSwitch(fe,
                    CTuningPlan::CommittedSwitch(pos[0] - 'A', horizontal, ch.Tone22kHz != 0))) {
        std::fprintf(stderr, "dvbctl tune: die DiSEqC-Nachricht ist fehlgeschlagen\n");
        return 1;
    }
    std::uint16_t status = 0xFFFF;
    const ErrReturn r = fe.zSetChannel(status, ch);
    std::printf("zSetChannel: result %d status %u\n", static_cast<int>(r), status);
    return r == CCommonDVB::RET_OK && status == 0 ? 0 : 1;
}
