#pragma once
// Cell texts of the stream list (UTF-8), and the language text of a stream.
#include <cstdint>
#include <string>

#include "channellist/CStreaminfo.h"

namespace StreamTexts {

/// The PID in the display mode: "%04X" in hex mode, decimal otherwise.
std::string Pid(std::uint16_t pid, bool hex);

/// The descriptor loop shown byte by byte as Windows-1252 characters; a byte
/// below 50 other than 32 (tags, lengths, control bytes) shows as a space.
std::string Descriptors(const ByteBlock& descriptors);

/// The stream's ISO 639 language code, or "keine Info" without one.
std::string Language(const CStreaminfo& stream);

}  // namespace StreamTexts
