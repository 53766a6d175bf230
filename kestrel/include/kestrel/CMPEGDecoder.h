#pragma once
// The card's MPEG decoder: PIDs, status, volume, picture and output settings.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CMPEGDecoder : public CCommonDVB {
  public:
    ErrReturn SetVideoPID(unsigned short pid);
    ErrReturn GetVideoPID(unsigned short& pid);
    ErrReturn SetAudioPID(unsigned short pid);
    ErrReturn GetAudioPid(unsigned short& pid);
    ErrReturn GetDecoderStatus(VIDEOSTATE* state);
    ErrReturn GetAudioStatus(std::uint32_t& status);
    ErrReturn GetAudioBufferStatus(unsigned char& status);
    ErrReturn SetVolume(unsigned char left, unsigned char right);
    ErrReturn SetAudioMute(int mute);
    ErrReturn SetPictureParameters(unsigned char brightness, unsigned char contrast,
                                   unsigned char saturation);
    ErrReturn SetVideoOutputMode(VIDEOOUTPUTMODE mode);
    ErrReturn SetVideoTestMode(VIDEOTESTMODE mode);
    ErrReturn SetVideoStandard(VIDEOSTANDARD standard);
    ErrReturn SetAudioChannel(AB_CHANNELS channel);
    ErrReturn GetAudioChannel(AB_CHANNELS& channel);
    ErrReturn LoopCDAudio(int loop);
    ErrReturn SetAspectRatio(TYPE_MONITOR_AR ratio);
};
