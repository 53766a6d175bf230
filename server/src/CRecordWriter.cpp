#include "CRecordWriter.h"

#include "mpegts/TsPacket.h"

namespace nvdvbsrv {
namespace {

constexpr uint64_t kPtsMask = (uint64_t(1) << 33) - 1;
constexpr std::size_t kFlagsByte = 7, kStampAt = 9, kStampBytes = 5;

uint64_t ReadStamp(const uint8_t* b) {
    return uint64_t(b[0] >> 1 & 7) << 30 | uint64_t(b[1]) << 22 | uint64_t(b[2] >> 1) << 15 |
           uint64_t(b[3]) << 7 | uint64_t(b[4] >> 1);
}

// Keeps the four-bit prefix of the field and its marker bits.
void WriteStamp(uint8_t* b, uint64_t v) {
    b[0] = uint8_t((b[0] & 0xF0) | (v >> 29 & 0x0E) | 1);
    b[1] = uint8_t(v >> 22);
    b[2] = uint8_t((v >> 14 & 0xFE) | 1);
    b[3] = uint8_t(v >> 7);
    b[4] = uint8_t((v << 1 & 0xFE) | 1);
}

}  // namespace

CRecordWriter::CRecordWriter(RecordFormat format, uint16_t videoPid, uint16_t audioPid,
                             Output output)
    : format_(format),
      videoPid_(videoPid),
      audioPid_(audioPid),
      output_(std::move(output)),
      videoPes_(CPesAssembler::kDefaultLimit, true),
      audioPes_(CPesAssembler::kDefaultLimit, true),
      pva_([this](std::span<const uint8_t> packet) { output_(packet); }) {
    // A second in, so that sound stamped a little before the first picture
    // stays on the line.
    timeline_.Restart(1000);
}

void CRecordWriter::Packet(std::span<const uint8_t> bytes) {
    const auto packet = mpegts::TsPacket::View(bytes);
    if (!packet) return;
    const uint16_t pid = packet->Pid();
    if (format_ == RecordFormat::Transport) {
        WatchTables(bytes, pid);
        TransportPacket(bytes, pid);
        return;
    }
    if (pid == videoPid_ && HasVideo(format_))
        videoPes_.Feed(*packet, [this](PesUnit&& u) { Video(std::move(u)); });
    else if (pid == audioPid_ && HasAudio(format_))
        audioPes_.Feed(*packet, [this](PesUnit&& u) { Audio(std::move(u)); });
}

void CRecordWriter::Jump() {
    timeline_.Continue();
    videoPes_.Reset();
    audioPes_.Reset();
    pat_.Reset();
    for (auto& [pid, assembler] : pmts_) assembler.Reset();
}

void CRecordWriter::Finish() {
    if (!group_.empty()) output_(group_);
    group_.clear();
}

std::optional<uint64_t> CRecordWriter::Restamp(std::vector<uint8_t>& pes,
                                               std::optional<uint64_t> pts) {
    if (!pts) return std::nullopt;
    const uint64_t placed = uint64_t(timeline_.Map(*pts)) & kPtsMask;
    const uint64_t delta = (placed - *pts) & kPtsMask;
    const uint8_t flags = pes.size() > kFlagsByte ? pes[kFlagsByte] >> 6 : 0;
    // The PTS, and the DTS after it, moved by the same distance.
    for (int k = 0; k < (flags == 3 ? 2 : flags == 2 ? 1 : 0); ++k) {
        const std::size_t at = kStampAt + std::size_t(k) * kStampBytes;
        if (at + kStampBytes > pes.size()) break;
        WriteStamp(&pes[at], (ReadStamp(&pes[at]) + delta) & kPtsMask);
    }
    return placed;
}

void CRecordWriter::Video(PesUnit&& unit) {
    const auto pts = Restamp(unit.packet, unit.pts);
    if (format_ == RecordFormat::Pva)
        pva_.Video(unit.payload, pts);
    else
        output_(unit.packet);
}

void CRecordWriter::Audio(PesUnit&& unit) {
    Restamp(unit.packet, unit.pts);
    if (format_ == RecordFormat::Pva) {
        pva_.Audio(unit.packet);
    } else if (format_ == RecordFormat::AudioPes) {
        output_(unit.packet);
    } else {
        frames_.Feed(unit.payload, [this](PlaybackUnit&& frame) { output_(frame.unit.payload); });
    }
}

void CRecordWriter::WatchTables(std::span<const uint8_t> packet, uint16_t pid) {
    if (program_) return;
    if (pid == ProgramTables::kPatPid) {
        pat_.Feed(packet, [this](std::span<const uint8_t> section) {
            if (const auto programs = ProgramTables::ParsePat(section))
                for (const PatEntry& e : *programs) pmts_.try_emplace(e.pmtPid);
        });
        return;
    }
    const auto it = pmts_.find(pid);
    if (it == pmts_.end()) return;
    it->second.Feed(packet, [&](std::span<const uint8_t> section) {
        auto map = ProgramTables::ParsePmt(section);
        if (!map || program_) return;
        std::erase_if(map->streams,
                      [&](const PmtStream& s) { return s.pid != videoPid_ && s.pid != audioPid_; });
        if (map->streams.empty()) return;  // another program
        program_ = std::move(map);
        pmtPid_ = pid;
    });
}

void CRecordWriter::TransportPacket(std::span<const uint8_t> packet, uint16_t pid) {
    if (!program_) return;
    if (pid != videoPid_ && pid != audioPid_ && pid != program_->pcrPid) return;
    const auto now = std::chrono::steady_clock::now();
    if (lastTables_ == std::chrono::steady_clock::time_point{} ||
        now - lastTables_ >= kTablePeriod) {
        lastTables_ = now;
        Tables();
    }
    Group(packet);
}

void CRecordWriter::Tables() {
    const auto pat = ProgramTables::WritePat(1, program_->program, pmtPid_);
    const auto pmt = ProgramTables::WritePmt(*program_);
    Group(ProgramTables::Packetize(pat, ProgramTables::kPatPid, patCc_));
    Group(ProgramTables::Packetize(pmt, pmtPid_, pmtCc_));
}

void CRecordWriter::Group(std::span<const uint8_t> packets) {
    constexpr std::size_t kUnit = kPacketsPerUnit * mpegts::TsPacket::kSize;
    while (!packets.empty()) {
        const std::size_t n = std::min(kUnit - group_.size(), packets.size());
        group_.insert(group_.end(), packets.begin(), packets.begin() + std::ptrdiff_t(n));
        packets = packets.subspan(n);
        if (group_.size() == kUnit) {
            output_(group_);
            group_.clear();
        }
    }
}

}  // namespace nvdvbsrv
