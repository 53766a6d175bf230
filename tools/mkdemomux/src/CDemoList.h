// The programs of the demo channel list, grouped into the transponders that
// carry them. Read from the JSON form of the list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace demomux {

struct DemoStream {
    uint8_t type = 0;
    uint16_t pid = 0;
    std::vector<uint8_t> descriptors;  // ES_info descriptors as stored in the list
};

struct DemoProgram {
    std::string name;      // ISO 8859-1
    std::string provider;  // ISO 8859-1
    uint32_t programType = 0;
    uint16_t serviceId = 0;
    uint16_t pmtPid = 0;
    uint16_t pcrPid = 0x1FFF;
    uint16_t videoPid = 0;
    uint16_t audioPid = 0;
    std::vector<DemoStream> streams;

    bool Encrypted() const { return programType & 0x10000; }
    bool Data() const { return programType & 0x0C; }
    bool Tv() const { return !Data() && (programType & 1); }
    // DVB service type: 1 TV, 2 radio, 0x0C data.
    uint8_t ServiceType() const { return Data() ? 0x0C : Tv() ? 0x01 : 0x02; }
};

struct DemoTransponder {
    uint32_t frequencyKHz = 0;
    bool vertical = false;
    uint32_t symbolRate = 0;
    uint16_t tsid = 0;
    uint16_t onid = 0;
    uint16_t networkId = 0;
    std::vector<DemoProgram> programs;

    // A name for its stream file, e.g. "11836H.ts".
    std::string FileName() const;
};

class CDemoList {
  public:
    // Reads the list; nothing (and a message) when the file is not a valid list.
    static std::optional<CDemoList> Load(const std::string& jsonPath, std::string& error);
    static std::optional<CDemoList> Parse(const std::string& json, std::string& error);

    std::vector<DemoTransponder> transponders;
};

}  // namespace demomux
