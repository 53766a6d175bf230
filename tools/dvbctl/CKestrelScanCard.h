#pragma once
// The card as the channel scan uses it, over the client library: the front
// end for the switch command, the tuning record and the lock, the PSI decoder
// into the key store, a table filter for the network information table. The
// filters' callbacks run on the library's dispatcher, which the caller runs
// between the scan's steps.
#include <string>
#include <vector>

#include "kestrel/CFrontend.h"
#include "kestrel/CPsiDecoder.h"
#include "kestrel/CTableFilter.h"
#include "scan/IScanCard.h"

class CKestrelScanCard final : public IScanCard {
  public:
    /// The decoder's results go under rootKey\subKey of the library's key store.
    CKestrelScanCard(std::string rootKey = DefaultRootKey, std::string subKey = DefaultSubKey);
    ~CKestrelScanCard() override;

    bool SendSwitch(std::span<const std::uint8_t> bytes, std::uint8_t burst) override;
    bool SetChannel(const CTuningPlan& plan) override;
    bool Locked() override;
    bool StartPsi() override;
    bool PsiComplete() override;
    void AbortPsi() override;
    bool ReadPsi(kestrel::PsiTree& tree) override;
    bool StartNit() override;
    std::vector<std::vector<std::uint8_t>> NitSections() override;
    void StopNit() override;

    static constexpr const char* DefaultRootKey = "SOFTWARE\\Norvane\\PSI";
    static constexpr const char* DefaultSubKey = "dvbctl scan";

  private:
    static void OnNit(char* self, std::uint32_t);

    std::string rootKey_, subKey_;
    CFrontend frontend_;
    CPsiDecoder decoder_;
    CTableFilter nitFilter_;
    std::vector<std::vector<std::uint8_t>> nit_;
};
