// Bitmap datagrams are outside bytes: any announcement, any datagrams, then a
// blit; the assembly must never read or write past its buffers.
#include <cstdint>
#include <vector>

#include "COsd.h"
#include "kestrel/protocol/OsdBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    nvdvbsrv::COsd osd;
    // A small window keeps the runs fast; bitmaps larger than it and blits
    // beyond its edges try the clipping.
    osd.CreateWindow(1, data[0] & 3, 96, 72);
    osd.MoveAbs(1, uint32_t(data[4]) * 3, uint32_t(data[4]) * 2);
    // Kind, width and height from the first bytes; then datagrams, each led by
    // one byte: the top bit frames the data with a right length, the rest
    // counts it in steps of 33 bytes.
    osd.LoadBitmap(data[0] >> 6, uint32_t(data[1]) * 4 + (data[2] & 3), uint32_t(data[3]) * 3);
    size_t at = 4;
    while (at < size) {
        const size_t n = std::min<size_t>(size - at - 1, size_t(data[at] & 0x7F) * 33);
        const std::span<const uint8_t> part(data + at + 1, n);
        if (data[at] & 0x80)
            osd.BitmapDatagram(kestrel::protocol::osd::BitmapDatagram(part));
        else
            osd.BitmapDatagram(part);
        at += n + 1;
    }
    osd.BlitBitmap(1, data[1], data[2], data[3] & 1);
    std::vector<uint32_t> frame(720 * 576);
    osd.Compose(frame.data(), 720 * 4);
    return 0;
}
