#include "CVideoProbe.h"

#include <algorithm>
#include <array>
#include <vector>

#include "mpegts/BitReader.h"
#include "mpegts/TsPacket.h"

namespace nvdvbsrv {
namespace {

constexpr size_t kSearchLimit = 64 * 1024;  // payload bytes looked at
constexpr std::array<uint8_t, 4> kSequenceHeader = {0x00, 0x00, 0x01, 0xB3};
constexpr size_t kFieldBytes = 7;  // size, aspect, frame rate, bit rate

VideoInfo FromHeader(std::span<const uint8_t> fields) {
    mpegts::BitReader r(fields);
    VideoInfo v;
    v.width = uint16_t(r.Bits(12));
    v.height = uint16_t(r.Bits(12));
    v.aspect = uint16_t(r.Bits(4));
    v.frameRate = uint16_t(r.Bits(4));
    const uint32_t rate400 = r.Bits(18);  // units of 400 bit/s
    v.bitrateKbit = uint16_t(std::min<uint32_t>(rate400 * 400 / 1000, 0xFFFF));
    return v;
}

}  // namespace

VideoInfo CVideoProbe::Probe(const CTsFile& file, uint16_t pid) {
    std::vector<uint8_t> payload;
    for (size_t i = 0; i < file.PacketCount() && payload.size() < kSearchLimit; ++i) {
        const auto p = mpegts::TsPacket::View(file.Packet(i));
        if (!p || p->Pid() != pid) continue;
        const auto bytes = p->Payload();
        payload.insert(payload.end(), bytes.begin(), bytes.end());
    }
    const auto at =
        std::search(payload.begin(), payload.end(), kSequenceHeader.begin(), kSequenceHeader.end());
    const auto start = size_t(at - payload.begin()) + kSequenceHeader.size();
    if (at == payload.end() || payload.size() - start < kFieldBytes) return {};
    return FromHeader(std::span<const uint8_t>(payload).subspan(start, kFieldBytes));
}

}  // namespace nvdvbsrv
