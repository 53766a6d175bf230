#include "CBitmapAssembler.h"

#include "kestrel/protocol/OsdBitmap.h"

namespace nvdvbsrv {

namespace osd = kestrel::protocol::osd;

uint8_t OsdBitmap::Index(uint32_t x, uint32_t y) const {
    const size_t bit = size_t(x) * bits;
    const uint8_t byte = image[y * osd::RowBytes(bits, width) + bit / 8];
    const int shift = 8 - bits - int(bit % 8);
    return uint8_t((byte >> shift) & ((1 << bits) - 1));
}

bool CBitmapAssembler::Announce(uint32_t kind, uint32_t width, uint32_t height) {
    Release();
    if (!osd::BitmapFits(kind, width, height)) return false;
    bitmap_.bits = osd::BitsOfKind(kind);
    bitmap_.width = width;
    bitmap_.height = height;
    state_ = State::Palette;
    return true;
}

void CBitmapAssembler::Datagram(std::span<const uint8_t> datagram) {
    const auto data = osd::BitmapDatagramData(datagram);
    const size_t expected = state_ == State::Palette
                                ? osd::PaletteBytes(bitmap_.bits)
                                : osd::PackedBytes(bitmap_.bits, bitmap_.width, bitmap_.height);
    const bool wanted = state_ == State::Palette || state_ == State::Image;
    // The palette comes whole; image parts must not run past the image.
    if (!wanted || !data || data->empty() ||
        (state_ == State::Palette && data->size() != expected) ||
        (state_ == State::Image &&
         (data->size() > osd::kMaxPart || data->size() > expected - bitmap_.image.size()))) {
        ++rejected_;
        if (wanted) Release();
        return;
    }
    if (state_ == State::Palette) {
        bitmap_.palette.assign(data->begin(), data->end());
        state_ = State::Image;
        return;
    }
    bitmap_.image.insert(bitmap_.image.end(), data->begin(), data->end());
    if (bitmap_.image.size() == expected) state_ = State::Complete;
}

void CBitmapAssembler::Release() {
    state_ = State::Idle;
    bitmap_ = OsdBitmap{};
}

}  // namespace nvdvbsrv
