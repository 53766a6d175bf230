#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CArchive;

/// Raw bytes carried verbatim (descriptor loops, program data blocks).
using ByteBlock = std::vector<std::uint8_t>;

/// One elementary stream of a program.
class CStreaminfo {
public:
    ByteBlock Descriptors;        ///< descriptor loop as in the PMT (tag, length, payload)...
    std::uint16_t StreamType = 0; ///< MPEG stream type
    std::uint16_t Pid = 0;        ///< elementary PID

    void Serialize(CArchive& ar);

    /// Three-letter ISO 639 code of the first language descriptor (tag 0x0A), or "" when none.
    std::string LanguageCode() const;

    bool operator==(const CStreaminfo&) const = default;
};
