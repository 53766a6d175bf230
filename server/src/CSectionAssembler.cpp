#include "CSectionAssembler.h"

namespace nvdvbsrv {

void CSectionAssembler::Reset() {
    buffer_.clear();
    collecting_ = false;
    lastCc_ = -1;
}

size_t CSectionAssembler::Expected() const {
    if (buffer_.size() < 3) return 0;
    return 3 + (size_t(buffer_[1] & 0x0F) << 8 | buffer_[2]);
}

void CSectionAssembler::Feed(std::span<const uint8_t> packet, const SectionSink& sink) {
    if (packet.size() != kPacketSize || packet[0] != 0x47) return;
    if (packet[1] & 0x80) {  // transport_error_indicator
        Reset();
        return;
    }
    const bool unitStart = packet[1] & 0x40;
    const int afc = (packet[3] >> 4) & 3;
    const int cc = packet[3] & 0x0F;
    if (!(afc & 1)) return;                     // no payload; the counter does not advance
    if (lastCc_ >= 0 && cc == lastCc_) return;  // duplicate packet
    if (lastCc_ >= 0 && cc != ((lastCc_ + 1) & 0x0F)) {
        buffer_.clear();
        collecting_ = false;
    }
    lastCc_ = cc;

    size_t pos = 4;
    if (afc == 3) {
        pos += 1 + size_t(packet[4]);
        if (pos > kPacketSize) {
            Reset();
            return;
        }
    }
    std::span<const uint8_t> payload = packet.subspan(pos);
    if (!unitStart) {
        if (collecting_) Take(payload, sink);
        return;
    }
    if (payload.empty()) return;
    size_t pointer = payload[0];
    payload = payload.subspan(1);
    if (pointer > payload.size()) {
        buffer_.clear();
        collecting_ = false;
        return;
    }
    // The bytes before the pointer finish the section in progress.
    if (collecting_) Take(payload.first(pointer), sink);
    buffer_.clear();
    collecting_ = true;
    Take(payload.subspan(pointer), sink);
}

void CSectionAssembler::Take(std::span<const uint8_t> data, const SectionSink& sink) {
    while (!data.empty() && collecting_) {
        if (buffer_.empty() && data[0] == 0xFF) {  // stuffing: nothing more in this packet
            collecting_ = false;
            return;
        }
        // Header first, so that the length is known.
        while (buffer_.size() < 3 && !data.empty()) {
            buffer_.push_back(data[0]);
            data = data.subspan(1);
        }
        size_t want = Expected();
        if (want == 0) return;  // header still incomplete
        if (want > kMaxSection) {
            buffer_.clear();
            collecting_ = false;
            return;
        }
        size_t n = std::min(want - buffer_.size(), data.size());
        buffer_.insert(buffer_.end(), data.begin(), data.begin() + n);
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

}  // namespace nvdvbsrv
