#include "CKestrelScanCard.h"

#include "SvlTuning.h"
#include "kestrel/CRegistry.h"
#include "kestrel/PsiTree.h"

namespace {

constexpr std::uint16_t kNitPid = 0x0010;
constexpr std::uint8_t kNitActual = 0x40;
constexpr std::uint16_t kLocked = 0x1F;  // every lock bit of the demodulator

}  // namespace

CKestrelScanCard::CKestrelScanCard(std::string rootKey, std::string subKey)
    : rootKey_(std::move(rootKey)), subKey_(std::move(subKey)) {
    nitFilter_.SetCallback(OnNit, reinterpret_cast<char*>(this), 0);
}

CKestrelScanCard::~CKestrelScanCard() {
    decoder_.AbortDecoding();
    StopNit();
}

bool CKestrelScanCard::SendSwitch(std::span<const std::uint8_t> bytes, std::uint8_t burst) {
    std::vector<std::uint8_t> message(bytes.begin(), bytes.end());
    return frontend_.SendDiSEqCMsg(message.empty() ? nullptr : message.data(),
                                   static_cast<std::uint32_t>(message.size()), burst,
                                   0) == CCommonDVB::RET_OK;
}

bool CKestrelScanCard::SetChannel(const CTuningPlan& plan) {
    CHANNEL_TYPE channel = ChannelOf(plan);
    std::uint16_t status = 0xFFFF;
    return frontend_.zSetChannel(status, channel) == CCommonDVB::RET_OK;
}

bool CKestrelScanCard::Locked() {
    std::uint16_t lock = 0, snr = 0, agc = 0;
    return frontend_.zGetDemodStatus(lock, snr, agc) == CCommonDVB::RET_OK && lock == kLocked;
}

bool CKestrelScanCard::StartPsi() {
    return decoder_.StartDecoding(rootKey_.c_str(), subKey_.c_str(), "dvbctl scan") == 0;
}

bool CKestrelScanCard::PsiComplete() {
    int pat = 0, pmts = 0, sdt = 0;
    std::uint32_t elapsed = 0;
    return decoder_.GetProgress(pat, pmts, sdt, elapsed) == 1;
}

void CKestrelScanCard::AbortPsi() { decoder_.AbortDecoding(); }

bool CKestrelScanCard::ReadPsi(kestrel::PsiTree& tree) {
    kestrel::CRegistry store;
    return store.Open(kestrel::CRegistry::DefaultPath(), false) &&
           kestrel::ReadPsiTree(store, rootKey_ + "\\" + subKey_, tree);
}

bool CKestrelScanCard::StartNit() {
    nit_.clear();
    int error = 0;
    return nitFilter_.OpenFilter(kNitPid, kNitActual, 0, 0, &error, 0, 0) == 0;
}

std::vector<std::vector<std::uint8_t>> CKestrelScanCard::NitSections() { return nit_; }

void CKestrelScanCard::StopNit() {
    if (nitFilter_.IsOpened()) nitFilter_.CloseFilter();
}

// A whole table arrived: keep its sections as they came.
void CKestrelScanCard::OnNit(char* self, std::uint32_t) {
    auto& card = *reinterpret_cast<CKestrelScanCard*>(self);
    std::vector<std::vector<std::uint8_t>> sections;
    for (int i = 0; i <= card.nitFilter_.GetLastSection(); ++i) {
        const int size = 3 + card.nitFilter_.GetPayLoadLength(i);
        const std::uint8_t* first = card.nitFilter_.GetBytePointer(i, 0);
        if (!first || !card.nitFilter_.GetBytePointer(i, static_cast<std::uint32_t>(size - 1)))
            return;
        sections.emplace_back(first, first + size);
    }
    card.nit_ = std::move(sections);
}
