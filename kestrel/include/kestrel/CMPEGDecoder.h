#pragma once
// The card's MPEG decoder: PIDs, status, volume, picture and output settings.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CMPEGDecoder : public CCommonDVB {
  public:
    ErrReturn SetVideoPID(std::uint16_t pid);
    ErrReturn GetVideoPID(std::uint16_t& pid);
    ErrReturn SetAudioPID(std::uint16_t pid);
    ErrReturn GetAudioPid(std::uint16_t& pid);
    ErrReturn GetDecoderStatus(VIDEOSTATE* state);
    ErrReturn GetAudioStatus(std::uint32_t& status);
    ErrReturn GetAudioBufferStatus(std::uint8_t& status);
    ErrReturn SetVolume(std::uint8_t left, std::uint8_t right);
    ErrReturn SetAudioMute(int mute);
    ErrReturn SetPictureParameters(std::uint8_t brightness, std::uint8_t contrast,
                                   std::uint8_t saturation);
    ErrReturn SetVideoOutputMode(VIDEOOUTPUTMODE mode);
    ErrReturn SetVideoTestMode(VIDEOTESTMODE mode);
    ErrReturn SetVideoStandard(VIDEOSTANDARD standard);
    ErrReturn SetAudioChannel(AB_CHANNELS channel);
    ErrReturn GetAudioChannel(AB_CHANNELS& channel);
    ErrReturn LoopCDAudio(int loop);
    ErrReturn SetAspectRatio(TYPE_MONITOR_AR ratio);
};
