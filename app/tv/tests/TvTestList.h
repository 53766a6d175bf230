#pragma once
// A channel list for the TV part's tests: one LNB of each switch kind and
// programs on them, plus one whose LNB is missing.
#include <memory>

#include "channellist/CLnb.h"
#include "channellist/CSVLFile.h"

namespace tvtest {

inline std::shared_ptr<CLnb> Lnb(int diseqcType, int diseqcParameter, int lnbType = 3, int tone = 0,
                                 int power = 1) {
    auto lnb = std::make_shared<CLnb>();
    lnb->LnbType = lnbType;
    lnb->SwitchFrequency = 11700000;
    lnb->LowBandLof = 9750000;
    lnb->HighBandLof = 10600000;
    lnb->PowerOn = power;
    lnb->Tone22kHz = tone;
    lnb->DiseqcType = diseqcType;
    lnb->DiseqcParameter = diseqcParameter;
    return lnb;
}

inline std::unique_ptr<CProgramInfo> Program(const char* name, const char* lnb, int frequency,
                                             int vertical, std::uint16_t sid = 28006) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = name;
    p->LnbName = lnb;
    p->Frequency = frequency;
    p->PolarisationOrQam = vertical;
    p->SymbolRate = 27500000;
    p->ServiceId = sid;
    p->TransportStreamId = 0x0441;
    p->OriginalNetworkId = 0x0001;
    p->VideoPid = 101;
    p->AudioPid = 102;
    p->TeletextPid = 104;
    p->ProgramType = 1;
    return p;
}

/// Programs: 0 "Aus" (no switch), 1 "Burst" (tone burst B), 2 "Diseqc" (DiSEqC 1.0
/// position D, horizontal, high band), 3 "Ohne LNB".
inline void Fill(CSVLFile& list) {
    list.Lnbs.Set("Aus", Lnb(0, 0));
    list.Lnbs.Set("Burst", Lnb(1, 1));
    list.Lnbs.Set("Diseqc", Lnb(2, 3));
    list.Programs.push_back(Program("Aus", "Aus", 11836000, 0));
    list.Programs.push_back(Program("Burst", "Burst", 11362000, 1));
    list.Programs.push_back(Program("Diseqc", "Diseqc", 12188000, 0));
    list.Programs.push_back(Program("Ohne LNB", "Unbekannt", 12188000, 1));
}

}  // namespace tvtest
