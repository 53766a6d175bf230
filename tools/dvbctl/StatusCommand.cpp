#include <cstdio>

#include "Commands.h"
#include "kestrel/CBoardControl.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"

namespace {
const char* Result(ErrReturn r) { return r == CCommonDVB::RET_OK ? "" : " (failed)"; }
}  // namespace

int StatusCommand(const Options&) {
    CBoardControl board;
    FrontendChipType fe = FE_NONE;
    ErrReturn r = board.GetFrontendType(fe);
    std::printf("frontend type: %d%s\n", static_cast<int>(fe), Result(r));
    std::string ip, mask;
    int check = -1;
    r = board.GetIP(ip, mask, check);
    std::printf("network: %s mask %s check %d%s\n", ip.c_str(), mask.c_str(), check, Result(r));
    BE_VERSION v;
    r = board.GetBEVersion(v);
    std::printf("firmware: %u.%u build %u (%s %s)%s\n", (v.Firmware >> 20) & 0xF,
                (v.Firmware >> 16) & 0xF, v.Firmware & 0xFFFF, v.Date, v.Time, Result(r));

    CFrontend frontend;
    std::uint16_t status = 0xFFFF;
    CHANNEL_TYPE ch;
    r = frontend.zGetChannel(status, ch);
    std::printf("channel: freq %u kHz lof %u sr %u pol %s lnb %u V tone %u status %u%s\n",
                ch.Frequency, ch.LOF, ch.SymbolRate, ch.Polarisation ? "V" : "H", ch.LNBVoltage,
                ch.Tone22kHz, status, Result(r));
    SIGNAL_TYPE sig;
    r = frontend.zGetSignal(status, sig, 500);
    std::printf("signal: level %d ber %u*2^%d quality %u.%u value %u status %u%s\n", sig.Level(),
                sig.BerMantissa(), sig.BerExponent(), sig.Tenths() / 10, sig.Tenths() % 10,
                sig.Value16(), status, Result(r));

    CMPEGDecoder dec;
    std::uint16_t vpid = 0, apid = 0;
    const ErrReturn rv = dec.GetVideoPID(vpid);
    const ErrReturn ra = dec.GetAudioPid(apid);
    std::printf("pids: video %u%s audio %u%s\n", vpid, Result(rv), apid, Result(ra));
    VIDEOSTATE vs;
    r = dec.GetDecoderStatus(&vs);
    std::printf("video: %ux%u rate %u bitrate %.3f MBit/s%s\n", vs.Width(), vs.Height(),
                vs.FrameRate(), vs.BitRate() / 1000.0, Result(r));
    return 0;
}
