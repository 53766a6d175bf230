#include "MpegAudioHeader.h"

namespace nvdvbsrv {
namespace {

// kbit/s by bit-rate index 1-14: MPEG-1 layers I, II, III; MPEG-2 layer I;
// MPEG-2 layers II and III.
constexpr uint16_t kRates[5][14] = {
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr uint32_t kMpeg1Rates[3] = {44100, 48000, 32000};

}  // namespace

std::optional<MpegAudioHeader> MpegAudioHeader::Parse(std::span<const uint8_t> b) {
    if (b.size() < kSize || b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return std::nullopt;
    const unsigned version = b[1] >> 3 & 3;  // 0 MPEG-2.5, 1 reserved, 2 MPEG-2, 3 MPEG-1
    const unsigned layerBits = b[1] >> 1 & 3;
    const unsigned rateIndex = b[2] >> 4;
    const unsigned srIndex = b[2] >> 2 & 3;
    if (version == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || srIndex == 3)
        return std::nullopt;
    const unsigned layer = 4 - layerBits;  // 1-3
    const bool mpeg1 = version == 3;
    const unsigned table = mpeg1 ? layer - 1 : (layer == 1 ? 3 : 4);
    const uint32_t kbit = kRates[table][rateIndex - 1];
    MpegAudioHeader h;
    h.sampleRate = kMpeg1Rates[srIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const uint32_t padding = b[2] >> 1 & 1;
    if (layer == 1) {
        h.samples = 384;
        h.frameBytes = (12000 * kbit / h.sampleRate + padding) * 4;
    } else {
        h.samples = (layer == 3 && !mpeg1) ? 576 : 1152;
        h.frameBytes = h.samples / 8 * 1000 * kbit / h.sampleRate + padding;
    }
    return h;
}

}  // namespace nvdvbsrv
