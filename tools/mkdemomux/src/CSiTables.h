// Encoders for the tables of the demo broadcast: PAT, PMT (ISO/IEC 13818-1),
// SDT, NIT, EIT present/following and TDT (ETSI EN 300 468).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "CDemoList.h"

namespace demomux {

using Section = std::vector<uint8_t>;

struct DemoEvent {
    uint16_t eventId = 0;
    std::time_t start = 0;  // UTC
    uint32_t durationSeconds = 0;
    std::string name;  // ISO 8859-1
    std::string text;
};

class CSiTables {
  public:
    static Section Pat(const DemoTransponder& tp);
    static Section Pmt(const DemoProgram& p);
    static Section Sdt(const DemoTransponder& tp);
    static Section Nit(const std::vector<DemoTransponder>& all, uint16_t networkId,
                       const std::string& networkName);
    static Section EitPresentFollowing(const DemoTransponder& tp, const DemoProgram& p,
                                       uint8_t sectionNumber, const DemoEvent& event);
    static Section Tdt(std::time_t utc);

    // DVB text: plain bytes, with the ISO 8859-1 selector when needed.
    static std::vector<uint8_t> Text(const std::string& latin1);
};

}  // namespace demomux
