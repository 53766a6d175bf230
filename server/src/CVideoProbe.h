// What the decoder shows of the video PID of a stream: the picture size,
// aspect and frame rate of the first MPEG-2 sequence header or, in an H.264
// stream, of the first sequence parameter set; the bit rate that the MPEG-2
// header announces, else the rate the PID's video really has in the stream.
#pragma once

#include <cstdint>

#include "CTsFile.h"
#include "ICard.h"

namespace nvdvbsrv {

class CVideoProbe {
  public:
    // Nothing found (no such PID, no video on it, no header): all zero.
    static VideoInfo Probe(const CTsFile& file, uint16_t pid);

    // The MPEG codes the decoder reports for an H.264 picture: aspect 2 (4:3),
    // 3 (16:9) or 4 (2.21:1) for a display aspect within 5 % of one of them
    // (720 x 576 with the samples of 4:3 or 16:9 comes to 2.3 % more), else 1
    // for square samples, else 0; 0 without a sample aspect ratio.
    static uint16_t AspectCode(uint32_t width, uint32_t height, uint16_t sarWidth,
                               uint16_t sarHeight);
    // frame_rate_code 1-8 (23.976 to 60 Hz) for a frame rate within 0.05 %
    // of one of them, else 0; a frame lasts two ticks.
    static uint16_t FrameRateCode(uint32_t numUnitsInTick, uint32_t timeScale);
};

}  // namespace nvdvbsrv
