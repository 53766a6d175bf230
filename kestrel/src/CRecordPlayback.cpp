#include "kestrel/CRecordPlayback.h"

#include "Proxy.h"

using namespace kestrel;
using namespace kestrel::detail;

ErrReturn CRecordPlayback::Open(const std::string& name, TYPE_REC_PLAY_FORMAT format,
                                int forPlayback) {
    if (name.size() > kMaxName) return RET_INVALID;
    Request r(Command::REC_Open);
    r.Slot(8, format).Slot(12, static_cast<std::uint32_t>(forPlayback));
    r.Slot(16, static_cast<std::uint32_t>(name.size())).Bytes(20, name.c_str(), name.size() + 1);
    return Transact(r);
}

ErrReturn CRecordPlayback::Close() { return Simple(Command::REC_Close); }
ErrReturn CRecordPlayback::Record() { return Simple(Command::REC_Record); }
ErrReturn CRecordPlayback::Stop() { return Simple(Command::REC_Stop); }
ErrReturn CRecordPlayback::Playback(std::uint32_t startMs) { return Slots(Command::REC_Playback, startMs); }
ErrReturn CRecordPlayback::Pause() { return Simple(Command::REC_Pause); }
ErrReturn CRecordPlayback::Forward() { return Simple(Command::REC_Forward); }
ErrReturn CRecordPlayback::Backward() { return Simple(Command::REC_Backward); }
ErrReturn CRecordPlayback::SlowPlayback(unsigned char s) { return Slots(Command::REC_SlowPlayback, s); }
ErrReturn CRecordPlayback::FastPlayback(int s) { return Slots(Command::REC_FastPlayback, s); }

ErrReturn CRecordPlayback::GetStatus(std::uint32_t& lengthMs, std::uint32_t& kbits,
                                     std::uint32_t& positionMs, REC_PLAY_MODE& mode,
                                     TYPE_REC_PLAY_FORMAT& format) {
    return Transact(Request(Command::REC_GetStatus), [&](BlockReader& b) {
        lengthMs = b.U32(8);
        kbits = b.U32(12);
        positionMs = b.U32(16);
        mode = static_cast<REC_PLAY_MODE>(b.U32(20));
        format = static_cast<TYPE_REC_PLAY_FORMAT>(b.U32(24));
    });
}

ErrReturn CRecordPlayback::SetStatusChangedMessage(std::uint32_t window, unsigned int message,
                                                   int enable) {
    return Slots(Command::REC_SetStatusChangedMessage, window, message, enable);
}
