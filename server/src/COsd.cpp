#include "COsd.h"

#include <algorithm>

#include "OsdFont.h"

namespace nvdvbsrv {

namespace {
constexpr uint32_t kMaxCoordinate = 0xFFFF;
constexpr int kDepthBits[] = {1, 2, 4, 8};

bool Coordinates(std::initializer_list<uint32_t> values) {
    return std::all_of(values.begin(), values.end(),
                       [](uint32_t v) { return v <= kMaxCoordinate; });
}
int Signed16(uint32_t v) { return int(int16_t(uint16_t(v))); }
}  // namespace

template <typename F>
OsdStatus COsd::WithWindow(uint32_t window, F&& change) {
    std::lock_guard lock(mutex_);
    if (window == 0 || window > kWindows) return OsdStatus::BadRequest;
    if (!windows_[window]) return OsdStatus::Failed;
    const OsdStatus status = change(*windows_[window]);
    if (status == OsdStatus::Ok) ++revision_;
    return status;
}

void COsd::Raise(uint32_t window) {
    std::erase(order_, window);
    order_.push_back(window);
}

OsdStatus COsd::CreateWindow(uint32_t window, uint32_t dispType, uint32_t width, uint32_t height) {
    if (window == 0 || window > kWindows || dispType > 3 || width == 0 || width > 720 ||
        height == 0 || height > 576)
        return OsdStatus::BadRequest;
    std::lock_guard lock(mutex_);
    windows_[window] = std::make_unique<COsdWindow>(kDepthBits[dispType], int(width), int(height));
    Raise(window);
    ++revision_;
    return OsdStatus::Ok;
}

OsdStatus COsd::DestroyWindow(uint32_t window) {
    if (window == 0 || window > kWindows) return OsdStatus::BadRequest;
    std::lock_guard lock(mutex_);
    if (windows_[window]) ++revision_;
    windows_[window].reset();
    std::erase(order_, window);
    return OsdStatus::Ok;
}

OsdStatus COsd::MoveAbs(uint32_t window, uint32_t x, uint32_t y) {
    if (!Coordinates({x, y})) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        w.x = int(x);
        w.y = int(y);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::MoveRel(uint32_t window, uint32_t dx, uint32_t dy) {
    if (!Coordinates({dx, dy})) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        w.x = std::clamp(w.x + Signed16(dx), -32768, 32767);
        w.y = std::clamp(w.y + Signed16(dy), -32768, 32767);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::Hide(uint32_t window) {
    return WithWindow(window, [](COsdWindow& w) {
        w.shown = false;
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::BringToTop(uint32_t window) {
    return WithWindow(window, [&](COsdWindow& w) {
        w.shown = true;
        Raise(window);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::DrawBlock(uint32_t window, uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                          uint32_t colour) {
    if (!Coordinates({x, y, width, height})) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        if (colour >= uint32_t(w.Entries())) return OsdStatus::BadRequest;
        w.Fill(int(x), int(y), int(width), int(height), uint8_t(colour));
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::DrawLine(uint32_t window, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1,
                         uint32_t colour) {
    if (!Coordinates({x0, y0, x1, y1})) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        if (colour >= uint32_t(w.Entries())) return OsdStatus::BadRequest;
        // Clipped to the window first, so that no line walks 65 536 steps.
        const auto lim = [](uint32_t v, int size) { return std::min(int(v), size * 2); };
        w.Line(lim(x0, w.Width()), lim(y0, w.Height()), lim(x1, w.Width()), lim(y1, w.Height()),
               uint8_t(colour));
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::WriteText(uint32_t window, uint32_t x, uint32_t y, std::string_view text) {
    if (!Coordinates({x, y})) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        w.Text(int(x), int(y), text);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::SetFont(uint32_t window, uint32_t font, uint32_t foreground, uint32_t background) {
    if (!OsdFont(font)) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        const auto entries = uint32_t(w.Entries());
        if (foreground >= entries || background >= entries) return OsdStatus::BadRequest;
        w.font = font;
        w.foreground = uint8_t(foreground);
        w.background = uint8_t(background);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::SetColor(uint32_t window, uint32_t palType, uint32_t index, uint32_t cb,
                         uint32_t yCr) {
    if (palType > 3 || index >= (1u << kDepthBits[palType]) || cb > 0xFF || yCr > 0xFFFF)
        return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        if (index >= uint32_t(w.Entries())) return OsdStatus::BadRequest;
        OsdColour& c = w.palette[index];
        c.cb = uint8_t(cb);
        c.y = uint8_t(yCr >> 8);
        c.cr = uint8_t(yCr & 0xFF);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::SetBlend(uint32_t window, uint32_t palType, uint32_t index, uint32_t blend) {
    if (palType > 3 || index >= (1u << kDepthBits[palType]) || blend > 15)
        return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        if (index >= uint32_t(w.Entries())) return OsdStatus::BadRequest;
        w.palette[index].blend = uint8_t(blend);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::SetWindowBlend(uint32_t window, uint32_t blend) {
    if (blend > 15) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        w.blending = COsdWindow::Blending::Window;
        w.windowBlend = uint8_t(blend);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::SetColorBlend(uint32_t window) {
    return WithWindow(window, [](COsdWindow& w) {
        w.blending = COsdWindow::Blending::PerColour;
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::ResetBlend(uint32_t window) {
    return WithWindow(window, [](COsdWindow& w) {
        w.blending = COsdWindow::Blending::Opaque;
        return OsdStatus::Ok;
    });
}

namespace {
// A palette colour from 8-bit RGB, converted as the library converts the
// palettes of bitmaps.
OsdColour FromRgb(int r8, int g8, int b8) {
    const double r = r8 / 255.0, g = g8 / 255.0, b = b8 / 255.0;
    const double y = 0.299 * r + 0.587 * g + 0.114 * b;
    return {uint8_t(y * 219 + 16.5), uint8_t((b - y) * 126 + 128.5), uint8_t((r - y) * 160 + 128.5),
            15};
}
}  // namespace

OsdStatus COsd::Test() {
    // 4-bit window 1: eight colour bars over a grey ramp, framed, with a title.
    static const OsdColour kBars[8] = {
        FromRgb(255, 255, 255), FromRgb(255, 255, 0), FromRgb(0, 255, 255), FromRgb(0, 255, 0),
        FromRgb(255, 0, 255),   FromRgb(255, 0, 0),   FromRgb(0, 0, 255),   FromRgb(0, 0, 0)};
    CreateWindow(1, 2, 640, 400);
    MoveAbs(1, 40, 88);
    return WithWindow(1, [](COsdWindow& w) {
        for (int i = 0; i < 8; ++i) {
            w.palette[i] = kBars[i];
            w.palette[8 + i] = FromRgb(i * 36, i * 36, i * 36);
            w.Fill(i * 80, 40, 80, 260, uint8_t(i));
            w.Fill(i * 80, 300, 80, 100, uint8_t(8 + i));
        }
        w.Fill(0, 0, 640, 40, 7);
        w.foreground = 0;
        w.background = 7;
        w.Text(8, 8, "OSD-Test 720 x 576, 16 Farben");
        for (const auto [x0, y0, x1, y1] : {std::array{0, 0, 639, 0}, std::array{639, 0, 639, 399},
                                            std::array{639, 399, 0, 399}, std::array{0, 399, 0, 0}})
            w.Line(x0, y0, x1, y1, 0);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::LoadBitmap(uint32_t kind, uint32_t width, uint32_t height) {
    std::lock_guard lock(mutex_);
    return bitmap_.Announce(kind, width, height) ? OsdStatus::Ok : OsdStatus::BadRequest;
}

OsdStatus COsd::BlitBitmap(uint32_t window, uint32_t x, uint32_t y, uint32_t transparent) {
    if (!Coordinates({x, y})) return OsdStatus::BadRequest;
    return WithWindow(window, [&](COsdWindow& w) {
        const OsdBitmap* b = bitmap_.Complete();
        if (!b || b->bits > w.Bits()) return OsdStatus::Failed;
        w.Blit(int(x), int(y), *b, transparent != 0);
        return OsdStatus::Ok;
    });
}

OsdStatus COsd::ReleaseBitmap() {
    std::lock_guard lock(mutex_);
    bitmap_.Release();
    return OsdStatus::Ok;
}

void COsd::BitmapDatagram(std::span<const uint8_t> datagram) {
    std::lock_guard lock(mutex_);
    bitmap_.Datagram(datagram);
}

bool COsd::BitmapComplete() const {
    std::lock_guard lock(mutex_);
    return bitmap_.Complete() != nullptr;
}

void COsd::Compose(uint32_t* pixels, size_t stride) const {
    std::lock_guard lock(mutex_);
    for (const uint32_t window : order_)
        if (windows_[window]->shown) windows_[window]->Compose(pixels, stride);
}

}  // namespace nvdvbsrv
