#pragma once
// A card for the scan's tests: transponders it locks on (by frequency), the
// decoded tables and NIT sections each gives, and a record of every call.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "scan/IScanCard.h"

class FakeScanCard : public IScanCard {
  public:
    struct Transponder {
        kestrel::PsiTree tree;
        int pollsToComplete = 1;  ///< PsiComplete() queries until true; -1 never
        std::vector<std::vector<std::uint8_t>> nit;
        int pollsToNit = 0;  ///< NitSections() queries before the table is there
    };
    std::map<std::uint32_t, Transponder> transponders;  ///< by frequency
    std::vector<std::string> calls;
    std::vector<std::vector<std::uint8_t>> switchBytes;
    std::vector<CTuningPlan> tuned;

    bool SendSwitch(std::span<const std::uint8_t> bytes, std::uint8_t burst) override {
        calls.push_back("switch " + std::to_string(burst));
        switchBytes.emplace_back(bytes.begin(), bytes.end());
        return true;
    }
    bool SetChannel(const CTuningPlan& plan) override {
        calls.push_back("tune " + std::to_string(plan.Frequency));
        tuned.push_back(plan);
        current_ = transponders.count(plan.Frequency) ? &transponders[plan.Frequency] : nullptr;
        return true;
    }
    bool Locked() override { return current_ != nullptr; }
    bool StartPsi() override {
        calls.push_back("psi");
        polls_ = 0;
        return current_ != nullptr;
    }
    bool PsiComplete() override {
        ++polls_;
        return current_->pollsToComplete >= 0 && polls_ >= current_->pollsToComplete;
    }
    void AbortPsi() override { calls.push_back("abort psi"); }
    bool ReadPsi(kestrel::PsiTree& tree) override {
        tree = current_->tree;
        return true;
    }
    bool StartNit() override {
        calls.push_back("nit");
        nitPolls_ = 0;
        return true;
    }
    std::vector<std::vector<std::uint8_t>> NitSections() override {
        return nitPolls_++ >= current_->pollsToNit ? current_->nit
                                                   : std::vector<std::vector<std::uint8_t>>{};
    }
    void StopNit() override { calls.push_back("stop nit"); }

  private:
    Transponder* current_ = nullptr;
    int polls_ = 0;
    int nitPolls_ = 0;
};
