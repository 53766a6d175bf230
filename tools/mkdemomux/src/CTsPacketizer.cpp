#include "CTsPacketizer.h"

#include <algorithm>
#include <cstddef>

#include "mpegts/TsPacket.h"

namespace demomux {
namespace {

using mpegts::TsPacket;

constexpr uint8_t kPointerField = 0;  // every section starts right after it
constexpr uint16_t kPidMask = 0x1FFF;

}  // namespace

uint8_t CTsPacketizer::NextCc(uint16_t pid) {
    uint8_t& c = cc_[pid & kPidMask];
    const uint8_t now = c;
    c = uint8_t((c + 1) & 0x0F);
    return now;
}

std::vector<Packet> CTsPacketizer::Section(uint16_t pid, const std::vector<uint8_t>& section) {
    std::vector<Packet> out;
    size_t pos = 0;
    bool first = true;
    while (pos < section.size() || first) {
        Packet p;
        p.fill(0xFF);
        TsPacket::WriteHeader(p, pid, first, TsPacket::kPayloadOnly, NextCc(pid));
        size_t at = TsPacket::kHeaderSize;
        if (first) p[at++] = kPointerField;
        const size_t n = std::min(section.size() - pos, p.size() - at);
        std::copy_n(section.begin() + std::ptrdiff_t(pos), n, p.begin() + std::ptrdiff_t(at));
        pos += n;
        first = false;
        out.push_back(p);
    }
    return out;
}

std::vector<Packet> CTsPacketizer::Pes(uint16_t pid, const std::vector<uint8_t>& pes) {
    constexpr size_t kPayload = TsPacket::kSize - TsPacket::kHeaderSize;
    std::vector<Packet> out;
    for (size_t pos = 0; pos < pes.size(); pos += kPayload) {
        Packet p;
        p.fill(0xFF);
        TsPacket::WriteHeader(p, pid, pos == 0, TsPacket::kPayloadOnly, NextCc(pid));
        std::copy_n(pes.begin() + std::ptrdiff_t(pos), std::min(kPayload, pes.size() - pos),
                    p.begin() + TsPacket::kHeaderSize);
        out.push_back(p);
    }
    return out;
}

Packet CTsPacketizer::Remap(const Packet& in, uint16_t pid) {
    Packet p = in;
    TsPacket::SetPid(p, pid);
    // The counter advances only with a payload; without one it repeats the last.
    const auto view = TsPacket::View(p);
    const bool payload = view && view->HasPayload();
    TsPacket::SetContinuityCounter(
        p, payload ? NextCc(pid) : uint8_t((cc_[pid & kPidMask] + 15) % 16));
    return p;
}

}  // namespace demomux
