#include "CTsFile.h"

#include <fstream>

#include "CTimeStamper.h"
#include "mpegts/SectionAssembler.h"

namespace nvdvbsrv {
namespace {

using mpegts::TsPacket;

constexpr uint64_t kPcrWrap = (uint64_t(1) << 33) * 300;

// The first offset from which three packets in a row start with the sync byte.
size_t FindSync(std::span<const uint8_t> b) {
    for (size_t off = 0; off < CTsFile::kPacket && off < b.size(); ++off) {
        bool ok = true;
        for (size_t k = 0; k < 3 && ok; ++k) {
            size_t at = off + k * CTsFile::kPacket;
            if (at >= b.size()) break;
            ok = b[at] == TsPacket::kSyncByte;
        }
        if (ok) return off;
    }
    return b.size();
}

}  // namespace

CTsFile CTsFile::FromBytes(std::span<const uint8_t> bytes) {
    CTsFile f;
    f.packets_.reserve(bytes.size());
    size_t off = FindSync(bytes);
    for (; off + kPacket <= bytes.size(); off += kPacket) {
        if (bytes[off] != TsPacket::kSyncByte) continue;  // a damaged packet is left out
        f.packets_.insert(f.packets_.end(), bytes.begin() + off, bytes.begin() + off + kPacket);
    }
    f.MeasureBitrate();
    f.FindStreamTime();
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

void CTsFile::FindStreamTime() {
    mpegts::SectionAssembler assembler;
    for (size_t i = 0; i < PacketCount() && !streamTime_; ++i) {
        if (TsPacket::View(Packet(i))->Pid() != CTimeStamper::kPid) continue;
        assembler.Feed(Packet(i), [&](std::span<const uint8_t> section) {
            if (!streamTime_) streamTime_ = CTimeStamper::Read(section);
        });
    }
}

void CTsFile::MeasureBitrate() {
    // Bytes between the first and the last PCR of one PID over their time distance.
    int pcrPid = -1;
    size_t firstIndex = 0, lastIndex = 0;
    uint64_t first = 0, elapsed = 0, previous = 0;
    for (size_t i = 0; i < PacketCount(); ++i) {
        const auto p = TsPacket::View(Packet(i));  // every packet held starts with the sync byte
        const int pid = p->Pid();
        if (pcrPid >= 0 && pid != pcrPid) continue;
        const auto pcr = p->Pcr();
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
