#include "CPvaWriter.h"

#include <algorithm>
#include <vector>

namespace nvdvbsrv {

void CPvaWriter::Video(std::span<const uint8_t> picture, std::optional<uint64_t> pts) {
    std::optional<uint32_t> stamp;
    if (pts) stamp = uint32_t(*pts);
    do {
        const size_t room = kMaxPayload - (stamp ? 4 : 0);
        const size_t n = std::min(room, picture.size());
        Packet(1, picture.first(n), stamp);
        picture = picture.subspan(n);
        stamp.reset();  // the PTS belongs to the picture's first packet
    } while (!picture.empty());
}

void CPvaWriter::Audio(std::span<const uint8_t> pes) {
    while (!pes.empty()) {
        const size_t n = std::min(kMaxPayload, pes.size());
        Packet(2, pes.first(n), std::nullopt);
        pes = pes.subspan(n);
    }
}

void CPvaWriter::Packet(uint8_t stream, std::span<const uint8_t> payload,
                        std::optional<uint32_t> pts) {
    const size_t length = payload.size() + (pts ? 4 : 0);
    std::vector<uint8_t> packet = {'A',
                                   'V',
                                   stream,
                                   counter_[stream]++,
                                   0x55,
                                   uint8_t(pts ? 0x10 : 0),
                                   uint8_t(length >> 8),
                                   uint8_t(length)};
    if (pts)
        for (int shift = 24; shift >= 0; shift -= 8) packet.push_back(uint8_t(*pts >> shift));
    packet.insert(packet.end(), payload.begin(), payload.end());
    output_(packet);
}

}  // namespace nvdvbsrv
