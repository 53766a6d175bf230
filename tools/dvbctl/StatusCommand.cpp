#include <cmath>
#include <cstdio>
#include <string>

#include "Commands.h"
#include "kestrel/CBoardControl.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"

namespace {
const char* Result(ErrReturn r) { return r == CCommonDVB::RET_OK ? "" : " (failed)"; }

std::string Pid(ErrReturn r, std::uint16_t pid) {
    if (r != CCommonDVB::RET_OK) return "? (failed)";
    if (pid == 0x1FFF) return "none";
    char text[24];
    std::snprintf(text, sizeof text, "%u (0x%04X)", pid, pid);
    return text;
}

// What the card is tuned to now, whoever tuned it: the card's tuning record
// (status 1: no tune since the card started), its lock and its decoder PIDs.
std::string TunedLine(ErrReturn rc, std::uint16_t status, const CHANNEL_TYPE& ch, ErrReturn rl,
                      std::uint16_t lock, ErrReturn rv, std::uint16_t vpid, ErrReturn ra,
                      std::uint16_t apid) {
    std::string line;
    if (rc != CCommonDVB::RET_OK) {
        line = "? (failed)";
    } else if (status != 0) {
        line = "nothing";
    } else {
        char text[96];
        std::snprintf(text, sizeof text, "%u.%03u MHz pol %s lnb %u V tone %s", ch.Frequency / 1000,
                      ch.Frequency % 1000, ch.Polarisation ? "V" : "H", ch.LNBVoltage,
                      ch.Tone22kHz ? "on" : "off");
        line = text;
        if (rl != CCommonDVB::RET_OK)
            line += ", lock ? (failed)";
        else
            line += lock == 0x1F ? ", locked" : ", not locked";
    }
    return line + "; video PID " + Pid(rv, vpid) + ", audio PID " + Pid(ra, apid);
}
}  // namespace

int StatusCommand(const Options&) {
    if (!NeedCard()) return 1;
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
    const ErrReturn rc = frontend.zGetChannel(status, ch);
    const std::uint16_t channelStatus = status;
    std::printf("channel: freq %u kHz lof %u sr %u pol %s lnb %u V tone %u status %u%s\n",
                ch.Frequency, ch.LOF, ch.SymbolRate, ch.Polarisation ? "V" : "H", ch.LNBVoltage,
                ch.Tone22kHz, status, Result(rc));
    SIGNAL_TYPE sig;
    const ErrReturn rs = frontend.zGetSignal(status, sig, 500);
    std::printf("signal: level %d ber %u*2^%d quality %u.%u value %u status %u%s\n", sig.Level(),
                sig.BerMantissa(), sig.BerExponent(), sig.Tenths() / 10, sig.Tenths() % 10,
                sig.Value16(), status, Result(rs));

    CMPEGDecoder dec;
    std::uint16_t vpid = 0, apid = 0;
    const ErrReturn rv = dec.GetVideoPID(vpid);
    const ErrReturn ra = dec.GetAudioPid(apid);
    std::printf("pids: video %u%s audio %u%s\n", vpid, Result(rv), apid, Result(ra));
    VIDEOSTATE vs;
    r = dec.GetDecoderStatus(&vs);
    std::printf("video: %ux%u rate %u bitrate %.3f MBit/s%s\n", vs.Width(), vs.Height(),
                vs.FrameRate(), vs.BitRate() / 1000.0, Result(r));

    // The lines above stay as they are (scripts read them); the ones below name
    // the card's present state in one place each.
    std::uint16_t lock = 0, snr = 0, agc = 0;
    const ErrReturn rl = frontend.zGetDemodStatus(lock, snr, agc);
    std::printf("tuned: %s\n",
                TunedLine(rc, channelStatus, ch, rl, lock, rv, vpid, ra, apid).c_str());
    std::printf("figures: quality %u %% strength %u.%u afc %+d kHz ber %.2e%s\n", sig.Value16(),
                sig.Tenths() / 10, sig.Tenths() % 10, sig.Level(),
                std::ldexp(double(sig.BerMantissa()), sig.BerExponent()), Result(rs));
    std::printf("decoder: %ux%u format %u rate %u bitrate %.3f MBit/s skipped %u repeated %u%s\n",
                vs.Width(), vs.Height(), vs.Format(), vs.FrameRate(), vs.BitRate() / 1000.0,
                vs.SkippedPictures(), vs.RepeatedPictures(), Result(r));
    return 0;
}
