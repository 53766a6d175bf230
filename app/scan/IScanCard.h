#pragma once
// The card as a channel scan uses it. Every call returns at once: the scan
// asks again on its next step (CScanRun) instead of waiting inside a call.
// dvbctl implements it over the client library, the program over its device
// set.
#include <cstdint>
#include <span>
#include <vector>

#include "channellist/CTuningPlan.h"
#include "scan/ScanPsi.h"

class IScanCard {
  public:
    virtual ~IScanCard() = default;

    /// One sending of the switch command: `bytes` (none for a tone burst)
    /// and `burst` (255: no burst). The scan repeats and paces the sendings
    /// as the plan says. False when the card refused it.
    virtual bool SendSwitch(std::span<const std::uint8_t> bytes, std::uint8_t burst) = 0;
    /// Sends the plan's tuning record (mode 2); false when the card refused it.
    virtual bool SetChannel(const CTuningPlan& plan) = 0;
    /// Whether the front end holds a lock on the channel set last.
    virtual bool Locked() = 0;

    /// Starts decoding PAT, PMTs and SDT of the tuned transponder; false when
    /// the card's filters could not be set.
    virtual bool StartPsi() = 0;
    /// Whether PAT, every PMT and the SDT have been decoded.
    virtual bool PsiComplete() = 0;
    /// Stops the decoding (closes its filters); what was decoded stays readable.
    virtual void AbortPsi() = 0;
    /// What the decoding has found so far; false when nothing can be read.
    virtual bool ReadPsi(kestrel::PsiTree& tree) = 0;

    /// Starts collecting the network information table of the tuned
    /// transponder (PID 0x10, table 0x40); false when the filter could not be set.
    virtual bool StartNit() = 0;
    /// The sections of the whole table once it has arrived; empty before.
    virtual std::vector<std::vector<std::uint8_t>> NitSections() = 0;
    virtual void StopNit() = 0;
};
