// The card's on-screen display: windows 1 to 7 over the 720 x 576 picture,
// each with its own palette and blending, stacked in the order they were
// created or brought to the top; and the one bitmap that LoadBitmapA
// announces and the bitmap receiver fills. Thread-safe: the request thread
// changes it, the receiver thread feeds bitmap datagrams, the output thread
// composes it.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>
#include <vector>

#include "CBitmapAssembler.h"
#include "COsdWindow.h"
#include "IOsdLayer.h"

namespace nvdvbsrv {

enum class OsdStatus {
    Ok,
    Failed,     // no such window, no bitmap, bitmap deeper than the window
    BadRequest  // a value out of range
};

class COsd : public IOsdLayer {
  public:
    static constexpr uint32_t kWindows = 7;

    // dispType: 0 1 bit, 1 2 bits, 2 4 bits, 3 8 bits a pixel. A window that
    // exists already is made anew.
    OsdStatus CreateWindow(uint32_t window, uint32_t dispType, uint32_t width, uint32_t height);
    OsdStatus DestroyWindow(uint32_t window);  // Ok also when there is none
    OsdStatus MoveAbs(uint32_t window, uint32_t x, uint32_t y);
    // dx, dy are 16-bit two's complement: 0xFFF6 moves 10 left.
    OsdStatus MoveRel(uint32_t window, uint32_t dx, uint32_t dy);
    OsdStatus Hide(uint32_t window);
    // Raises the window above all others and shows it again.
    OsdStatus BringToTop(uint32_t window);
    OsdStatus DrawBlock(uint32_t window, uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                        uint32_t colour);
    OsdStatus DrawLine(uint32_t window, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1,
                       uint32_t colour);
    OsdStatus WriteText(uint32_t window, uint32_t x, uint32_t y, std::string_view text);
    OsdStatus SetFont(uint32_t window, uint32_t font, uint32_t foreground, uint32_t background);
    // palType names the palette depth the caller means (as dispType); the
    // index must lie in it and in the window's palette. cb 0-255, yCr = Y << 8 | Cr.
    OsdStatus SetColor(uint32_t window, uint32_t palType, uint32_t index, uint32_t cb,
                       uint32_t yCr);
    OsdStatus SetBlend(uint32_t window, uint32_t palType, uint32_t index, uint32_t blend);
    OsdStatus SetWindowBlend(uint32_t window, uint32_t blend);
    OsdStatus SetColorBlend(uint32_t window);
    OsdStatus ResetBlend(uint32_t window);
    // The test picture in window 1 (see the server's README).
    OsdStatus Test();

    OsdStatus LoadBitmap(uint32_t kind, uint32_t width, uint32_t height);
    OsdStatus BlitBitmap(uint32_t window, uint32_t x, uint32_t y, uint32_t transparent);
    OsdStatus ReleaseBitmap();
    // A datagram from the bitmap port, as received.
    void BitmapDatagram(std::span<const uint8_t> datagram);
    bool BitmapComplete() const;

    void Compose(uint32_t* pixels, size_t stride) const override;
    uint64_t Revision() const override { return revision_.load(); }

  private:
    template <typename F>
    OsdStatus WithWindow(uint32_t window, F&& change);
    void Raise(uint32_t window);

    mutable std::mutex mutex_;
    std::array<std::unique_ptr<COsdWindow>, kWindows + 1> windows_;  // [0] unused
    std::vector<uint32_t> order_;                                    // bottom first
    CBitmapAssembler bitmap_;
    std::atomic<uint64_t> revision_{0};
};

}  // namespace nvdvbsrv
