#include "CPlaybackParser.h"

#include <algorithm>

#include "MpegAudioHeader.h"
#include "ProgramTables.h"
#include "mpegts/PesHeader.h"
#include "mpegts/TsPacket.h"

namespace nvdvbsrv {
namespace {

constexpr std::size_t kPvaHeader = 8;
constexpr uint8_t kPvaPts = 0x10;
constexpr uint8_t kPvaVideo = 1, kPvaAudio = 2;
constexpr uint8_t kVideoStream = 0xE0;
constexpr uint8_t kAudioStream = 0xC0;
constexpr std::size_t kTsPacket = mpegts::TsPacket::kSize;

bool VideoStream(uint8_t id) { return (id & 0xF0) == 0xE0; }
bool AudioStream(uint8_t id) { return (id & 0xE0) == 0xC0 || id == 0xBD; }

// A PES start: the prefix and a stream id of video or sound.
bool PesStart(std::span<const uint8_t> b, std::size_t at) {
    return at + 4 <= b.size() && b[at] == 0 && b[at + 1] == 0 && b[at + 2] == 1 &&
           (VideoStream(b[at + 3]) || AudioStream(b[at + 3]));
}

}  // namespace

CPlaybackParser::CPlaybackParser(RecordFormat format) : format_(format) {
    // Formats this card does not play are read as a transport stream, which
    // finds nothing in them.
    if (!CardFormat(uint32_t(format))) format_ = RecordFormat::Transport;
}

std::span<const uint8_t> CPlaybackParser::Pending() const {
    return std::span<const uint8_t>(pending_).subspan(head_);
}

void CPlaybackParser::Consume(std::size_t n) { head_ += n; }

void CPlaybackParser::Feed(std::span<const uint8_t> bytes, const Output& out) {
    if (format_ == RecordFormat::AudioPes || format_ == RecordFormat::VideoPes) {
        pes_.Feed(bytes, out);
        return;
    }
    pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(head_));
    head_ = 0;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    const auto step = format_ == RecordFormat::Pva   ? &CPlaybackParser::StepPva
                      : format_ == RecordFormat::Mp2 ? &CPlaybackParser::StepMp2
                                                     : &CPlaybackParser::StepTs;
    while ((this->*step)(out)) {
    }
}

void CPlaybackParser::Finish(const Output& out) {
    pes_.Finish(out);
    if (format_ == RecordFormat::Transport) {
        videoPes_.Finish([&](PesUnit&& u) { out({true, std::move(u)}); });
        audioPes_.Finish([&](PesUnit&& u) { out({false, std::move(u)}); });
    }
    pending_.clear();
    head_ = 0;
}

void CPlaybackParser::Reset() {
    pending_.clear();
    head_ = 0;
    pes_.Reset();
    pat_.Reset();
    pmt_.Reset();
    videoPes_.Reset();
    audioPes_.Reset();
}

bool CPlaybackParser::StepPva(const Output& out) {
    const auto b = Pending();
    if (b.size() < kPvaHeader) return false;
    const bool header =
        b[0] == 'A' && b[1] == 'V' && (b[2] == kPvaVideo || b[2] == kPvaAudio) && b[4] == 0x55;
    const std::size_t length = std::size_t(b[6]) << 8 | b[7];
    const bool pts = (b[5] & kPvaPts) != 0;
    if (!header || (pts && length < 4)) {
        // Not a packet: on to the next "A".
        const auto next = std::find(b.begin() + 1, b.end(), uint8_t('A'));
        Consume(std::size_t(next - b.begin()));
        return next != b.end();
    }
    if (b.size() < kPvaHeader + length) return false;
    auto payload = b.subspan(kPvaHeader, length);
    if (b[2] == kPvaVideo) {
        PlaybackUnit u;
        u.video = true;
        u.unit.streamId = kVideoStream;
        if (pts) {
            u.unit.pts = uint64_t(payload[0]) << 24 | uint64_t(payload[1]) << 16 |
                         uint64_t(payload[2]) << 8 | payload[3];
            payload = payload.subspan(4);
        }
        u.unit.payload.assign(payload.begin(), payload.end());
        if (!u.unit.payload.empty()) out(std::move(u));
    } else {
        pes_.Feed(payload.subspan(pts ? 4 : 0), out);
    }
    Consume(kPvaHeader + length);
    return true;
}

