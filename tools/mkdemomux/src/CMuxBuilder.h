// Builds the transport stream of one demo transponder: every TV program gets a
// copy of the A/V sample under its own PIDs, every radio program a copy of the
// audio sample, and the transponder's PAT, PMTs, SDT, NIT, EIT present/following
// and TDT are interleaved at broadcast repetition rates.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "CDemoList.h"
#include "CTsPacketizer.h"

namespace demomux {

struct Sample {
    std::vector<Packet> packets;  // only the elementary streams' packets
    uint16_t videoPid = 0x100;    // 0 for an audio-only sample
    uint16_t audioPid = 0x101;
};

class CMuxBuilder {
  public:
    // Reads the packets of the PIDs wanted from a transport stream file.
    static bool LoadSample(const std::string& path, Sample& sample, std::string& error);

    CMuxBuilder(const Sample& tv, const Sample& radio, double seconds, std::time_t now)
        : tv_(tv), radio_(radio), seconds_(seconds), now_(now) {}

    std::vector<Packet> Build(const DemoTransponder& tp, const std::vector<DemoTransponder>& all);

  private:
    struct Item {
        double at;  // position within the loop, 0..1
        int order;
        Packet packet;
    };
    void AddPrograms(const DemoTransponder& tp, CTsPacketizer& ts, std::vector<Item>& items);
    void AddTeletext(const DemoTransponder& tp, CTsPacketizer& ts, std::vector<Item>& items);
    void AddTables(const DemoTransponder& tp, const std::vector<DemoTransponder>& all,
                   CTsPacketizer& ts, std::vector<Item>& items);

    const Sample& tv_;
    const Sample& radio_;
    double seconds_;
    std::time_t now_;
};

}  // namespace demomux
