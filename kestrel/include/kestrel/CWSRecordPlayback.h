#pragma once
// Switches the server between its own file method and network streaming.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CWSRecordPlayback : public CCommonDVB {
  public:
    ErrReturn WS_Record(TYPE_REC_PLAY_FORMAT format);
    ErrReturn WS_Stop();
    ErrReturn WS_Playback(TYPE_REC_PLAY_FORMAT format, std::uint16_t samplingHz);
    ErrReturn WS_Pause();
    ErrReturn WS_PlaySlow(std::uint8_t speed);
    ErrReturn WS_PlayFast(int speed);
    ErrReturn WS_RecPlayMethod(int network);
};
