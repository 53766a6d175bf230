#include "CTeletextDecoder.h"

#include "mpegts/PesHeader.h"
#include "mpegts/TeletextPacket.h"
#include "mpegts/TsPacket.h"

namespace nvdvbsrv {
namespace {

constexpr size_t kMaxPes = 64 * 1024;
constexpr uint8_t kPrivateStream1 = 0xBD;

}  // namespace

CTeletextDecoder::CTeletextDecoder(IDatagramSink& sink)
    : sink_(sink),
      pes_(kMaxPes),
      pages_([this](std::span<const uint8_t> page) { sink_.Send(kPort, page); }) {}

void CTeletextDecoder::SetPid(uint16_t pid) {
    std::lock_guard lock(mutex_);
    pid_ = pid;
    pes_.Reset();
    pages_.Clear();
}

void CTeletextDecoder::Stop() {
    std::lock_guard lock(mutex_);
    pid_ = -1;
    pes_.Reset();
    pages_.Clear();
}

bool CTeletextDecoder::Running() const {
    std::lock_guard lock(mutex_);
    return pid_ >= 0;
}

void CTeletextDecoder::ResetAssemblers() {
    std::lock_guard lock(mutex_);
    pes_.Reset();
    pages_.Reset();
}

void CTeletextDecoder::FeedPacket(std::span<const uint8_t> bytes) {
    const auto p = mpegts::TsPacket::View(bytes);
    if (!p) return;
    std::lock_guard lock(mutex_);
    if (pid_ < 0 || p->Pid() != pid_) return;
    pes_.Feed(*p, [this](PesUnit&& unit) {
        if (unit.streamId == kPrivateStream1) Decode(unit.payload);
    });
}

void CTeletextDecoder::FeedPes(std::span<const uint8_t> pes) {
    const auto header = mpegts::PesHeader::Parse(pes);
    if (!header || header->streamId != kPrivateStream1) return;
    std::lock_guard lock(mutex_);
    Decode(header->payload);
}

void CTeletextDecoder::Decode(std::span<const uint8_t> field) {
    for (const auto unit : mpegts::TeletextUnits(field)) {
        if (const auto packet = mpegts::DecodeTeletextPacket(unit)) pages_.Packet(*packet);
    }
}

}  // namespace nvdvbsrv
