#include <chrono>
#include <cstdio>
#include <thread>

#include "Commands.h"
#include "kestrel/CFrontend.h"

namespace {

// Committed switch command for position A..D (with polarisation and band bits).
bool SendDiseqc(CFrontend& fe, int position, const CHANNEL_TYPE& ch) {
    const unsigned char data = static_cast<unsigned char>(
        0xF0 | (position << 2) | (ch.LNBVoltage == 18 ? 0 : 2) | (ch.Tone22kHz ? 1 : 0));
    unsigned char msg[4] = {0xE0, 0x10, 0x38, data};
    for (int i = 0; i < 3; ++i) {
        if (fe.zSendDiSEqCMsg(msg, 4, 255, 0) != CCommonDVB::RET_OK) return false;
        msg[0] = 0xE1;
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }
    return true;
}

}  // namespace

int TuneCommand(const Options& o) {
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
    ch.LNBVoltage = o.Number("voltage").value_or(13);
    ch.Tone22kHz = o.Number("tone").value_or(0);
    CFrontend fe;
    const std::string pos = o.Text("diseqc");
    if (pos.size() == 1 && pos[0] >= 'A' && pos[0] <= 'D' && !SendDiseqc(fe, pos[0] - 'A', ch)) {
        std::fprintf(stderr, "dvbctl tune: DiSEqC message failed\n");
        return 1;
    }
    unsigned short status = 0xFFFF;
    const ErrReturn r = fe.zSetChannel(status, ch);
    std::printf("zSetChannel: result %d status %u\n", static_cast<int>(r), status);
    return r == CCommonDVB::RET_OK && status == 0 ? 0 : 1;
}
