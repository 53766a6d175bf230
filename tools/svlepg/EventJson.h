#pragma once
// The events of EIT sections as JSON lines, each event once:
//   {"service_id":28106,"event_id":1234,"table":"pf","start":"2024-03-11T20:15:00Z",
//    "duration_s":5400,"name":"...","text":"...","language":"deu"}
// "table" is "pf" for 0x4E/0x4F and "schedule" for 0x50-0x6F; "start" is UTC
// and null when undefined (all ones) or no valid time; "duration_s" is null for
// a duration with a digit above 9; name, text and language are null for an
// event without a short event descriptor.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <tuple>

#include "guide/EitSection.h"

namespace svlepg {

/// A JSON string literal of UTF-8 text: quotes, backslash and control
/// characters escaped (\n, \t, \r, \b, \f, else \u00XX).
std::string JsonString(std::string_view utf8);

/// The start as "YYYY-MM-DDTHH:MM:SSZ", empty when it is undefined or no time.
std::string IsoStart(std::uint16_t mjd, std::uint32_t startBcd);

std::string EventLine(const EitSection& section, const EitEvent& event);

/// Remembers the events printed: one line per table kind, network, transport
/// stream, service and event id, at its first occurrence.
class CEventPrinter {
  public:
    /// The lines of the section's events not printed before, each ending in "\n".
    std::string NewLines(const EitSection& section);
    std::size_t Printed() const { return seen_.size(); }

  private:
    using Key = std::tuple<bool, std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t>;
    std::set<Key> seen_;
};

}  // namespace svlepg
