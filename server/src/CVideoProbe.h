// Reads what the decoder would show from a stream: the first MPEG video
// sequence header (ISO/IEC 13818-2, 6.2.2.1) on the video PID.
#pragma once

#include <cstdint>

#include "CTsFile.h"
#include "ICard.h"

namespace nvdvbsrv {

class CVideoProbe {
  public:
    // Nothing found (no such PID, no sequence header): all zero.
    static VideoInfo Probe(const CTsFile& file, uint16_t pid);
};

}  // namespace nvdvbsrv