bool CPlaybackParser::StepMp2(const Output& out) {
    const auto b = Pending();
    if (b.size() < MpegAudioHeader::kSize) return false;
    const auto h = MpegAudioHeader::Parse(b);
    if (!h) {
        const auto next = std::find(b.begin() + 1, b.end(), uint8_t(0xFF));
        Consume(std::size_t(next - b.begin()));
        return next != b.end();
    }
    if (b.size() < h->frameBytes) return false;
    PlaybackUnit u;
    u.unit.streamId = kAudioStream;
    u.unit.pts = samples_;
    samples_ += uint64_t(h->samples) * 90000 / h->sampleRate;
    u.unit.payload.assign(b.begin(), b.begin() + h->frameBytes);
    out(std::move(u));
    Consume(h->frameBytes);
    return true;
}

bool CPlaybackParser::StepTs(const Output& out) {
    const auto b = Pending();
    if (b.size() < kTsPacket) return false;
    if (b[0] != mpegts::TsPacket::kSyncByte) {
        const auto next = std::find(b.begin() + 1, b.end(), mpegts::TsPacket::kSyncByte);
        Consume(std::size_t(next - b.begin()));
        return next != b.end();
    }
    TsPacket(b.first(kTsPacket), out);
    Consume(kTsPacket);
    return true;
}

void CPlaybackParser::TsPacket(std::span<const uint8_t> bytes, const Output& out) {
    const auto packet = mpegts::TsPacket::View(bytes);
    if (!packet) return;
    const uint16_t pid = packet->Pid();
    if (pid == ProgramTables::kPatPid) {
        pat_.Feed(bytes, [&](std::span<const uint8_t> section) {
            const auto programs = ProgramTables::ParsePat(section);
            if (programs && !programs->empty() && pmtPid_ != programs->front().pmtPid) {
                pmtPid_ = programs->front().pmtPid;
                pmt_.Reset();
            }
        });
    } else if (pid == pmtPid_) {
        pmt_.Feed(bytes, [&](std::span<const uint8_t> section) {
            const auto map = ProgramTables::ParsePmt(section);
            if (!map) return;
            std::optional<uint16_t> video, audio;
            for (const PmtStream& s : map->streams) {
                if (!video && ProgramTables::IsVideo(s)) video = s.pid;
                if (!audio && ProgramTables::IsAudio(s)) audio = s.pid;
            }
            if (video != videoPid_) videoPes_.Reset();
            if (audio != audioPid_) audioPes_.Reset();
            videoPid_ = video;
            audioPid_ = audio;
        });
    } else if (pid == videoPid_) {
        videoPes_.Feed(*packet, [&](PesUnit&& u) { out({true, std::move(u)}); });
    } else if (pid == audioPid_) {
        audioPes_.Feed(*packet, [&](PesUnit&& u) { out({false, std::move(u)}); });
    }
}

void CPlaybackParser::PesSplitter::Feed(std::span<const uint8_t> bytes, const Output& out) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    while (Step(false, out)) {
    }
}

void CPlaybackParser::PesSplitter::Finish(const Output& out) {
    while (Step(true, out)) {
    }
    buffer_.clear();
}

bool CPlaybackParser::PesSplitter::Step(bool atEnd, const Output& out) {
    std::span<const uint8_t> b(buffer_);
    std::size_t start = 0;
    while (start + 4 <= b.size() && !PesStart(b, start)) ++start;
    if (start + 4 > b.size()) {
        // No start yet: only the last three bytes may begin one.
        buffer_.erase(buffer_.begin(),
                      buffer_.end() - std::ptrdiff_t(std::min<std::size_t>(3, b.size())));
        return false;
    }
    buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(start));
    b = buffer_;
    if (b.size() < mpegts::PesHeader::kFixedSize) return false;
    const std::size_t length = std::size_t(b[4]) << 8 | b[5];
    std::size_t end = mpegts::PesHeader::kFixedSize + length;
    if (length != 0 && b.size() < end) {
        if (atEnd) buffer_.clear();  // cut off by the end: not a whole packet
        return false;
    }
    if (length == 0) {
        end = mpegts::PesHeader::kFixedSize;
        while (end + 4 <= b.size() && !PesStart(b, end)) ++end;
        if (end + 4 > b.size()) {
            if (!atEnd) {
                if (b.size() > kMaxPes) buffer_.clear();
                return false;
            }
            end = b.size();
        }
    }
    Emit(b.first(end), out);
    buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(end));
    return !buffer_.empty();
}

void CPlaybackParser::PesSplitter::Emit(std::span<const uint8_t> pes, const Output& out) {
    const auto h = mpegts::PesHeader::Parse(pes);
    if (!h || !h->hasOptionalHeader || h->payload.empty()) return;
    PlaybackUnit u;
    u.video = VideoStream(h->streamId);
    u.unit.streamId = h->streamId;
    u.unit.pts = h->pts;
    u.unit.payload.assign(h->payload.begin(), h->payload.end());
    out(std::move(u));
}

}  // namespace nvdvbsrv
