// Encoders for the tables of the demo broadcast: PAT, PMT (ISO/IEC 13818-1),
// SDT, NIT, EIT present/following and schedule, and TDT (ETSI EN 300 468).
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "CDemoGuide.h"
#include "CDemoList.h"

namespace demomux {

using Section = std::vector<uint8_t>;

class CSiTables {
  public:
    static Section Pat(const DemoTransponder& tp);
    static Section Pmt(const DemoProgram& p);
    static Section Sdt(const DemoTransponder& tp);
    static Section Nit(const std::vector<DemoTransponder>& all, uint16_t networkId,
                       const std::string& networkName);
    // Section 0 the present event (running), section 1 the following one.
    static Section EitPresentFollowing(const DemoTransponder& tp, const DemoProgram& p,
                                       uint8_t sectionNumber, const DemoEvent& event);
    // The schedule actual of a service: table 0x50 for the first four days
    // from scheduleStart, 0x51 for the next four, in 3-hour segments of up to
    // eight sections (section_number = segment * 8 + k), each at most
    // maxSection bytes. Events outside the eight days are left out. Nothing
    // when an event does not fit into a section.
    static std::vector<Section> EitSchedule(const DemoTransponder& tp, const DemoProgram& p,
                                            const std::vector<DemoEvent>& events,
                                            std::time_t scheduleStart,
                                            size_t maxSection = kMaxEitSection);
    static Section Tdt(std::time_t utc);

    static constexpr size_t kMaxEitSection = 4096;

    // DVB text: plain bytes, with the ISO 8859-1 selector when needed.
    static std::vector<uint8_t> Text(const std::string& latin1);
    // DVB text in the default character table (ISO/IEC 6937, no selector
    // byte) from UTF-8: a letter with a diacritical mark is the mark (0xC1-0xCF)
    // followed by the base letter, ß is 0xFB. Characters the table lacks
    // become '?'.
    static std::vector<uint8_t> DefaultText(std::string_view utf8);
};

}  // namespace demomux
