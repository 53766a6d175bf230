#include "recording/StreamFileScan.h"

#include "recording/PvaHeader.h"
#include "recording/TsPacketHeader.h"

namespace {

constexpr std::uint64_t kTail = 1048576;
constexpr std::size_t kPvaHeader = pva::kHeader;
constexpr std::size_t kPvaSearch = 16384;
constexpr std::uint32_t kPvaMaxPayload = 8192;
constexpr std::size_t kAudioSearch = 8192;
constexpr std::uint64_t kPcmBlock = 1024;
constexpr std::size_t kTsSearch = 8192;

constexpr std::uint16_t kMpeg1Kbit[16] = {0,   32,  48,  56,  64,  80,  96,  112,
                                          128, 160, 192, 224, 256, 320, 384, 0};
constexpr std::uint16_t kMpeg2Kbit[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                          64, 80, 96, 112, 128, 144, 160, 0};
constexpr std::uint32_t kMpeg1Rate[3] = {44100, 48000, 32000};
constexpr std::uint32_t kMpeg2Rate[3] = {22050, 24000, 16000};

struct PvaPacket {
    std::uint8_t header[pva::kHeaderWithPts];
    std::optional<std::uint32_t> videoPts;  ///< a video packet with the PTS flag
    std::uint64_t next = 0;
};

std::optional<PvaPacket> ReadPva(ByteSource& file, std::uint64_t at) {
    PvaPacket p;
    if (!file.ReadAt(at, p.header, kPvaHeader) || !pva::IsPacket(p.header)) return std::nullopt;
    p.next = at + kPvaHeader + pva::PayloadLength(p.header);
    if (pva::IsVideoWithPts(p.header) && file.ReadAt(at + kPvaHeader, p.header + kPvaHeader, 4))
        p.videoPts = pva::Pts(p.header);
    return p;
}

std::optional<StreamFileInfo> ScanPva(ByteSource& file, StreamFileInfo info) {
    std::uint64_t at = 0;
    std::optional<std::uint32_t> first;
    while (!first) {
        const auto p = ReadPva(file, at);
        if (!p) return std::nullopt;
        first = p->videoPts;
        at = p->next;
    }
    std::uint32_t last = *first;
    if (info.fileLength > kTail && at < info.fileLength - kTail) {
        const auto tail = Resynchronise(StreamKind::PvaPackets, file, info.fileLength - kTail);
        at = tail ? *tail : info.fileLength;
    }
    // To the end, or to a packet that is not one; the last video PTS counts.
    while (const auto p = ReadPva(file, at)) {
        if (p->videoPts) last = *p->videoPts;
        at = p->next;
    }
    info.durationMs = (last - *first) / 90;  // modulo 2^32: a wrap in between counts
    return info;
}

std::optional<StreamFileInfo> ScanMpegAudio(ByteSource& file, StreamFileInfo info) {
    std::uint8_t h[4];
    if (!file.ReadAt(0, h, 4)) return std::nullopt;
    const auto frame = ParseMpegAudioFrame(h);
    if (!frame) return std::nullopt;
    info.sampleRate = frame->sampleRate;
    info.durationMs = std::uint32_t(double(info.fileLength / frame->length) * frame->DurationMs());
    return info;
}

// The first offset in [from, from + window) where `fits` holds.
template <typename Fits>
std::optional<std::uint64_t> Search(ByteSource& file, std::uint64_t from, std::size_t window,
                                    Fits fits) {
    for (std::uint64_t at = from; at < from + window && at < file.Size(); ++at)
        if (fits(at)) return at;
    return std::nullopt;
}

}  // namespace

std::optional<MpegAudioFrame> ParseMpegAudioFrame(const std::uint8_t* h) {
    if (h[0] != 0xFF || (h[1] & 0xF0) != 0xF0) return std::nullopt;
    const bool mpeg1 = (h[1] & 0x08) != 0;
    const unsigned rateIndex = (h[2] >> 2) & 3;
    const std::uint32_t kbit = (mpeg1 ? kMpeg1Kbit : kMpeg2Kbit)[h[2] >> 4];
    if (rateIndex == 3 || kbit == 0) return std::nullopt;
    MpegAudioFrame f;
    f.bitrateKbit = kbit;
    f.sampleRate = (mpeg1 ? kMpeg1Rate : kMpeg2Rate)[rateIndex];
    f.length = kbit * 144000 / f.sampleRate + ((h[2] & 0x02) != 0 ? 1 : 0);
    return f;
}

std::optional<StreamFileInfo> ScanStreamFile(StreamKind kind, ByteSource& file) {
    StreamFileInfo info;
    info.fileLength = file.Size();
    switch (kind) {
        case StreamKind::PvaPackets:
            return ScanPva(file, info);
        case StreamKind::MpegAudio:
            return ScanMpegAudio(file, info);
        case StreamKind::Pcm:
        case StreamKind::TransportStream:
            return info;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> Resynchronise(StreamKind kind, ByteSource& file, std::uint64_t from) {
    switch (kind) {
        case StreamKind::PvaPackets:
            return Search(file, from, kPvaSearch, [&](std::uint64_t at) {
                std::uint8_t h[kPvaHeader], next[2];
                return file.ReadAt(at, h, kPvaHeader) && pva::IsPacket(h) &&
                       pva::PayloadLength(h) < kPvaMaxPayload &&
                       file.ReadAt(at + kPvaHeader + pva::PayloadLength(h), next, 2) &&
                       pva::IsPacket(next);
            });
        case StreamKind::MpegAudio:
            return Search(file, from, kAudioSearch, [&](std::uint64_t at) {
                std::uint8_t h[4], next[4];
                if (!file.ReadAt(at, h, 4)) return false;
                const auto frame = ParseMpegAudioFrame(h);
                return frame && file.ReadAt(at + frame->length, next, 4) &&
                       ParseMpegAudioFrame(next).has_value();
            });
        case StreamKind::TransportStream:
            return Search(file, from, kTsSearch, [&](std::uint64_t at) {
                std::uint8_t sync = 0;
                const std::uint64_t next = at + ts::kPacket;
                return file.ReadAt(at, &sync, 1) && sync == ts::kSync && next <= file.Size() &&
                       (next == file.Size() || (file.ReadAt(next, &sync, 1) && sync == ts::kSync));
            });
        case StreamKind::Pcm:
            if (from + kPcmBlock <= file.Size()) return from + kPcmBlock;
            return std::nullopt;
    }
    return std::nullopt;
}
