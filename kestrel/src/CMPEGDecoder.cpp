#include "kestrel/CMPEGDecoder.h"

#include <algorithm>

#include "Proxy.h"
#include "kestrel/protocol/MediaCodecs.h"

using namespace kestrel;
using namespace kestrel::detail;

ErrReturn CMPEGDecoder::SetVideoPID(std::uint16_t pid) {
    return Slots(Command::MPEG_SetVideoPID, pid);
}
ErrReturn CMPEGDecoder::GetVideoPID(std::uint16_t& pid) {
    return GetU16(Command::MPEG_GetVideoPID, pid);
}
ErrReturn CMPEGDecoder::SetAudioPID(std::uint16_t pid) {
    return Slots(Command::MPEG_SetAudioPID, pid);
}
ErrReturn CMPEGDecoder::GetAudioPid(std::uint16_t& pid) {
    return GetU16(Command::MPEG_GetAudioPid, pid);
}

ErrReturn CMPEGDecoder::GetDecoderStatus(VIDEOSTATE* state) {
    if (!state) return RET_INVALID;
    return Transact(Request(Command::MPEG_GetDecoderStatus), [&](BlockReader& b) {
        if (const auto q = protocol::VideoStateReply::Decode(b))
            std::copy(q->raw.begin(), q->raw.end(), state->raw);
    });
}

ErrReturn CMPEGDecoder::GetAudioStatus(std::uint32_t& s) {
    return GetSlot(Command::MPEG_GetAudioStatus, s);
}

ErrReturn CMPEGDecoder::GetAudioBufferStatus(std::uint8_t& s) {
    return GetSingle<std::uint8_t>(Command::MPEG_GetAudioBufferStatus, s);
}

ErrReturn CMPEGDecoder::SetVolume(std::uint8_t l, std::uint8_t r) {
    return Slots(Command::MPEG_SetVolume, l, r);
}
ErrReturn CMPEGDecoder::SetAudioMute(int m) { return Slots(Command::MPEG_SetAudioMute, m); }
ErrReturn CMPEGDecoder::SetPictureParameters(std::uint8_t b, std::uint8_t c, std::uint8_t s) {
    return Slots(Command::MPEG_SetPictureParameters, b, c, s);
}
ErrReturn CMPEGDecoder::SetVideoOutputMode(VIDEOOUTPUTMODE m) {
    return Slots(Command::MPEG_SetVideoOutputMode, m);
}
ErrReturn CMPEGDecoder::SetVideoTestMode(VIDEOTESTMODE m) {
    return Slots(Command::MPEG_SetVideoTestMode, m);
}
ErrReturn CMPEGDecoder::SetVideoStandard(VIDEOSTANDARD s) {
    return Slots(Command::MPEG_SetVideoStandard, s);
}
ErrReturn CMPEGDecoder::SetAudioChannel(AB_CHANNELS c) {
    return Slots(Command::MPEG_SetAudioChannel, c);
}
ErrReturn CMPEGDecoder::GetAudioChannel(AB_CHANNELS& c) {
    return GetSlot(Command::MPEG_GetAudioChannel, c);
}
ErrReturn CMPEGDecoder::LoopCDAudio(int l) { return Slots(Command::MPEG_LoopCDAudio, l); }
ErrReturn CMPEGDecoder::SetAspectRatio(TYPE_MONITOR_AR r) {
    return Slots(Command::MPEG_SetAspectRatio, r);
}
