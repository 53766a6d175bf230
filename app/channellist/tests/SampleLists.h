#pragma once
// Channel lists built in code for the tests.
#include <memory>
#include <string>

#include "channellist/CSVLFile.h"

inline std::unique_ptr<CProgramInfo> MakeProgram(const std::string& name, std::uint16_t sid,
                                                 int streams = 2) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = name;
    p->Provider = "ARD";
    p->FrontendType = 2;
    p->LnbName = "Astra 19\xB0";
    p->Frequency = 11836000;
    p->PolarisationOrQam = 0;
    p->SymbolRate = 27500000;
    p->ProgramType = 1;
    p->TransportStreamId = 1101;
    p->NetworkId = 1;
    p->OriginalNetworkId = 1;
    p->ServiceId = sid;
    p->PcrPid = 101;
    p->PmtPid = 100;
    p->VideoPid = 101;
    p->AudioPid = 102;
    p->TeletextPid = 104;
    for (int i = 0; i < streams; ++i) {
        CStreaminfo s;
        s.StreamType = i == 0 ? 2 : 3;
        s.Pid = static_cast<std::uint16_t>(101 + i);
        if (i > 0) s.Descriptors = {0x0A, 0x04, 'd', 'e', 'u', 0x01};
        p->Streams.push_back(s);
    }
    return p;
}

inline std::shared_ptr<CLnb> MakeLnb(std::int32_t type, std::int32_t position) {
    auto l = std::make_shared<CLnb>();
    l->LnbType = type;
    l->LowFrequency = 10700000;
    l->HighFrequency = 12750000;
    l->SwitchFrequency = 11700000;
    l->LowBandLof = 9750000;
    l->HighBandLof = 10600000;
    l->PowerOn = 1;
    l->Tone22kHz = 1;
    l->DiseqcType = 2;
    l->DiseqcParameter = position;
    return l;
}

/// Three programs, one without streams, one with program data; four LNB keys,
/// two of which share one object.
inline CSVLFile MakeSampleList() {
    CSVLFile list;
    list.Reserved = 0xDEADBEEF;
    list.InsertProgram(MakeProgram("Das Erste", 28106));
    list.InsertProgram(
        MakeProgram("Bayerisches FS S\xFC"
                    "d",
                    28107, 0));
    auto radio = MakeProgram("Bayern 3", 28203, 1);
    radio->ProgramType = 2;
    radio->ProgramData1 = {1, 2, 3};
    radio->ProgramData2 = std::vector<std::uint8_t>(300, 0x5A);
    list.InsertProgram(std::move(radio));
    auto shared = MakeLnb(3, 0);
    list.Lnbs.Set("Astra 19\xB0", shared);
    list.Lnbs.Set("Hotbird 13\xB0", MakeLnb(3, 1));
    list.Lnbs.Set("Alias", shared);
    list.Lnbs.Set("Universal 2", MakeLnb(3, 3));
    return list;
}
