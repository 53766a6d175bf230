#include "CPesAssembler.h"

#include "mpegts/PesHeader.h"

namespace nvdvbsrv {

using mpegts::PesHeader;

namespace {
constexpr uint8_t kFirstStreamId = 0xBC;
}  // namespace

void CPesAssembler::Reset() {
    bytes_.clear();
    collecting_ = false;
    lastCc_ = -1;
}

void CPesAssembler::Feed(const mpegts::TsPacket& packet, const Done& done) {
    if (packet.TransportError() || packet.Scrambling() != 0) {
        Reset();
        return;
    }
    if (!packet.HasPayload()) return;
    const int cc = packet.ContinuityCounter();
    if (cc == lastCc_) return;  // a repeated packet carries nothing new
    const bool continuous = lastCc_ < 0 || cc == ((lastCc_ + 1) & 0x0F);
    lastCc_ = cc;
    const auto payload = packet.Payload();
    if (packet.PayloadUnitStart()) {
        if (collecting_) Complete(done);  // an open-ended packet ends where the next starts
        bytes_.assign(payload.begin(), payload.end());
        collecting_ = true;
    } else if (!collecting_ || !continuous) {
        bytes_.clear();
        collecting_ = false;
        return;
    } else {
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    }
    if (bytes_.size() > limit_) {
        bytes_.clear();
        collecting_ = false;
        return;
    }
    // A packet of announced length is finished as soon as it is whole.
    if (bytes_.size() >= PesHeader::kFixedSize) {
        const size_t length = size_t(bytes_[4]) << 8 | bytes_[5];
        if (length != 0 && bytes_.size() >= PesHeader::kFixedSize + length) Complete(done);
    }
}

void CPesAssembler::Finish(const Done& done) {
    // Only an open-ended packet can still be under way: one of announced
    // length is completed as soon as it is whole.
    if (collecting_ && bytes_.size() >= PesHeader::kFixedSize && bytes_[4] == 0 && bytes_[5] == 0)
        Complete(done);
    Reset();
}

void CPesAssembler::Complete(const Done& done) {
    collecting_ = false;
    const auto header = PesHeader::Parse(bytes_);
    // Stream ids start at 0xBC; a lower code after the prefix is no PES.
    if (!header || header->streamId < kFirstStreamId || !header->hasOptionalHeader ||
        header->payload.empty()) {
        bytes_.clear();
        return;
    }
    PesUnit unit;
    unit.streamId = header->streamId;
    unit.pts = header->pts;
    const size_t from = header->payloadOffset;
    const size_t size = header->payload.size();
    if (keepPackets_)
        unit.packet.assign(bytes_.begin(), bytes_.begin() + std::ptrdiff_t(from + size));
    bytes_.erase(bytes_.begin(), bytes_.begin() + std::ptrdiff_t(from));
    bytes_.resize(size);
    unit.payload = std::move(bytes_);
    bytes_ = {};
    done(std::move(unit));
}

}  // namespace nvdvbsrv
