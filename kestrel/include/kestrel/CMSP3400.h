#pragma once
// The audio processor chip.
#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CMSP3400 : public CCommonDVB {
  public:
    ErrReturn Init();
    ErrReturn SetVolume(int left, int right);
    ErrReturn SetTrebleBass(int treble, int bass);
    ErrReturn SetWide(int wide);
    ErrReturn ReadStereo(eMSPSound& sound);
    ErrReturn SetChannel(eMSPInput input, eMSPOutput output, eMSPSound sound);
    ErrReturn SetStandard(eMSPStandard standard);
    ErrReturn SetMute(int mute);
};
