#pragma once
// What the user chose in the dialog "Sendersuchlauf", and the scan it makes:
// the transponders to visit and the scan's settings.
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scan/CScanRun.h"
#include "scan/ScanTransponder.h"

class CSVLFile;
class CProgramInfo;

enum class ScanSource { ListTransponders, TunedNit, TransponderFile, CableChannels };

struct ScanChoice {
    bool cable = false;
    std::string lnbName;  ///< satellite: the key of the list's LNB table
    ScanSource source = ScanSource::ListTransponders;
    QString transponderFile;
    std::int32_t qam = 64;               ///< cable
    std::uint32_t symbolRate = 6900000;  ///< cable, symbols per second
};

struct ScanJob {
    ScanSettings settings;
    std::vector<ScanTransponder> transponders;
};

namespace ScanChoices {

/// What the job needs besides the choice.
struct Context {
    const CSVLFile* list = nullptr;
    const CProgramInfo* tuned = nullptr;  ///< null when nothing is tuned
    /// The cable channel table's centre frequencies (kHz).
    std::function<std::vector<std::uint32_t>()> cableFrequencies;
};

/// The scan for `choice`; false with a German message in `error` when it
/// cannot be made (no programs on the LNB, nothing tuned, a bad file, ...).
bool MakeJob(const ScanChoice& choice, const Context& context, ScanJob& job, QString& error);

/// A transponder as the progress shows it: "12226 MHz V 27500",
/// "12188,5 MHz H 22000", for cable "346 MHz QAM64 6900".
QString DisplayText(const ScanTransponder& transponder);

/// The LNB record of the cable: no oscillator, no supply, no switch command.
CLnb CableLnb();

}  // namespace ScanChoices
