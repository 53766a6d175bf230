#pragma once
// The card's on-screen display: windows, palettes, blending, text, drawing.
#include <cstdint>
#include <string>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

struct sockaddr;

class COverlay : public CCommonDVB {
  public:
    COverlay() = default;
    ~COverlay() override;
    COverlay(const COverlay&) = delete;
    COverlay& operator=(const COverlay&) = delete;

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
    /// Sends a BMP file (1, 2, 4 or 8 bits, at most 720 x 576 and 32 768
    /// packed bytes) to the card's bitmap memory for BlitBitmap: 1 sent, 3 not
    /// such a file, 4 cannot be opened, 6 no bitmap socket, 8 no memory.
    ErrReturn LoadBMP(const std::string& path);

  protected:
    /// Announces a bitmap transfer (kind, width, height).
    ErrReturn LoadBitmapA(std::uint16_t kind, std::uint16_t width, std::uint16_t height);
    /// Opens the bitmap socket at DVBDestIP, DVBBasePort + offset; false when
    /// one is open already or the card's address is unknown or not loopback.
    bool SocketOpen(int portOffset);
    void SocketClose();
    /// One bitmap datagram (2 bytes of length, then data): the data bytes
    /// sent, or -1.
    int SendDatagramBMP(const char* data, int length, const sockaddr* to, int toLength);
    /// The card's address and base port, as CDVBWinSock::GetIPandPort.
    bool RegistryGetIPandPort(std::string& address, std::string& port);

  private:
    int bmpSocket_ = -1;
    std::uint32_t localAddress_ = 0;        ///< DVBDestIP, host byte order
    std::uint32_t destinationAddress_ = 0;  ///< the card network's own address
    std::uint16_t bmpPort_ = 0;
};
