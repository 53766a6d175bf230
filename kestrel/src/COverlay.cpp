#include "kestrel/COverlay.h"

#include "Proxy.h"
#include "kestrel/protocol/MediaCodecs.h"

using namespace kestrel;
using namespace kestrel::detail;

ErrReturn COverlay::CreateOSDWindow(std::uint8_t w, DISPTYPE t, std::uint16_t width,
                                    std::uint16_t height) {
    return Slots(Command::OSD_CreateOSDWindow, w, t, width, height);
}
ErrReturn COverlay::DestroyOSDWindow(std::uint8_t w) {
    return Slots(Command::OSD_DestroyOSDWindow, w);
}
ErrReturn COverlay::MoveWindowAbs(std::uint8_t w, std::uint16_t x, std::uint16_t y) {
    return Slots(Command::OSD_MoveWindowAbs, w, x, y);
}
ErrReturn COverlay::MoveWindowRel(std::uint8_t w, std::uint16_t dx, std::uint16_t dy) {
    return Slots(Command::OSD_MoveWindowRel, w, dx, dy);
}
ErrReturn COverlay::HideWindow(std::uint8_t w) { return Slots(Command::OSD_HideWindow, w); }
ErrReturn COverlay::DrawBlock(std::uint8_t w, std::uint16_t x, std::uint16_t y, std::uint16_t width,
                              std::uint16_t height, std::uint16_t colour) {
    return Slots(Command::OSD_DrawBlock, w, x, y, width, height, colour);
}
ErrReturn COverlay::DrawLine(std::uint8_t w, std::uint16_t x, std::uint16_t y, std::uint16_t a,
                             std::uint16_t b, std::uint16_t colour) {
    return Slots(Command::OSD_DrawLine, w, x, y, a, b, colour);
}

ErrReturn COverlay::WriteText(std::uint8_t w, std::uint16_t x, std::uint16_t y, std::uint8_t count,
                              const char* text) {
    if (count && !text) return RET_INVALID;
    Request r(Command::OSD_WriteText);
    protocol::OverlayTextRequest{w, x, y, text, count}.Encode(r);
    return Transact(r);
}

ErrReturn COverlay::SetFont(std::uint8_t a, std::uint8_t b, std::uint16_t c, std::uint16_t d) {
    return Slots(Command::OSD_SetFont, a, b, c, d);
}
ErrReturn COverlay::BringToTop(std::uint8_t w) { return Slots(Command::OSD_BringToTop, w); }
ErrReturn COverlay::SetColor(std::uint8_t w, OSDPALTYPE p, std::uint16_t i, std::uint16_t a,
                             std::uint16_t b) {
    return Slots(Command::OSD_SetColor, w, p, i, a, b);
}
ErrReturn COverlay::SetBlend(std::uint8_t w, OSDPALTYPE p, std::uint16_t i, std::uint8_t blend) {
    return Slots(Command::OSD_SetBlend, w, p, i, blend);
}
ErrReturn COverlay::SetWindowBlend(std::uint8_t w, std::uint8_t blend) {
    return Slots(Command::OSD_SetWindowBlend, w, blend);
}
ErrReturn COverlay::SetColorBlend(std::uint8_t w) { return Slots(Command::OSD_SetColorBlend, w); }
ErrReturn COverlay::ResetBlend(std::uint8_t w) { return Slots(Command::OSD_ResetBlend, w); }
ErrReturn COverlay::OSDTest() { return Simple(Command::OSD_OSDTest); }
ErrReturn COverlay::LoadBitmapA(std::uint16_t kind, std::uint16_t width, std::uint16_t height) {
    return Slots(Command::OSD_LoadBitmap, kind, width, height);
}
ErrReturn COverlay::BlitBitmap(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    return Slots(Command::OSD_BlitBitmap, a, b, c, d);
}
ErrReturn COverlay::ReleaseBitmap() { return Simple(Command::OSD_ReleaseBitmap); }
