#include "EventJson.h"

#include <cstdio>

#include "mpegts/DvbTime.h"

namespace svlepg {

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string IsoStart(std::uint16_t mjd, std::uint32_t startBcd) {
    const std::uint64_t field = std::uint64_t(mjd) << 24 | startBcd;
    const auto time = mpegts::TimeFromBcd(startBcd);
    if (field == mpegts::kUndefinedUtc || !time || time->second > 59) return {};
    const mpegts::Date date = mpegts::DateFromMjd(mjd);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", date.year, date.month,
                  date.day, time->hour, time->minute, time->second);
    return text;
}

std::string EventLine(const EitSection& section, const EitEvent& event) {
    const std::string start = IsoStart(event.mjd, event.startBcd);
    const auto duration = mpegts::DurationFromBcd(event.durationBcd);
    auto text = [&](const std::string& s) {
        return event.hasShortEvent ? JsonString(s) : std::string("null");
    };
    return "{\"service_id\":" + std::to_string(section.serviceId) +
           ",\"event_id\":" + std::to_string(event.eventId) + ",\"table\":\"" +
           (section.IsPresentFollowing() ? "pf" : "schedule") +
           "\",\"start\":" + (start.empty() ? "null" : JsonString(start)) +
           ",\"duration_s\":" + (duration ? std::to_string(*duration) : "null") +
           ",\"name\":" + text(event.name) + ",\"text\":" + text(event.text) +
           ",\"language\":" + text(event.language) + "}";
}

std::string CEventPrinter::NewLines(const EitSection& section) {
    std::string out;
    for (const EitEvent& event : section.events) {
        const Key key{section.IsPresentFollowing(), section.originalNetworkId,
                      section.transportStreamId, section.serviceId, event.eventId};
        if (seen_.insert(key).second) out += EventLine(section, event) + "\n";
    }
    return out;
}

}  // namespace svlepg
