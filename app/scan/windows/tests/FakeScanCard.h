#pragma once
// A card for the scan's windows: every transponder locks at once unless its
// frequency is in `dead`, and its decoding completes at once with the tree
// set for its frequency (none: an empty transponder).
#include <map>
#include <set>

#include "scan/IScanCard.h"

class FakeScanCard : public IScanCard {
  public:
    std::set<std::uint32_t> dead;
    std::map<std::uint32_t, kestrel::PsiTree> trees;
    bool psiCompletes = true;
    int tunings = 0;

    bool SendSwitch(std::span<const std::uint8_t>, std::uint8_t) override { return true; }
    bool SetChannel(const CTuningPlan& plan) override {
        frequency_ = plan.Frequency;
        ++tunings;
        return true;
    }
    bool Locked() override { return !dead.contains(frequency_); }
    bool StartPsi() override { return true; }
    bool PsiComplete() override { return psiCompletes; }
    void AbortPsi() override {}
    bool ReadPsi(kestrel::PsiTree& tree) override {
        const auto found = trees.find(frequency_);
        if (found == trees.end()) return false;
        tree = found->second;
        return true;
    }
    bool StartNit() override { return true; }
    std::vector<std::vector<std::uint8_t>> NitSections() override { return {}; }
    void StopNit() override {}

  private:
    std::uint32_t frequency_ = 0;
};

/// A transponder's tables with programs `sid`.. named `prefix` + number.
inline kestrel::PsiTree TreeOf(std::uint16_t tsid, std::uint16_t firstSid, int count,
                               const std::string& prefix) {
    kestrel::PsiTree tree;
    tree.transportStreamId = tsid;
    tree.originalNetworkId = 1;
    for (int i = 0; i < count; ++i) {
        kestrel::PsiProgram p;
        p.serviceId = std::uint16_t(firstSid + i);
        p.pmtPid = std::uint16_t(0x100 + i);
        p.videoPid = std::uint16_t(0x200 + i);
        p.audioPid = std::uint16_t(0x300 + i);
        p.pmtRead = p.inSdt = true;
        p.serviceType = 1;
        p.name = prefix + std::to_string(i + 1);
        p.provider = "Anbieter";
        p.streams.push_back({2, p.videoPid, -1, {}});
        tree.programs.push_back(p);
    }
    return tree;
}
