#include <chrono>
#include <cstdio>
#include <thread>

#include "Commands.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"
#include <fstream>
#include <iterator>

#include "SvlTuning.h"
#include "channellist/CSVLFile.h"

namespace {

// DiSEqC 1.0 committed switch: position A..D, the horizontal bit and the tone
// bit, sent three times 120 ms apart, E1 as first byte after the first sending.
bool SendDiseqc(CFrontend& fe, int position, bool horizontal, const CHANNEL_TYPE& ch) {
    const unsigned char data = static_cast<unsigned char>(
        0xF0 | (position << 2) | (horizontal ? 2 : 0) | (ch.Tone22kHz ? 1 : 0));
    unsigned char msg[4] = {0xE0, 0x10, 0x38, data};
    for (int i = 0; i < 3; ++i) {
        if (fe.SendDiSEqCMsg(msg, 4, 255, 0) != CCommonDVB::RET_OK) return false;
        msg[0] = 0xE1;
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }
    return true;
}

}  // namespace

namespace {

bool SendSwitch(CFrontend& fe, const SvlTuning& t) {
    std::vector<unsigned char> msg(t.plan.SwitchBytes.begin(), t.plan.SwitchBytes.end());
    for (int i = 0; i < t.plan.SwitchRepeats; ++i) {
        const ErrReturn r =
            fe.SendDiSEqCMsg(msg.empty() ? nullptr : msg.data(),
                             static_cast<std::uint32_t>(msg.size()), t.plan.SwitchBurst, 0);
        if (r != CCommonDVB::RET_OK) return false;
        if (!msg.empty()) msg[0] = 0xE1;
        if (t.plan.SwitchPauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(t.plan.SwitchPauseMs));
    }
    return true;
}

int TuneFromList(const Options& o) {
    std::ifstream in(o.Text("svl"), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    CSVLFile list;
    ArchiveError err;
    if (!in.good() && bytes.empty()) {
        std::fprintf(stderr, "dvbctl tune: cannot read %s\n", o.Text("svl").c_str());
        return 1;
    }
    if (!list.Load(bytes, &err)) {
        std::fprintf(stderr, "dvbctl tune: %s (offset %zu)\n", err.message.c_str(), err.offset);
        return 1;
    }
    const CProgramInfo* p = FindProgram(list, o.Text("program", "1"));
    std::string why;
    const auto t = p ? BuildTuning(list, *p, why) : std::nullopt;
    if (!t) {
        std::fprintf(stderr, "dvbctl tune: %s\n", p ? why.c_str() : "no such program");
        return 1;
    }
    CFrontend fe;
    if (!SendSwitch(fe, *t)) std::fprintf(stderr, "dvbctl tune: switch command failed\n");
    unsigned short status = 0xFFFF;
    const ErrReturn r = fe.zSetChannel(status, t->channel);
    CMPEGDecoder dec;
    dec.SetVideoPID(t->videoPid);
    dec.SetAudioPID(t->audioPid);
    std::printf("%s: freq %u lof %u sr %u lnb %u V tone %u; zSetChannel result %d status %u\n",
                p->Name.c_str(), t->channel.Frequency, t->channel.LOF, t->channel.SymbolRate,
                t->channel.LNBVoltage, t->channel.Tone22kHz, static_cast<int>(r), status);
    return r == CCommonDVB::RET_OK && status == 0 ? 0 : 1;
}

}  // namespace

int TuneCommand(const Options& o) {
    if (o.Has("svl")) return TuneFromList(o);
    const auto freq = o.Number("freq"), lof = o.Number("lof"), sr = o.Number("sr");
    if (!freq || !sr) {
        std::fprintf(stderr, "dvbctl tune: --freq KHZ and --sr SYMBOLS/S are required\n");
        return 2;
    }
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
    if (pos.size() == 1 && pos[0] >= 'A' && pos[0] <= 'D' && !SendDiseqc(fe, pos[0] - 'A', horizontal, ch)) {
        std::fprintf(stderr, "dvbctl tune: DiSEqC message failed\n");
        return 1;
    }
    unsigned short status = 0xFFFF;
    const ErrReturn r = fe.zSetChannel(status, ch);
    std::printf("zSetChannel: result %d status %u\n", static_cast<int>(r), status);
    return r == CCommonDVB::RET_OK && status == 0 ? 0 : 1;
}
