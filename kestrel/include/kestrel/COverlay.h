#pragma once
// The card's on-screen display: windows, palettes, blending, text, drawing.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class COverlay : public CCommonDVB {
  public:
    ErrReturn CreateOSDWindow(unsigned char window, DISPTYPE type, unsigned short width,
                              unsigned short height);
    ErrReturn DestroyOSDWindow(unsigned char window);
    ErrReturn MoveWindowAbs(unsigned char window, unsigned short x, unsigned short y);
    ErrReturn MoveWindowRel(unsigned char window, unsigned short dx, unsigned short dy);
    ErrReturn HideWindow(unsigned char window);
    ErrReturn DrawBlock(unsigned char window, unsigned short x, unsigned short y,
                        unsigned short width, unsigned short height, unsigned short colour);
    ErrReturn DrawLine(unsigned char window, unsigned short x, unsigned short y, unsigned short a,
                       unsigned short b, unsigned short colour);
    /// count bytes of text (at most 384, the room from offset 24).
    ErrReturn WriteText(unsigned char window, unsigned short x, unsigned short y,
                        unsigned char count, const char* text);
    ErrReturn SetFont(unsigned char a, unsigned char b, unsigned short c, unsigned short d);
    ErrReturn BringToTop(unsigned char window);
    ErrReturn SetColor(unsigned char window, OSDPALTYPE palette, unsigned short index,
                       unsigned short a, unsigned short b);
    ErrReturn SetBlend(unsigned char window, OSDPALTYPE palette, unsigned short index,
                       unsigned char blend);
    ErrReturn SetWindowBlend(unsigned char window, unsigned char blend);
    ErrReturn SetColorBlend(unsigned char window);
    ErrReturn ResetBlend(unsigned char window);
    ErrReturn OSDTest();
    ErrReturn BlitBitmap(unsigned short a, unsigned short b, unsigned short c, unsigned short d);
    ErrReturn ReleaseBitmap();

  protected:
    /// Announces a bitmap transfer (kind, width, height).
    ErrReturn LoadBitmapA(unsigned short kind, unsigned short width, unsigned short height);
};
