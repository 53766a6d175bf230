#include "SvlTuning.h"

#include <cstdlib>

#include "channellist/CSVLFile.h"

const CProgramInfo* FindProgram(const CSVLFile& list, const std::string& selector) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(selector.c_str(), &end, 10);
    if (!selector.empty() && *end == '\0') {
        return n >= 1 && n <= list.Programs.size() ? list.Programs[n - 1].get() : nullptr;
    }
    for (const auto& p : list.Programs)
        if (p->Name == selector) return p.get();
    return nullptr;
}

namespace {

void SwitchCommand(const CLnb& lnb, const CProgramInfo& p, SvlTuning& t) {
    switch (lnb.DiseqcType) {
    case 0:  // off
        t.diseqc = {0xE0, 0x00, 0x00};
        t.burst = 255;
        t.repeats = 1;
        break;
    case 1:  // tone burst: A or B
        t.diseqc.clear();
        t.burst = lnb.DiseqcParameter == 0 ? 0 : 1;
        t.repeats = 1;
        break;
    case 2: {  // DiSEqC 1.0 committed switch
        unsigned char d = 0xF0;
        if (t.channel.Tone22kHz) d |= 0x01;
        if (p.PolarisationOrQam == 0) d |= 0x02;
        if (lnb.DiseqcParameter & 1) d |= 0x04;
        if (lnb.DiseqcParameter & 2) d |= 0x08;
        t.diseqc = {0xE0, 0x10, 0x38, d};
        t.burst = 255;
        t.repeats = 3;
        break;
    }
    default:
        t.repeats = 0;
    }
}

}  // namespace

std::optional<SvlTuning> BuildTuning(const CSVLFile& list, const CProgramInfo& p,
                                     std::string& error) {
    const CLnb* lnb = list.FindLnb(p.LnbName);
    if (!lnb) {
        error = "no LNB named \"" + p.LnbName + "\" in the list";
        return std::nullopt;
    }
    SvlTuning t;
    const auto freq = static_cast<std::uint32_t>(p.Frequency);
    const bool lowBand = freq <= static_cast<std::uint32_t>(lnb->SwitchFrequency);
    t.channel.Frequency = freq;
    t.channel.LOF = static_cast<std::uint32_t>(lowBand ? lnb->LowBandLof : lnb->HighBandLof);
    t.channel.SymbolRate = static_cast<std::uint32_t>(p.SymbolRate);
    t.channel.Mode = 2;
    t.channel.LNBVoltage = lnb->PowerOn == 0 ? 0 : (p.PolarisationOrQam != 0 ? 13 : 18);
    t.channel.Tone22kHz = lnb->LnbType == 3 ? (lowBand ? 0 : 1) : static_cast<std::uint32_t>(lnb->Tone22kHz);
    SwitchCommand(*lnb, p, t);
    t.videoPid = p.VideoPid;
    t.audioPid = p.AudioPid;
    return t;
}
