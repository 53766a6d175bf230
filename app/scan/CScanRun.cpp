#include "scan/CScanRun.h"

#include <tuple>
#include <utility>

#include "mpegts/NitSection.h"
#include "scan/ScanPrograms.h"
#include "scan/TransponderSources.h"

namespace {

constexpr std::uint8_t kRepeatFraming = 0xE1;

auto KeyOf(const CProgramInfo& p) {
    return std::tuple(p.OriginalNetworkId, p.TransportStreamId, p.ServiceId);
}

}  // namespace

CTuningPlan ScanTuningPlan(const CLnb& lnb, const ScanTransponder& transponder) {
    CProgramInfo probe;
    probe.Frequency = static_cast<std::int32_t>(transponder.frequency);
    probe.PolarisationOrQam = transponder.polarisationOrQam;
    probe.SymbolRate = static_cast<std::int32_t>(transponder.symbolRate);
    return CTuningPlan::For(probe, lnb);
}

CScanRun::CScanRun(IScanCard& card, ScanSettings settings,
                   std::vector<ScanTransponder> transponders)
    : card_(card), settings_(std::move(settings)), transponders_(std::move(transponders)) {}

CScanRun::~CScanRun() { StopCard(); }

void CScanRun::Step(std::uint64_t nowMs) {
    if (Done()) return;
    if (!started_) {
        started_ = true;
        BeginTransponder(nowMs);
    }
    switch (phase_) {
        case Phase::Switch:
            StepSwitch(nowMs);
            break;
        case Phase::Lock:
            StepLock(nowMs);
            break;
        case Phase::Decode:
            StepDecode(nowMs);
            break;
        default:
            break;
    }
}

void CScanRun::Cancel() {
    if (Done()) return;
    StopCard();
    phase_ = Phase::Cancelled;
}

void CScanRun::BeginTransponder(std::uint64_t now) {
    if (index_ >= transponders_.size()) {
        phase_ = Phase::Finished;
        return;
    }
    plan_ = ScanTuningPlan(settings_.lnb, transponders_[index_]);
    sendings_ = 0;
    networkId_.reset();
    dueMs_ = now;
    phase_ = Phase::Switch;
}

// The switch command as often as the plan says, its pause after each
// sending, then the tuning record.
void CScanRun::StepSwitch(std::uint64_t now) {
    if (now < dueMs_) return;
    if (sendings_ < plan_.SwitchRepeats) {
        std::vector<std::uint8_t> bytes = plan_.SwitchBytes;
        if (sendings_ > 0 && !bytes.empty()) bytes[0] = kRepeatFraming;
        card_.SendSwitch(bytes, plan_.SwitchBurst);
        ++sendings_;
        dueMs_ = now + static_cast<std::uint64_t>(plan_.SwitchPauseMs);
        return;
    }
    if (!card_.SetChannel(plan_)) {
        FinishTransponder(now, false, false, 0);
        return;
    }
    phase_ = Phase::Lock;
    dueMs_ = now + settings_.settleMs;
    phaseEndMs_ = now + settings_.lockTimeoutMs;
}

void CScanRun::StepLock(std::uint64_t now) {
    if (now < dueMs_) return;
    if (!card_.Locked()) {
        if (now >= phaseEndMs_) FinishTransponder(now, false, false, 0);
        return;
    }
    psiRunning_ = card_.StartPsi();
    nitRunning_ = settings_.readNit && card_.StartNit();
    if (!psiRunning_) {
        StopCard();
        FinishTransponder(now, true, false, 0);
        return;
    }
    phase_ = Phase::Decode;
    phaseEndMs_ = now + settings_.psiTimeoutMs;
}

void CScanRun::StepDecode(std::uint64_t now) {
    if (nitRunning_) TakeNit();
    const bool complete = card_.PsiComplete();
    if ((complete && !nitRunning_) || now >= phaseEndMs_) {
        const int programs = TakePrograms();
        StopCard();
        FinishTransponder(now, true, complete, programs);
    }
}

// The network id and, when the scan follows the NIT, its transponders, once
// the whole table is there.
void CScanRun::TakeNit() {
    const auto sections = card_.NitSections();
    if (sections.empty()) return;
    for (const auto& bytes : sections) {
        const auto nit = mpegts::ParseNit(bytes);
        if (!nit) continue;
        if (!networkId_) networkId_ = nit->networkId;
        if (!settings_.followNit) continue;
        for (const ScanTransponder& tp : TransponderSources::FromNit(*nit))
            TransponderSources::AppendNew(transponders_, tp);
    }
    card_.StopNit();
    nitRunning_ = false;
}

// The programs decoded so far; a service already found stays as it was.
int CScanRun::TakePrograms() {
    kestrel::PsiTree tree;
    if (!card_.ReadPsi(tree)) return 0;
    const ScanPrograms::Origin origin{settings_.lnbName, transponders_[index_], networkId_};
    int added = 0;
    for (CProgramInfo& p : ScanPrograms::BuildAll(tree, origin)) {
        bool known = false;
        for (const CProgramInfo& have : found_) known |= KeyOf(have) == KeyOf(p);
        if (known) continue;
        found_.push_back(std::move(p));
        ++added;
    }
    return added;
}

void CScanRun::FinishTransponder(std::uint64_t now, bool locked, bool psiComplete, int programs) {
    outcomes_.push_back({transponders_[index_], locked, psiComplete, programs});
    ++index_;
    BeginTransponder(now);
}

void CScanRun::StopCard() {
    if (psiRunning_) card_.AbortPsi();
    if (nitRunning_) card_.StopNit();
    psiRunning_ = nitRunning_ = false;
}

std::string CScanRun::TransponderText() const {
    return index_ < transponders_.size() && !Done() ? transponders_[index_].Text() : "";
}

std::string CScanRun::StateText() const {
    switch (phase_) {
        case Phase::Switch:
            return "Umschalten";
        case Phase::Lock:
            return "Warte auf Signal";
        case Phase::Decode:
            return "Lese Programmtabellen";
        case Phase::Finished:
            return "Fertig";
        case Phase::Cancelled:
            return "Abgebrochen";
    }
    return "";
}

std::string CScanRun::OutcomeText(const ScanOutcome& outcome) {
    if (!outcome.locked) return "kein Signal";
    return std::to_string(outcome.programs) + (outcome.programs == 1 ? " Programm" : " Programme");
}

int CScanRun::LockedCount() const {
    int n = 0;
    for (const auto& o : outcomes_) n += o.locked ? 1 : 0;
    return n;
}
