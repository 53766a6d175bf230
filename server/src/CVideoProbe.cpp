#include "CVideoProbe.h"

#include <array>
#include <vector>

namespace nvdvbsrv {
namespace {

constexpr size_t kSearchLimit = 64 * 1024;  // payload bytes looked at

VideoInfo FromHeader(const uint8_t* h) {
    // h points behind 00 00 01 B3; seven bytes follow.
    VideoInfo v;
    v.width = uint16_t(h[0] << 4 | h[1] >> 4);
    v.height = uint16_t((h[1] & 0x0F) << 8 | h[2]);
    v.aspect = uint16_t(h[3] >> 4);
    v.frameRate = uint16_t(h[3] & 0x0F);
    uint32_t rate400 = uint32_t(h[4]) << 10 | uint32_t(h[5]) << 2 | uint32_t(h[6] >> 6);
    v.bitrateKbit = uint16_t(std::min<uint32_t>(rate400 * 400 / 1000, 0xFFFF));
    return v;
}

}  // namespace

VideoInfo CVideoProbe::Probe(const CTsFile& file, uint16_t pid) {
    std::vector<uint8_t> payload;
    for (size_t i = 0; i < file.PacketCount() && payload.size() < kSearchLimit; ++i) {
        auto p = file.Packet(i);
        if (((p[1] & 0x1F) << 8 | p[2]) != pid || !(p[3] & 0x10)) continue;
        size_t pos = 4;
        if (p[3] & 0x20) pos += 1 + size_t(p[4]);
        if (pos >= p.size()) continue;
        payload.insert(payload.end(), p.begin() + pos, p.end());
    }
    for (size_t i = 0; i + 11 <= payload.size(); ++i) {
        if (payload[i] == 0 && payload[i + 1] == 0 && payload[i + 2] == 1 &&
            payload[i + 3] == 0xB3) {
            return FromHeader(&payload[i + 4]);
        }
    }
    return {};
}

}  // namespace nvdvbsrv
