#pragma once
// A channel scan as a step machine over a list of transponders, driven by
// Step(now) from a timer or a poll loop. Per transponder: the switch command
// (repeated and paced as the tuning plan says), the tuning record, the wait
// for the lock (a time-out gives "kein Signal" and the next transponder),
// the PSI decoding (until complete or a time-out, then what arrived), the
// network information table beside it, the programs built, the next one.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CTuningPlan.h"
#include "scan/IScanCard.h"
#include "scan/ScanTransponder.h"

struct ScanSettings {
    std::string lnbName;  ///< Windows-1252, as the list names the LNB
    CLnb lnb;
    /// Append the transponders the NIT of each scanned transponder names.
    bool followNit = false;
    /// Wait for the NIT (for the network id and followNit) at most until the
    /// PSI time-out; without it the programs carry network id 0.
    bool readNit = true;
    std::uint64_t settleMs = 100;        ///< after the tuning record, before the first lock query
    std::uint64_t lockTimeoutMs = 3000;  ///< from the tuning record on
    std::uint64_t psiTimeoutMs = 10000;  ///< from the lock on
};

/// What became of one transponder.
struct ScanOutcome {
    ScanTransponder transponder;
    bool locked = false;
    bool psiComplete = false;
    int programs = 0;  ///< programs this transponder added to Found()
};

class CScanRun {
  public:
    enum class Phase { Switch, Lock, Decode, Finished, Cancelled };

    CScanRun(IScanCard& card, ScanSettings settings, std::vector<ScanTransponder> transponders);
    ~CScanRun();
    CScanRun(const CScanRun&) = delete;
    CScanRun& operator=(const CScanRun&) = delete;

    /// Does what is due at `nowMs` (any steady clock in milliseconds) and
    /// returns at once. Nothing after Done().
    void Step(std::uint64_t nowMs);
    /// Stops at once; what was found stays in Found().
    void Cancel();
    bool Done() const { return phase_ == Phase::Finished || phase_ == Phase::Cancelled; }
    bool Cancelled() const { return phase_ == Phase::Cancelled; }
    Phase CurrentPhase() const { return phase_; }

    /// 0-based index of the transponder in work (Count() when finished).
    int CurrentIndex() const { return static_cast<int>(index_); }
    /// The transponders to scan; grows when the NIT names new ones.
    int Count() const { return static_cast<int>(transponders_.size()); }
    const std::vector<ScanTransponder>& Transponders() const { return transponders_; }
    /// Text of the transponder in work ("" when done).
    std::string TransponderText() const;
    int ProgramsFound() const { return static_cast<int>(found_.size()); }
    /// The state in German (UTF-8): "Umschalten", "Warte auf Signal",
    /// "Lese Programmtabellen", "Fertig", "Abgebrochen".
    std::string StateText() const;
    /// "kein Signal" or "N Programme" for a finished transponder.
    static std::string OutcomeText(const ScanOutcome& outcome);

    /// The programs found so far, in scan order (a service seen on two
    /// transponders once).
    const std::vector<CProgramInfo>& Found() const { return found_; }
    /// One entry per transponder finished, in order.
    const std::vector<ScanOutcome>& Outcomes() const { return outcomes_; }
    /// The transponders with a lock.
    int LockedCount() const;

  private:
    void BeginTransponder(std::uint64_t now);
    void StepSwitch(std::uint64_t now);
    void StepLock(std::uint64_t now);
    void StepDecode(std::uint64_t now);
    void FinishTransponder(std::uint64_t now, bool locked, bool psiComplete, int programs);
    void TakeNit();
    int TakePrograms();
    void StopCard();

    IScanCard& card_;
    ScanSettings settings_;
    std::vector<ScanTransponder> transponders_;
    std::size_t index_ = 0;
    Phase phase_ = Phase::Switch;
    bool started_ = false;
    CTuningPlan plan_;
    int sendings_ = 0;
    std::uint64_t dueMs_ = 0;       ///< next action of the phase
    std::uint64_t phaseEndMs_ = 0;  ///< time-out of the phase
    bool psiRunning_ = false;
    bool nitRunning_ = false;
    std::optional<std::uint16_t> networkId_;  ///< of the transponder in work
    std::vector<CProgramInfo> found_;
    std::vector<ScanOutcome> outcomes_;
};

/// The tuning plan of a transponder on an LNB: the plan of a probe program
/// with the transponder's tuning data.
CTuningPlan ScanTuningPlan(const CLnb& lnb, const ScanTransponder& transponder);
