#include "receiver/CDeviceScanCard.h"

#include "receiver/ChannelRecords.h"
#include "receiver/IDeviceSet.h"

bool CDeviceScanCard::SendSwitch(std::span<const std::uint8_t> bytes, std::uint8_t burst) {
    return card_.SendDiSEqCMsg(bytes, burst).Ok();
}

bool CDeviceScanCard::SetChannel(const CTuningPlan& plan) {
    // The front end answers the tuning with its status word: 0 when it locked.
    const FrontendReading<ChannelRecord> reading =
        card_.zSetChannel(ChannelRecords::FromPlan(plan));
    locked_ = reading.Good();
    return reading.result.Ok();
}

bool CDeviceScanCard::StartPsi() { return card_.StartPsiDecoding() == 0; }
bool CDeviceScanCard::PsiComplete() { return card_.PsiDecodingComplete(); }
void CDeviceScanCard::AbortPsi() { card_.AbortPsiDecoding(); }
bool CDeviceScanCard::ReadPsi(kestrel::PsiTree& tree) { return card_.ReadPsiTree(tree); }
bool CDeviceScanCard::StartNit() { return card_.StartNitReception(); }
std::vector<std::vector<std::uint8_t>> CDeviceScanCard::NitSections() {
    return card_.NitSections();
}
void CDeviceScanCard::StopNit() { card_.StopNitReception(); }
