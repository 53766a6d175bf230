#pragma once
// Tuning data of one program of an .svl list: the application's tuning plan
// (the LNB by name, the oscillator by the switch frequency, supply by
// polarisation, the tone, and the switch command) as the card's record.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channellist/CTuningPlan.h"
#include "kestrel/Records.h"

class CProgramInfo;
class CSVLFile;

struct SvlTuning {
    CHANNEL_TYPE channel;
    /// The record and the switch command it was made from.
    CTuningPlan plan;
    std::uint16_t videoPid = 0;
    std::uint16_t audioPid = 0;
};

/// The card's tuning record for the plan (mode 2, the new tuning interface).
CHANNEL_TYPE ChannelOf(const CTuningPlan& plan);

/// A 1-based position in the list, or a program name (exact match).
const CProgramInfo* FindProgram(const CSVLFile& list, const std::string& selector);

/// Nothing (with a message in error) when the program's LNB is not in the list.
std::optional<SvlTuning> BuildTuning(const CSVLFile& list, const CProgramInfo& program,
                                     std::string& error);
