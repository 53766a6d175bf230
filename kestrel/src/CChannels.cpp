#include "kestrel/CChannels.h"

#include <array>
#include <cstdio>

namespace {

struct Channel {
    char name[8];
    std::uint32_t kHz;
};

struct Segment {
    const char* pattern;  ///< printf pattern of the number, or null for the names below
    int first, last;
    std::uint32_t firstKHz, step;
};

constexpr std::array<const char*, 5> kLetterNames = {"X    ", "Y    ", "Z    ", "Z+1", "Z+2"};

constexpr std::array<Segment, 7> kSegments = {{
    {"C%02d", 2, 4, 50500, 7000},
    {nullptr, 0, 4, 71500, 7000},
    {"S%02d", 1, 10, 107500, 7000},
    {"C%02d", 5, 12, 177500, 7000},
    {"S%02d", 11, 20, 233500, 7000},
    {"S%02d", 21, 41, 306000, 8000},
    {"C%02d", 21, 69, 474000, 8000},
}};

std::array<Channel, CChannels::kCount> BuildTable() {
    std::array<Channel, CChannels::kCount> table{};
    std::size_t n = 0;
    for (const Segment& s : kSegments) {
        for (int i = s.first; i <= s.last; ++i, ++n) {
            Channel& c = table[n];
            if (s.pattern)
                std::snprintf(c.name, sizeof c.name, s.pattern, i);
            else
                std::snprintf(c.name, sizeof c.name, "%s",
                              kLetterNames[static_cast<std::size_t>(i)]);
            c.kHz = s.firstKHz + static_cast<std::uint32_t>(i - s.first) * s.step;
        }
    }
    return table;
}

const std::array<Channel, CChannels::kCount>& Table() {
    static const auto table = BuildTable();
    return table;
}

// Shared by every CChannels of the process.
std::uint32_t lowerLimit = CChannels::kLowest;
std::uint32_t upperLimit = CChannels::kHighest;
std::size_t cursor = 0;

std::uint32_t Clamp(std::uint32_t kHz, std::uint32_t lowest) {
    if (kHz > CChannels::kHighest - 1) return CChannels::kHighest;
    if (kHz < lowest) return CChannels::kLowest;
    return kHz;
}

}  // namespace

CChannels::CChannels(std::uint32_t lowerKHz, std::uint32_t upperKHz) {
    lowerLimit = Clamp(lowerKHz, kLowest);
    upperLimit = Clamp(upperKHz, kLowest + 1);
    cursor = 0;
}

int CChannels::GetNextChannel(std::string& name, std::uint32_t& frequencyKHz) {
    name.clear();
    frequencyKHz = 0;
    const auto& table = Table();
    for (; cursor < table.size(); ++cursor) {
        const Channel& c = table[cursor];
        if (c.kHz > upperLimit) return 0;
        if (c.kHz <= lowerLimit) continue;
        name = c.name;
        frequencyKHz = c.kHz;
        ++cursor;
        return 1;
    }
    return 0;
}
