#pragma once
// One transponder of a channel scan: what the tuner needs besides the LNB.
#include <cstdint>
#include <string>

struct ScanTransponder {
    std::uint32_t frequency = 0;         ///< kHz, as broadcast
    std::int32_t polarisationOrQam = 0;  ///< 0 horizontal, 1 vertical; cable: the QAM order
    std::uint32_t symbolRate = 0;        ///< symbols per second

    /// Satellite when the polarisation is 0 or 1, else cable (as the lists store it).
    bool IsCable() const { return polarisationOrQam != 0 && polarisationOrQam != 1; }
    /// "12226000 V 27500000", for cable "346000 QAM64 6900000".
    std::string Text() const;

    bool operator==(const ScanTransponder&) const = default;
};
