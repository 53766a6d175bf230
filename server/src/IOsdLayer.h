// The on-screen display as the card's output stage sees it: something that
// draws itself over the 720 x 576 frame about to be published.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nvdvbsrv {

class IOsdLayer {
  public:
    virtual ~IOsdLayer() = default;
    // Draws the visible OSD windows over `pixels` (720 x 576, 0xFFRRGGBB,
    // `stride` bytes a row). Called on the output thread; safe against the
    // request thread changing the OSD meanwhile.
    virtual void Compose(uint32_t* pixels, size_t stride) const = 0;
    // Changes whenever what Compose draws changes, so that the output is
    // published anew while no picture is decoded.
    virtual uint64_t Revision() const = 0;
};

}  // namespace nvdvbsrv
