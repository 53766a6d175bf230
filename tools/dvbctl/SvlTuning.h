#pragma once
// Tuning data of one program of an .svl list, worked out the way the program
// switch of the application does it: the LNB by name, the oscillator by the
// switch frequency, supply by polarisation, the tone, and the switch command.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kestrel/Records.h"

class CProgramInfo;
class CSVLFile;

struct SvlTuning {
    CHANNEL_TYPE channel;
    /// The switch message: sent `repeats` times (0: none), bytes with burst;
    /// from the second sending on the first byte is E1.
    std::vector<unsigned char> diseqc;
    unsigned char burst = 255;
    int repeats = 0;
    std::uint16_t videoPid = 0;
    std::uint16_t audioPid = 0;
};

/// A 1-based position in the list, or a program name (exact match).
const CProgramInfo* FindProgram(const CSVLFile& list, const std::string& selector);

/// Nothing (with a message in error) when the program's LNB is not in the list.
std::optional<SvlTuning> BuildTuning(const CSVLFile& list, const CProgramInfo& program,
                                     std::string& error);
