#include "kestrel/CRecordPlayback.h"

#include "Proxy.h"
#include "kestrel/protocol/MediaCodecs.h"

using namespace kestrel;
using namespace kestrel::detail;

ErrReturn CRecordPlayback::Open(const std::string& name, TYPE_REC_PLAY_FORMAT format,
                                int forPlayback) {
    if (name.size() > kMaxName) return RET_INVALID;
    Request r(Command::REC_Open);
    protocol::RecordOpenRequest{static_cast<std::uint32_t>(format),
                                static_cast<std::uint32_t>(forPlayback), name}
        .Encode(r);
    return Transact(r);
}

ErrReturn CRecordPlayback::Close() { return Simple(Command::REC_Close); }
ErrReturn CRecordPlayback::Record() { return Simple(Command::REC_Record); }
ErrReturn CRecordPlayback::Stop() { return Simple(Command::REC_Stop); }
ErrReturn CRecordPlayback::Playback(std::uint32_t startMs) {
    return Slots(Command::REC_Playback, startMs);
}
ErrReturn CRecordPlayback::Pause() { return Simple(Command::REC_Pause); }
ErrReturn CRecordPlayback::Forward() { return Simple(Command::REC_Forward); }
ErrReturn CRecordPlayback::Backward() { return Simple(Command::REC_Backward); }
ErrReturn CRecordPlayback::SlowPlayback(std::uint8_t s) {
    return Slots(Command::REC_SlowPlayback, s);
}
ErrReturn CRecordPlayback::FastPlayback(int s) { return Slots(Command::REC_FastPlayback, s); }

ErrReturn CRecordPlayback::GetStatus(std::uint32_t& lengthMs, std::uint32_t& kbits,
                                     std::uint32_t& positionMs, REC_PLAY_MODE& mode,
                                     TYPE_REC_PLAY_FORMAT& format) {
    return Transact(Request(Command::REC_GetStatus), [&](BlockReader& b) {
        const auto q = protocol::RecordStatusReply::Decode(b);
        if (!q) return;
        lengthMs = q->lengthMs;
        kbits = q->kbits;
        positionMs = q->positionMs;
        mode = static_cast<REC_PLAY_MODE>(q->mode);
        format = static_cast<TYPE_REC_PLAY_FORMAT>(q->format);
    });
}

ErrReturn CRecordPlayback::SetStatusChangedMessage(std::uint32_t window, unsigned int message,
                                                   int enable) {
    return Slots(Command::REC_SetStatusChangedMessage, window, message, enable);
}
