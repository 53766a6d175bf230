#pragma once
// Switches the server between its own file method and network streaming.
#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CWSRecordPlayback : public CCommonDVB {
  public:
    ErrReturn WS_Record(TYPE_REC_PLAY_FORMAT format);
    ErrReturn WS_Stop();
    ErrReturn WS_Playback(TYPE_REC_PLAY_FORMAT format, unsigned short samplingHz);
    ErrReturn WS_Pause();
    ErrReturn WS_PlaySlow(unsigned char speed);
    ErrReturn WS_PlayFast(int speed);
    ErrReturn WS_RecPlayMethod(int network);
};
