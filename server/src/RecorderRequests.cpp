// The recorder's requests: the file method (118-129) and the network method
// (140-146), carried out by the card's CRecorder.
#include "CRequestHandler.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/MediaCodecs.h"
#include "kestrel/protocol/ParamBlock.h"

namespace nvdvbsrv {

namespace kp = kestrel::protocol;
using kp::Command;
using kp::Slot;

namespace {
constexpr uint16_t C(Command c) { return kp::Code(c); }
}  // namespace

uint32_t CRequestHandler::Recorder(uint32_t client, uint16_t code, std::span<uint8_t> block) {
    kp::BlockReader r(block);
    kp::BlockWriter w(block);
    if (!card_.Recorder()) return result::kNotSupported;
    CRecorder& rec = *card_.Recorder();
    const uint32_t arg = r.U32(Slot(0));
    switch (code) {
        case C(Command::REC_Open): {
            const auto q = kp::RecordOpenArgs::Decode(r);
            if (!q) return result::kBadRequest;
            return rec.Open(q->name, q->format, q->forPlayback != 0);
        }
        case C(Command::REC_Close):
            return rec.Close();
        case C(Command::REC_Record):
            return rec.Record(card_.VideoPid(), card_.AudioPid());
        case C(Command::REC_Stop):
            return rec.Stop();
        case C(Command::REC_Playback):
            return rec.Playback(arg);
        case C(Command::REC_Pause):
        case C(Command::WS_Pause):
            return rec.Pause();
        case C(Command::REC_Forward):
            return rec.Wind(true);
        case C(Command::REC_Backward):
            return rec.Wind(false);
        case C(Command::REC_SlowPlayback):
        case C(Command::WS_PlaySlow):
            return rec.Slow(arg);
        case C(Command::REC_FastPlayback):
        case C(Command::WS_PlayFast):
            return rec.Fast(arg);
        case C(Command::REC_GetStatus): {
            const RecorderStatus s = rec.Status();
            kp::RecordStatusReply{s.lengthMs, s.kbit, s.positionMs, s.mode, s.format}.Encode(w);
            return result::kOk;
        }
        case C(Command::REC_SetStatusChangedMessage):
            rec.SetStatusMessage(client, arg, r.U32(Slot(1)), r.U32(Slot(2)) != 0);
            return result::kOk;
        case C(Command::WS_Record):
            return rec.NetRecord(arg, card_.VideoPid(), card_.AudioPid());
        case C(Command::WS_Stop):
            return rec.NetStop();
        case C(Command::WS_Playback):
            return rec.NetPlayback(arg);  // the sampling rate is in the MPEG audio frames
        case C(Command::WS_RecPlayMethod):
            return rec.SetMethod(arg);
        default:
            return result::kUnknownCommand;
    }
}

}  // namespace nvdvbsrv
