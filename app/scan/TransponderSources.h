#pragma once
// Where the transponders of a scan come from: the programs of a list on one
// LNB, a network information table, a transponder file, or the frequencies of
// the cable channel table.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mpegts/NitSection.h"
#include "scan/ScanTransponder.h"

class CSVLFile;

namespace TransponderSources {

/// The distinct transponders of the list's programs that name `lnbName`, in
/// the order of their first program.
std::vector<ScanTransponder> FromList(const CSVLFile& list, const std::string& lnbName);

/// The transponders the table describes with a satellite or cable delivery
/// descriptor (others are left out), in table order.
std::vector<ScanTransponder> FromNit(const mpegts::NitSection& nit);

/// One transponder a line, "frequency-kHz H|V symbol-rate"; blank lines and
/// lines starting with '#' are skipped. False on the first bad line, with a
/// German message naming its number in `error`.
bool ParseTransponderFile(std::string_view text, std::vector<ScanTransponder>& out,
                          std::string& error);
/// The same for a file on disk (a file that cannot be read is an error too).
bool ReadTransponderFile(const std::string& path, std::vector<ScanTransponder>& out,
                         std::string& error);

/// Cable transponders at the given centre frequencies (kHz), all with one
/// QAM order and symbol rate.
std::vector<ScanTransponder> FromCableFrequencies(std::span<const std::uint32_t> frequencies,
                                                  std::int32_t qam, std::uint32_t symbolRate);

/// Appends `tp` unless the list holds it already; true when appended.
bool AppendNew(std::vector<ScanTransponder>& list, const ScanTransponder& tp);

}  // namespace TransponderSources
