#include "recording/CPlaybackPacer.h"

#include <cmath>

#include "recording/PvaHeader.h"
#include "recording/TsPacketHeader.h"

namespace {

constexpr double kTicksPerMs = 90;
constexpr std::uint64_t kPcrWrap = std::uint64_t(1) << 33;

double Factor(PlaySpeed speed) {
    return speed == PlaySpeed::Half ? 0.5 : speed == PlaySpeed::Double ? 2.0 : 1.0;
}

}  // namespace

void CPlaybackPacer::SetSpeed(PlaySpeed speed) {
    if (speed == speed_) return;
    speed_ = speed;
    Restart();
}

CPlaybackPacer::Clock::time_point CPlaybackPacer::Due(const StreamChunk& chunk,
                                                      Clock::time_point now) {
    const std::optional<double> media = MediaTime(chunk);
    if (!media) return anchored_ ? lastDue_ : now;
    if (!anchored_ || std::fabs(*media - lastMedia_) > kJumpMs) Anchor(*media, now);
    lastMedia_ = *media;
    const std::chrono::duration<double, std::milli> wait((*media - anchorMedia_) / Factor(speed_));
    Clock::time_point due = anchorWall_ + std::chrono::duration_cast<Clock::duration>(wait);
    if (now - due > std::chrono::duration<double, std::milli>(kLateMs)) {
        Anchor(*media, now);
        due = now;
    }
    lastDue_ = due;
    return due;
}

void CPlaybackPacer::Anchor(double media, Clock::time_point now) {
    anchored_ = true;
    anchorMedia_ = media;
    anchorWall_ = now;
}

std::optional<double> CPlaybackPacer::MediaTime(const StreamChunk& chunk) {
    const double consumed = double(chunk.next - chunk.at);
    switch (kind_) {
        case StreamKind::MpegAudio: {
            const auto frame =
                chunk.bytes.size() >= 4 ? ParseMpegAudioFrame(chunk.bytes.data()) : std::nullopt;
            if (!frame) return std::nullopt;
            const double start = played_;
            played_ += consumed * 8 / double(frame->bitrateKbit);
            return start;
        }
        case StreamKind::Pcm: {
            const double start = played_;
            played_ += consumed / kPcmBytesPerMs;
            return start;
        }
        case StreamKind::PvaPackets:
        case StreamKind::TransportStream:
            return Stamp(chunk);
    }
    return std::nullopt;
}

std::optional<double> CPlaybackPacer::Stamp(const StreamChunk& chunk) {
    std::optional<std::uint64_t> ticks;
    std::uint16_t source = 0;
    const std::uint8_t* b = chunk.bytes.data();
    if (kind_ == StreamKind::PvaPackets) {
        if (chunk.bytes.size() >= pva::kHeaderWithPts && pva::IsPacket(b) && (b[5] & 0x10) != 0) {
            source = b[2];
            ticks = pva::Pts(b);
        }
    } else {
        for (std::size_t at = 0; !ticks && at + ts::kPacket <= chunk.bytes.size();
             at += ts::kPacket) {
            source = ts::Pid(b + at);
            if (!clockSource_ || *clockSource_ == source) ticks = ts::PcrBase(b + at);
        }
    }
    if (!ticks) return std::nullopt;
    if (!clockSource_) clockSource_ = source;
    if (*clockSource_ != source) return std::nullopt;
    if (lastTicks_) {
        // The distance from the last stamp, modulo the stamp's width: a wrap counts forward.
        const std::uint64_t wrap =
            kind_ == StreamKind::PvaPackets ? std::uint64_t(1) << 32 : kPcrWrap;
        const std::uint64_t ahead = (*ticks + wrap - *lastTicks_) % wrap;
        ticks_ += ahead < wrap / 2 ? double(ahead) : double(ahead) - double(wrap);
    }
    lastTicks_ = ticks;
    return ticks_ / kTicksPerMs;
}
