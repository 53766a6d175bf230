#include "COsdWindow.h"

#include <algorithm>
#include <cstdlib>

#include "OsdFont.h"

namespace nvdvbsrv {

namespace {
constexpr int kFrameWidth = 720;
constexpr int kFrameHeight = 576;

uint8_t Clamp(double v) { return uint8_t(std::clamp(v * 255.0 + 0.5, 0.0, 255.0)); }

// Black, white, then grey steps: a window shows something readable before
// the program sets its colours.
std::array<OsdColour, 256> DefaultPalette() {
    std::array<OsdColour, 256> p{};
    p[1] = {235, 128, 128, 15};
    for (int i = 2; i < 256; ++i) p[i] = {uint8_t(16 + (i * 219) / 255), 128, 128, 15};
    return p;
}
}  // namespace

uint32_t OsdRgb(const OsdColour& c) {
    const double y = (c.y - 16) / 219.0;
    const double b = y + (c.cb - 128) / 126.0;
    const double r = y + (c.cr - 128) / 160.0;
    const double g = (y - 0.299 * r - 0.114 * b) / 0.587;
    return 0xFF000000u | uint32_t(Clamp(r)) << 16 | uint32_t(Clamp(g)) << 8 | Clamp(b);
}

COsdWindow::COsdWindow(int bits, int width, int height)
    : palette(DefaultPalette()),
      bits_(bits),
      width_(width),
      height_(height),
      pixels_(size_t(width) * height, 0) {}

void COsdWindow::Set(int px, int py, uint8_t index) {
    if (px >= 0 && py >= 0 && px < width_ && py < height_)
        pixels_[size_t(py) * width_ + px] = index;
}

void COsdWindow::Fill(int fx, int fy, int width, int height, uint8_t index) {
    const int x0 = std::max(fx, 0), y0 = std::max(fy, 0);
    const int x1 = std::min(fx + width, width_), y1 = std::min(fy + height, height_);
    for (int py = y0; py < y1; ++py)
        std::fill_n(pixels_.begin() + ptrdiff_t(py) * width_ + x0, std::max(x1 - x0, 0), index);
}

void COsdWindow::Line(int x0, int y0, int x1, int y1, uint8_t index) {
    // Bresenham: every step moves one pixel along the longer axis.
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, index);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void COsdWindow::Text(int tx, int ty, std::string_view text) {
    const OsdFontFace* face = OsdFont(font);
    if (!face) return;
    for (const char ch : text) {
        const auto code = uint8_t(ch);
        for (int gy = 0; gy < face->height; ++gy)
            for (int gx = 0; gx < face->width; ++gx)
                Set(tx + gx, ty + gy, face->Pixel(code, gx, gy) ? foreground : background);
        tx += face->width;
        if (tx >= width_) break;
    }
}

void COsdWindow::Blit(int bx, int by, const OsdBitmap& bitmap, bool transparent) {
    const int entries = std::min(1 << bitmap.bits, Entries());
    for (int i = 0; i < entries; ++i) {
        const uint8_t* e = &bitmap.palette[size_t(i) * 4];
        palette[i].cb = e[1];
        palette[i].y = e[2];
        palette[i].cr = e[3];
    }
    for (uint32_t py = 0; py < bitmap.height; ++py)
        for (uint32_t px = 0; px < bitmap.width; ++px) {
            const uint8_t index = bitmap.Index(px, py);
            if (!transparent || index) Set(bx + int(px), by + int(py), index);
        }
}

uint8_t COsdWindow::Opacity(uint8_t index) const {
    switch (blending) {
        case Blending::Window:
            return windowBlend;
        case Blending::PerColour:
            return palette[index].blend;
        default:
            return 15;
    }
}

void COsdWindow::Compose(uint32_t* frame, size_t stride) const {
    std::array<uint32_t, 256> rgb{};
    std::array<uint8_t, 256> alpha{};
    for (int i = 0; i < Entries(); ++i) {
        rgb[i] = OsdRgb(palette[i]);
        alpha[i] = std::min<uint8_t>(Opacity(uint8_t(i)), 15);
    }
    const int x0 = std::max(x, 0), x1 = std::min(x + width_, kFrameWidth);
    const int y0 = std::max(y, 0), y1 = std::min(y + height_, kFrameHeight);
    for (int fy = y0; fy < y1; ++fy) {
        auto* row = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(frame) + fy * stride);
        const uint8_t* src = &pixels_[size_t(fy - y) * width_];
        for (int fx = x0; fx < x1; ++fx) {
            const uint8_t index = src[fx - x];
            const uint32_t a = alpha[index];
            if (a == 0) continue;
            if (a == 15) {
                row[fx] = rgb[index];
                continue;
            }
            uint32_t out = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t top = (rgb[index] >> shift) & 0xFF,
                               below = (row[fx] >> shift) & 0xFF;
                out |= ((top * a + below * (15 - a) + 7) / 15) << shift;
            }
            row[fx] = out;
        }
    }
}

}  // namespace nvdvbsrv
