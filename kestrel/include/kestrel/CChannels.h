#pragma once
// The 106 cable channels (name, centre frequency in kHz, ascending) walked
// between a lower and an upper limit for a channel scan. The limits and the
// cursor are shared by every object of the process: constructing one resets
// the walk for all.
#include <cstdint>
#include <string>

class CChannels {
  public:
    static constexpr std::uint32_t kLowest = 50000;
    static constexpr std::uint32_t kHighest = 860000;
    static constexpr int kCount = 106;

    /// Limits in kHz, each brought into 50 000 .. 860 000 first.
    explicit CChannels(std::uint32_t lowerKHz = kLowest, std::uint32_t upperKHz = kHighest);

    /// 1 with the next channel above the lower limit, moving past it; 0 (name
    /// "", frequency 0) at the end of the table or at the first channel above
    /// the upper limit, which stays the next one.
    int GetNextChannel(std::string& name, std::uint32_t& frequencyKHz);
};
