#include "kestrel/COverlay.h"

#include "Proxy.h"
#include "kestrel/protocol/MediaCodecs.h"

using namespace kestrel;
using namespace kestrel::detail;

ErrReturn COverlay::CreateOSDWindow(unsigned char w, DISPTYPE t, unsigned short width,
                                    unsigned short height) {
    return Slots(Command::OSD_CreateOSDWindow, w, t, width, height);
}
ErrReturn COverlay::DestroyOSDWindow(unsigned char w) {
    return Slots(Command::OSD_DestroyOSDWindow, w);
}
ErrReturn COverlay::MoveWindowAbs(unsigned char w, unsigned short x, unsigned short y) {
    return Slots(Command::OSD_MoveWindowAbs, w, x, y);
}
ErrReturn COverlay::MoveWindowRel(unsigned char w, unsigned short dx, unsigned short dy) {
    return Slots(Command::OSD_MoveWindowRel, w, dx, dy);
}
ErrReturn COverlay::HideWindow(unsigned char w) { return Slots(Command::OSD_HideWindow, w); }
ErrReturn COverlay::DrawBlock(unsigned char w, unsigned short x, unsigned short y,
                              unsigned short width, unsigned short height, unsigned short colour) {
    return Slots(Command::OSD_DrawBlock, w, x, y, width, height, colour);
}
ErrReturn COverlay::DrawLine(unsigned char w, unsigned short x, unsigned short y, unsigned short a,
                             unsigned short b, unsigned short colour) {
    return Slots(Command::OSD_DrawLine, w, x, y, a, b, colour);
}

ErrReturn COverlay::WriteText(unsigned char w, unsigned short x, unsigned short y,
                              unsigned char count, const char* text) {
    if (count && !text) return RET_INVALID;
    Request r(Command::OSD_WriteText);
    protocol::OverlayTextRequest{w, x, y, text, count}.Encode(r);
    return Transact(r);
}

ErrReturn COverlay::SetFont(unsigned char a, unsigned char b, unsigned short c, unsigned short d) {
    return Slots(Command::OSD_SetFont, a, b, c, d);
}
ErrReturn COverlay::BringToTop(unsigned char w) { return Slots(Command::OSD_BringToTop, w); }
ErrReturn COverlay::SetColor(unsigned char w, OSDPALTYPE p, unsigned short i, unsigned short a,
                             unsigned short b) {
    return Slots(Command::OSD_SetColor, w, p, i, a, b);
}
ErrReturn COverlay::SetBlend(unsigned char w, OSDPALTYPE p, unsigned short i, unsigned char blend) {
    return Slots(Command::OSD_SetBlend, w, p, i, blend);
}
ErrReturn COverlay::SetWindowBlend(unsigned char w, unsigned char blend) {
    return Slots(Command::OSD_SetWindowBlend, w, blend);
}
ErrReturn COverlay::SetColorBlend(unsigned char w) { return Slots(Command::OSD_SetColorBlend, w); }
ErrReturn COverlay::ResetBlend(unsigned char w) { return Slots(Command::OSD_ResetBlend, w); }
ErrReturn COverlay::OSDTest() { return Simple(Command::OSD_OSDTest); }
ErrReturn COverlay::LoadBitmapA(unsigned short kind, unsigned short width, unsigned short height) {
    return Slots(Command::OSD_LoadBitmap, kind, width, height);
}
ErrReturn COverlay::BlitBitmap(unsigned short a, unsigned short b, unsigned short c,
                               unsigned short d) {
    return Slots(Command::OSD_BlitBitmap, a, b, c, d);
}
ErrReturn COverlay::ReleaseBitmap() { return Simple(Command::OSD_ReleaseBitmap); }
