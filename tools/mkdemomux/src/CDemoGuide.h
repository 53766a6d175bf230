// The programme of the demo services: eight days of events, back to back, from
// a fixed day plan per kind of service (TV, radio) whose titles rotate by
// service and day. Everything follows from the build time alone, so that a
// build with the clock held fixed gives the same guide.
//
// Days run from 00:00 UTC (01:00 CET), the "today" whose first three hours
// are segment 0 of the schedule table 0x50; the plans are written in CET
// (UTC+1, no summer time), so that the news comes at 20:00 on the German
// clock.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "CDemoList.h"

namespace demomux {

struct DemoEvent {
    uint16_t eventId = 0;
    std::time_t start = 0;  // UTC
    uint32_t durationSeconds = 0;
    std::string name;      // UTF-8; the tables carry it in the DVB default table
    std::string text;      // the short text
    std::string extended;  // a longer description, may be empty
    uint8_t content = 0;   // content nibbles, level 1 and level 2
    uint8_t rating = 0;    // parental rating (minimum age - 3), 0 for none
};

class CDemoGuide {
  public:
    static constexpr int kDays = 8;
    static constexpr std::time_t kDay = 86400;

    // 00:00 UTC of the day the build time falls in.
    static std::time_t ScheduleStart(std::time_t now);
    // Whether the service has a programme at all (data services have none).
    static bool HasGuide(const DemoProgram& p) { return !p.Data(); }
    // The events of the service over the eight days from ScheduleStart(now).
    static std::vector<DemoEvent> Events(const DemoProgram& p, std::time_t now);
    // The index of the event running at t (start <= t < end); -1 when none is.
    static int Running(const std::vector<DemoEvent>& events, std::time_t t);
};

}  // namespace demomux
