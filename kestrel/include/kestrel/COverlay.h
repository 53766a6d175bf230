#pragma once
// The card's on-screen display: windows, palettes, blending, text, drawing.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class COverlay : public CCommonDVB {
  public:
    ErrReturn CreateOSDWindow(std::uint8_t window, DISPTYPE type, std::uint16_t width,
                              std::uint16_t height);
    ErrReturn DestroyOSDWindow(std::uint8_t window);
    ErrReturn MoveWindowAbs(std::uint8_t window, std::uint16_t x, std::uint16_t y);
    ErrReturn MoveWindowRel(std::uint8_t window, std::uint16_t dx, std::uint16_t dy);
    ErrReturn HideWindow(std::uint8_t window);
    ErrReturn DrawBlock(std::uint8_t window, std::uint16_t x, std::uint16_t y, std::uint16_t width,
                        std::uint16_t height, std::uint16_t colour);
    ErrReturn DrawLine(std::uint8_t window, std::uint16_t x, std::uint16_t y, std::uint16_t a,
                       std::uint16_t b, std::uint16_t colour);
    /// count bytes of text (at most 384, the room from offset 24).
    ErrReturn WriteText(std::uint8_t window, std::uint16_t x, std::uint16_t y, std::uint8_t count,
                        const char* text);
    ErrReturn SetFont(std::uint8_t a, std::uint8_t b, std::uint16_t c, std::uint16_t d);
    ErrReturn BringToTop(std::uint8_t window);
    ErrReturn SetColor(std::uint8_t window, OSDPALTYPE palette, std::uint16_t index,
                       std::uint16_t a, std::uint16_t b);
    ErrReturn SetBlend(std::uint8_t window, OSDPALTYPE palette, std::uint16_t index,
                       std::uint8_t blend);
    ErrReturn SetWindowBlend(std::uint8_t window, std::uint8_t blend);
    ErrReturn SetColorBlend(std::uint8_t window);
    ErrReturn ResetBlend(std::uint8_t window);
    ErrReturn OSDTest();
    ErrReturn BlitBitmap(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d);
    ErrReturn ReleaseBitmap();

  protected:
    /// Announces a bitmap transfer (kind, width, height).
    ErrReturn LoadBitmapA(std::uint16_t kind, std::uint16_t width, std::uint16_t height);
};
