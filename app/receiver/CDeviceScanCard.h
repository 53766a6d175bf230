#pragma once
// The card as the channel scan uses it, over the program's device set: the
// switch command and the tuning record as the program switch sends them, the
// lock from the front end's answer to the tuning, the PSI decoder and the
// network information table of the device set.
#include "scan/IScanCard.h"

class IDeviceSet;

class CDeviceScanCard : public IScanCard {
  public:
    explicit CDeviceScanCard(IDeviceSet& card) : card_(card) {}

    bool SendSwitch(std::span<const std::uint8_t> bytes, std::uint8_t burst) override;
    bool SetChannel(const CTuningPlan& plan) override;
    bool Locked() override { return locked_; }
    bool StartPsi() override;
    bool PsiComplete() override;
    void AbortPsi() override;
    bool ReadPsi(kestrel::PsiTree& tree) override;
    bool StartNit() override;
    std::vector<std::vector<std::uint8_t>> NitSections() override;
    void StopNit() override;

  private:
    IDeviceSet& card_;
    bool locked_ = false;
};
