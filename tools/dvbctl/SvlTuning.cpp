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

CHANNEL_TYPE ChannelOf(const CTuningPlan& plan) {
    CHANNEL_TYPE channel;
    channel.Frequency = plan.Frequency;
    channel.LOF = plan.Lof;
    channel.SymbolRate = plan.SymbolRate;
    channel.Mode = 2;
    channel.LNBVoltage = plan.LnbVoltage;
    channel.Tone22kHz = plan.Tone22kHz;
    return channel;
}

std::optional<SvlTuning> BuildTuning(const CSVLFile& list, const CProgramInfo& p,
                                     std::string& error) {
    const CLnb* lnb = list.FindLnb(p.LnbName);
    if (!lnb) {
        error = "kein LNB namens \"" + p.LnbName + "\" in der Liste";
        return std::nullopt;
    }
    SvlTuning t;
    t.plan = CTuningPlan::For(p, *lnb);
    t.channel = ChannelOf(t.plan);
    t.videoPid = p.VideoPid;
    t.audioPid = p.AudioPid;
    return t;
}
