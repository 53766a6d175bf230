#include "CTsFile.h"

#include <fstream>

namespace nvdvbsrv {
namespace {

constexpr uint64_t kPcrWrap = (uint64_t(1) << 33) * 300;

// The first offset from which three packets in a row start with the sync byte.
size_t FindSync(std::span<const uint8_t> b) {
    for (size_t off = 0; off < CTsFile::kPacket && off < b.size(); ++off) {
        bool ok = true;
        for (size_t k = 0; k < 3 && ok; ++k) {
            size_t at = off + k * CTsFile::kPacket;
            if (at >= b.size()) break;
            ok = b[at] == 0x47;
        }
        if (ok) return off;
    }
    return b.size();
}

}  // namespace

std::optional<uint64_t> CTsFile::Pcr(std::span<const uint8_t> p) {
    if (p.size() != kPacket || p[0] != 0x47) return std::nullopt;
    if (!(p[3] & 0x20) || p[4] < 7 || !(p[5] & 0x10)) return std::nullopt;
    uint64_t base = uint64_t(p[6]) << 25 | uint64_t(p[7]) << 17 | uint64_t(p[8]) << 9 |
                    uint64_t(p[9]) << 1 | uint64_t(p[10] >> 7);
    uint64_t ext = uint64_t(p[10] & 1) << 8 | p[11];
    return base * 300 + ext;
}

CTsFile CTsFile::FromBytes(std::span<const uint8_t> bytes) {
    CTsFile f;
    f.packets_.reserve(bytes.size());
    size_t off = FindSync(bytes);
    for (; off + kPacket <= bytes.size(); off += kPacket) {
        if (bytes[off] != 0x47) continue;  // a damaged packet is left out
        f.packets_.insert(f.packets_.end(), bytes.begin() + off, bytes.begin() + off + kPacket);
    }
    f.MeasureBitrate();
    return f;
}

std::optional<CTsFile> CTsFile::Load(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Transportstrom nicht lesbar: " + path;
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || size > kMaxFileSize) {
        error = "Transportstrom zu groß oder nicht lesbar: " + path;
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (!in) {
        error = "Transportstrom nicht lesbar: " + path;
        return std::nullopt;
    }
    CTsFile f = FromBytes(bytes);
    if (f.PacketCount() == 0) {
        error = "Keine Transportstrompakete in " + path;
        return std::nullopt;
    }
    return f;
}

void CTsFile::MeasureBitrate() {
    // Bytes between the first and the last PCR of one PID over their time distance.
    int pcrPid = -1;
    size_t firstIndex = 0, lastIndex = 0;
    uint64_t first = 0, elapsed = 0, previous = 0;
    for (size_t i = 0; i < PacketCount(); ++i) {
        auto p = Packet(i);
        int pid = (p[1] & 0x1F) << 8 | p[2];
        if (pcrPid >= 0 && pid != pcrPid) continue;
        auto pcr = Pcr(p);
        if (!pcr) continue;
        if (pcrPid < 0) {
            pcrPid = pid;
            firstIndex = i;
            first = previous = *pcr;
            continue;
        }
        uint64_t step = (*pcr + kPcrWrap - previous) % kPcrWrap;
        if (step > 27000000ull * 2) break;  // discontinuity: keep what was measured
        elapsed += step;
        previous = *pcr;
        lastIndex = i;
    }
    (void)first;
    if (elapsed == 0 || lastIndex <= firstIndex) return;
    uint64_t bytes = (lastIndex - firstIndex) * kPacket;
    uint64_t rate = bytes * 8 * 27000000ull / elapsed;
    if (rate < 1000) return;
    bitrate_ = rate;
    fromPcr_ = true;
}

}  // namespace nvdvbsrv
