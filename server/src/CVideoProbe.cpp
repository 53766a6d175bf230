#include "CVideoProbe.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "mpegts/PesHeader.h"
#include "mpegts/TsPacket.h"
#include "mpegts/VideoHeaders.h"

namespace nvdvbsrv {
namespace {

using mpegts::AvcSequenceParameterSet;
using mpegts::FindStartCode;
using mpegts::Mpeg2SequenceHeader;

// Elementary-stream bytes searched for a header; the rate counts all of them.
constexpr size_t kSearchLimit = 4 * 1024 * 1024;

// The video elementary stream of a PID: the payloads of its video PES packets
// (stream ids 0xE0-0xEF) without their headers.
struct VideoStream {
    std::vector<uint8_t> head;  // the first kSearchLimit bytes
    uint64_t bytes = 0;         // all of them in the file
};

VideoStream Collect(const CTsFile& file, uint16_t pid) {
    VideoStream es;
    bool inVideo = false;  // the PES under way is video
    for (size_t i = 0; i < file.PacketCount(); ++i) {
        const auto p = mpegts::TsPacket::View(file.Packet(i));
        if (!p || p->Pid() != pid || p->Scrambling() != 0) continue;
        std::span<const uint8_t> payload = p->Payload();
        if (p->PayloadUnitStart()) {
            const auto pes = mpegts::PesHeader::Parse(payload);
            inVideo = pes && (pes->streamId & 0xF0) == 0xE0;
            if (inVideo) payload = pes->payload;
        }
        if (!inVideo) continue;
        es.bytes += payload.size();
        const size_t room = kSearchLimit - es.head.size();
        es.head.insert(es.head.end(), payload.begin(),
                       payload.begin() + std::ptrdiff_t(std::min(room, payload.size())));
    }
    return es;
}

// The PID's video rate in the stream's own time: its share of the file at the
// file's bit rate.
uint16_t MeasuredKbit(const CTsFile& file, uint64_t videoBytes) {
    const uint64_t fileBytes = uint64_t(file.PacketCount()) * CTsFile::kPacket;
    if (fileBytes == 0) return 0;
    const double kbit = double(videoBytes) / double(fileBytes) * double(file.Bitrate()) / 1000;
    return uint16_t(std::min(kbit + 0.5, double(0xFFFF)));
}

std::optional<VideoInfo> FromMpeg2(std::span<const uint8_t> es) {
    for (auto at = FindStartCode(es, 0); at && *at < es.size(); at = FindStartCode(es, *at)) {
        if (es[*at] != Mpeg2SequenceHeader::kStartCode) continue;
        const auto h = Mpeg2SequenceHeader::Parse(es.subspan(*at + 1));
        if (!h) continue;
        VideoInfo v;
        v.width = h->width;
        v.height = h->height;
        v.aspect = h->aspectRatio;
        v.frameRate = h->frameRateCode;
        if (h->bitRateValue != 0 && h->bitRateValue != Mpeg2SequenceHeader::kVariableBitRate) {
            v.bitrateKbit = uint16_t(std::min<uint32_t>(h->bitRateValue * 400 / 1000, 0xFFFF));
        }
        return v;
    }
    return std::nullopt;
}

std::optional<VideoInfo> FromAvc(std::span<const uint8_t> es) {
    for (auto at = FindStartCode(es, 0); at && *at < es.size();) {
        const auto next = FindStartCode(es, *at);
        const uint8_t header = es[*at];
        if ((header & 0x80) == 0 && (header & 0x1F) == AvcSequenceParameterSet::kNalType) {
            const size_t end = next ? *next - 3 : es.size();
            if (const auto sps = AvcSequenceParameterSet::Parse(es.subspan(*at, end - *at))) {
                VideoInfo v;
                v.width = uint16_t(sps->width);
                v.height = uint16_t(sps->height);
                v.aspect =
                    CVideoProbe::AspectCode(sps->width, sps->height, sps->sarWidth, sps->sarHeight);
                v.frameRate = CVideoProbe::FrameRateCode(sps->numUnitsInTick, sps->timeScale);
                return v;
            }
        }
        at = next;
    }
    return std::nullopt;
}

}  // namespace

VideoInfo CVideoProbe::Probe(const CTsFile& file, uint16_t pid) {
    const VideoStream es = Collect(file, pid);
    // The MPEG-2 sequence header start code cannot begin an H.264 NAL unit (its
    // forbidden bit would be set), while H.264's parameter set type can look
    // like an MPEG-2 slice start code: MPEG-2 is looked for first.
    std::optional<VideoInfo> v = FromMpeg2(es.head);
    if (!v) v = FromAvc(es.head);
    if (!v) return {};
    if (v->bitrateKbit == 0) v->bitrateKbit = MeasuredKbit(file, es.bytes);
    return *v;
}

uint16_t CVideoProbe::AspectCode(uint32_t width, uint32_t height, uint16_t sarWidth,
                                 uint16_t sarHeight) {
    if (width == 0 || height == 0 || sarWidth == 0 || sarHeight == 0) return 0;
    struct Ratio {
        uint64_t num, den;
        uint16_t code;
    };
    constexpr std::array<Ratio, 3> kDisplay = {{{4, 3, 2}, {16, 9, 3}, {221, 100, 4}}};
    const uint64_t across = uint64_t(width) * sarWidth;  // display width : height
    const uint64_t down = uint64_t(height) * sarHeight;
    for (const Ratio& r : kDisplay) {
        const uint64_t a = across * r.den, b = down * r.num;
        if ((a > b ? a - b : b - a) * 20 <= b) return r.code;
    }
    return sarWidth == sarHeight ? 1 : 0;
}

uint16_t CVideoProbe::FrameRateCode(uint32_t numUnitsInTick, uint32_t timeScale) {
    if (numUnitsInTick == 0 || timeScale == 0) return 0;
    struct Rate {
        uint64_t num, den;
    };
    constexpr std::array<Rate, 8> kRates = {
        {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60000, 1001}, {60, 1}}};
    for (size_t i = 0; i < kRates.size(); ++i) {
        // timeScale / (2 * numUnitsInTick) against num / den
        const uint64_t a = uint64_t(timeScale) * kRates[i].den;
        const uint64_t b = 2 * uint64_t(numUnitsInTick) * kRates[i].num;
        if ((a > b ? a - b : b - a) * 2000 <= b) return uint16_t(i + 1);
    }
    return 0;
}

}  // namespace nvdvbsrv
