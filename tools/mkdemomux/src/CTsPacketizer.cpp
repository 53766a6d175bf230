#include "CTsPacketizer.h"

#include <algorithm>

namespace demomux {

uint8_t CTsPacketizer::NextCc(uint16_t pid) {
    uint8_t& c = cc_[pid & 0x1FFF];
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
        p[0] = 0x47;
        p[1] = uint8_t((first ? 0x40 : 0x00) | (pid >> 8 & 0x1F));
        p[2] = uint8_t(pid);
        p[3] = uint8_t(0x10 | NextCc(pid));
        size_t at = 4;
        if (first) p[at++] = 0;  // pointer field
        const size_t n = std::min(section.size() - pos, p.size() - at);
        std::copy_n(section.begin() + long(pos), n, p.begin() + long(at));
        pos += n;
        first = false;
        out.push_back(p);
    }
    return out;
}

std::vector<Packet> CTsPacketizer::Pes(uint16_t pid, const std::vector<uint8_t>& pes) {
    std::vector<Packet> out;
    for (size_t pos = 0; pos < pes.size(); pos += 184) {
        Packet p;
        p.fill(0xFF);
        p[0] = 0x47;
        p[1] = uint8_t((pos == 0 ? 0x40 : 0x00) | (pid >> 8 & 0x1F));
        p[2] = uint8_t(pid);
        p[3] = uint8_t(0x10 | NextCc(pid));
        std::copy_n(pes.begin() + long(pos), std::min<size_t>(184, pes.size() - pos),
                    p.begin() + 4);
        out.push_back(p);
    }
    return out;
}

Packet CTsPacketizer::Remap(const Packet& in, uint16_t pid) {
    Packet p = in;
    p[1] = uint8_t((p[1] & 0xE0) | (pid >> 8 & 0x1F));
    p[2] = uint8_t(pid);
    // The counter advances only with a payload.
    if (p[3] & 0x10)
        p[3] = uint8_t((p[3] & 0xF0) | NextCc(pid));
    else
        p[3] = uint8_t((p[3] & 0xF0) | (cc_[pid & 0x1FFF] + 15) % 16);
    return p;
}

}  // namespace demomux
