#pragma once
// A program with every field set to something recognisable.
#include "channellist/CProgramInfo.h"

inline CProgramInfo DemoProgram() {
    CProgramInfo p;
    p.Name = "Das Erste \x96 Sport";  // en dash in Windows-1252
    p.Provider = "ARD";
    p.FrontendType = 2;
    p.LnbName = "Astra 19.2";
    p.Frequency = 11836000;
    p.PolarisationOrQam = 0;
    p.SymbolRate = 27500000;
    p.ProgramType = 0x10002;  // encrypted radio
    p.CiAccess = 77;
    p.TransportStreamId = 1101;
    p.NetworkId = 1;
    p.OriginalNetworkId = 0x0085;
    p.ServiceId = 28106;
    p.PcrPid = 101;
    p.PmtPid = 100;
    p.VideoPid = 8191;
    p.AudioPid = 102;
    p.TeletextPid = 104;
    CStreaminfo video;
    video.StreamType = 2;
    video.Pid = 101;
    CStreaminfo audio;
    audio.StreamType = 3;
    audio.Pid = 102;
    audio.Descriptors = {0x0A, 0x04, 'd', 'e', 'u', 0x01};
    CStreaminfo teletext;
    teletext.StreamType = 6;
    teletext.Pid = 104;
    p.Streams = {video, audio, teletext};
    p.ProgramData1 = {1, 2, 3};
    p.ProgramData2 = {0xFF};
    return p;
}
