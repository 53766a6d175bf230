#include "SectionAssembler.h"

#include <algorithm>

namespace mpegts {

void SectionAssembler::Reset() {
    Drop();
    lastCc_ = -1;
}

void SectionAssembler::Drop() {
    buffer_.clear();
    collecting_ = false;
}

std::size_t SectionAssembler::Expected() const { return SectionHeader::AnnouncedSize(buffer_); }

void SectionAssembler::Feed(std::span<const std::uint8_t> bytes, const SectionSink& sink) {
    const auto packet = TsPacket::View(bytes);
    if (!packet) return;
    if (packet->TransportError()) {
        Reset();
        return;
    }
    if (!packet->HasPayload()) return;  // the counter does not advance
    const int cc = packet->ContinuityCounter();
    if (lastCc_ >= 0 && cc == lastCc_) return;  // duplicate packet
    if (lastCc_ >= 0 && cc != ((lastCc_ + 1) & 0x0F)) Drop();
    lastCc_ = cc;
    if (!packet->AdaptationFieldValid()) {
        Reset();
        return;
    }
    std::span<const std::uint8_t> payload = packet->Payload();
    if (!packet->PayloadUnitStart()) {
        if (collecting_) Take(payload, sink);
        return;
    }
    if (payload.empty()) return;
    const std::size_t pointer = payload[0];
    payload = payload.subspan(1);
    if (pointer > payload.size()) {
        Drop();
        return;
    }
    // The bytes before the pointer finish the section in progress.
    if (collecting_) Take(payload.first(pointer), sink);
    buffer_.clear();
    collecting_ = true;
    Take(payload.subspan(pointer), sink);
}

void SectionAssembler::Take(std::span<const std::uint8_t> data, const SectionSink& sink) {
    while (!data.empty() && collecting_) {
        if (buffer_.empty() && data[0] == 0xFF) {  // stuffing: nothing more in this packet
            collecting_ = false;
            return;
        }
        // Header first, so that the length is known.
        while (buffer_.size() < SectionHeader::kShortSize && !data.empty()) {
            buffer_.push_back(data[0]);
            data = data.subspan(1);
        }
        const std::size_t want = Expected();
        if (want == 0) return;  // header still incomplete
        if (want > kMaxSection) {
            Drop();
            return;
        }
        const std::size_t n = std::min(want - buffer_.size(), data.size());
        buffer_.insert(buffer_.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
        data = data.subspan(n);
        if (buffer_.size() == want) {
            sink(buffer_);
            buffer_.clear();
            // A further section may follow in the same packet; one that would
            // start in the next packet is announced by its unit start.
            if (data.empty()) collecting_ = false;
        }
    }
}

}  // namespace mpegts
