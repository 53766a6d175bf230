#include "kestrel/COverlay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <span>
#include <thread>

#include "BmpFile.h"
#include "Proxy.h"
#include "kestrel/CDVBWinSock.h"
#include "kestrel/protocol/BoardCodecs.h"
#include "kestrel/protocol/MediaCodecs.h"
#include "kestrel/protocol/OsdBitmap.h"

using namespace kestrel;
using namespace kestrel::detail;

namespace {
namespace osd = kestrel::protocol::osd;

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

sockaddr_in Address(std::uint32_t address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    sa.sin_port = htons(port);
    return sa;
}

// Command 25: the card's address, its subnet mask and the base port.
bool CardNetwork(std::string& ip, std::string& mask, std::uint16_t& port) {
    std::int32_t check = -1;
    const ErrReturn r = Transact(Request(Command::Board_GetIP), [&](BlockReader& b) {
        auto q = protocol::IpConfigReply::Decode(b);
        if (!q) return;
        check = q->check;
        ip = q->ip;
        mask = q->mask;
        port = q->udpPort;
    });
    return r == CCommonDVB::RET_OK && (check == 0 || check == 6);
}
}  // namespace

COverlay::~COverlay() { SocketClose(); }

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

bool COverlay::RegistryGetIPandPort(std::string& address, std::string& port) {
    return CDVBWinSock::GetIPandPort(address, port);
}

bool COverlay::SocketOpen(int portOffset) {
    if (bmpSocket_ >= 0) return false;
    std::string ip, mask;
    std::uint16_t base = 0;
    in_addr local{};
    if (!CardNetwork(ip, mask, base) || inet_pton(AF_INET, ip.c_str(), &local) != 1) return false;
    const auto destination = osd::CardAddress(ip, mask);
    const int port = base + portOffset;
    // The card's network is loopback here: nothing leaves the machine.
    if (!destination || (ntohl(local.s_addr) >> 24) != 127 || port <= 0 || port > 0xFFFF)
        return false;
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const int sendBuffer = 65536, on = 1;
    const sockaddr_in self = Address(ntohl(local.s_addr), std::uint16_t(port));
    if (setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_DONTROUTE, &on, sizeof on) != 0 ||
        bind(fd, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0) {
        ::close(fd);
        return false;
    }
    bmpSocket_ = fd;
    localAddress_ = ntohl(local.s_addr);
    destinationAddress_ = *destination;
    bmpPort_ = std::uint16_t(port);
    return true;
}

void COverlay::SocketClose() {
    if (bmpSocket_ >= 0) ::close(bmpSocket_);
    bmpSocket_ = -1;
}

int COverlay::SendDatagramBMP(const char* data, int length, const sockaddr* to, int toLength) {
    if (bmpSocket_ < 0 || length < 0 || !to || toLength <= 0) return -1;
    const auto datagram = osd::BitmapDatagram(
        std::span(reinterpret_cast<const std::uint8_t*>(data), std::size_t(length)));
    const ssize_t n =
        sendto(bmpSocket_, datagram.data(), datagram.size(), 0, to, socklen_t(toLength));
    return n < 0 ? -1 : int(n) - int(osd::kHeaderBytes);
}

ErrReturn COverlay::LoadBMP(const std::string& path) {
    OsdBmp bmp;
    if (const int read = ReadOsdBmp(path, bmp); read != RET_OK) return ErrReturn(read);
    if (!SocketOpen(osd::kBitmapPortOffset)) return RET_SOCKET_ERROR;
    const sockaddr_in to = Address(destinationAddress_, bmpPort_);
    const auto* toAddress = reinterpret_cast<const sockaddr*>(&to);
    LoadBitmapA(std::uint16_t(osd::KindOfBits(bmp.bits)), std::uint16_t(bmp.width),
                std::uint16_t(bmp.height));
    Wait(50);
    SendDatagramBMP(reinterpret_cast<const char*>(bmp.palette.data()), int(bmp.palette.size()),
                    toAddress, sizeof to);
    Wait(10);
    for (std::size_t sent = 0; sent < bmp.image.size(); sent += osd::kMaxPart) {
        const std::size_t part = std::min(osd::kMaxPart, bmp.image.size() - sent);
        Wait(10);
        SendDatagramBMP(reinterpret_cast<const char*>(bmp.image.data() + sent), int(part),
                        toAddress, sizeof to);
    }
    Wait(50);
    SocketClose();
    return RET_OK;
}
