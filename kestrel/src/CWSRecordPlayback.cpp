#include "kestrel/CWSRecordPlayback.h"

#include "Proxy.h"

using namespace kestrel;
using namespace kestrel::detail;

ErrReturn CWSRecordPlayback::WS_Record(TYPE_REC_PLAY_FORMAT f) {
    return Slots(Command::WS_Record, f);
}
ErrReturn CWSRecordPlayback::WS_Stop() { return Simple(Command::WS_Stop); }
ErrReturn CWSRecordPlayback::WS_Playback(TYPE_REC_PLAY_FORMAT f, std::uint16_t hz) {
    return Slots(Command::WS_Playback, f, hz);
}
ErrReturn CWSRecordPlayback::WS_Pause() { return Simple(Command::WS_Pause); }
ErrReturn CWSRecordPlayback::WS_PlaySlow(std::uint8_t s) { return Slots(Command::WS_PlaySlow, s); }
ErrReturn CWSRecordPlayback::WS_PlayFast(int s) { return Slots(Command::WS_PlayFast, s); }
ErrReturn CWSRecordPlayback::WS_RecPlayMethod(int n) { return Slots(Command::WS_RecPlayMethod, n); }
