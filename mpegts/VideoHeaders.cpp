#include "VideoHeaders.h"

#include <algorithm>
#include <array>

#include "BitReader.h"

namespace mpegts {
namespace {

// Sample aspect ratios of aspect_ratio_idc 1-16 (H.264 table E-1).
constexpr std::array<std::array<std::uint16_t, 2>, 16> kSampleAspect = {{{1, 1},
                                                                         {12, 11},
                                                                         {10, 11},
                                                                         {16, 11},
                                                                         {40, 33},
                                                                         {24, 11},
                                                                         {20, 11},
                                                                         {32, 11},
                                                                         {80, 33},
                                                                         {18, 11},
                                                                         {15, 11},
                                                                         {64, 33},
                                                                         {160, 99},
                                                                         {4, 3},
                                                                         {3, 2},
                                                                         {2, 1}}};
constexpr std::uint8_t kExtendedSar = 255;

constexpr std::uint8_t kProfiles[] = {66, 77, 88,  100, 110, 122, 244, 44,
                                      83, 86, 118, 128, 138, 139, 134, 135};
// The profiles whose parameter set carries chroma format, bit depths and scaling lists.
constexpr std::uint8_t kHighProfiles[] = {100, 110, 122, 244, 44,  83, 86,
                                          118, 128, 138, 139, 134, 135};
constexpr std::uint8_t kLevels[] = {9,  10, 11, 12, 13, 20, 21, 22, 30, 31,
                                    32, 40, 41, 42, 50, 51, 52, 60, 61, 62};

// Pictures wider or higher than this many macroblocks (16 384 pixels) are refused.
constexpr std::uint32_t kMaxMacroblocks = 1024;

template <std::size_t N>
bool OneOf(std::uint8_t v, const std::uint8_t (&set)[N]) {
    return std::find(std::begin(set), std::end(set), v) != std::end(set);
}

// scaling_list(): only read past; false for a delta outside -128..127.
bool SkipScalingList(BitReader& r, int size) {
    int last = 8, next = 8;
    for (int j = 0; j < size && r.Ok(); ++j) {
        if (next != 0) {
            const std::int32_t delta = r.SignedExpGolomb();
            if (delta < -128 || delta > 127) return false;
            next = (last + delta + 256) % 256;
        }
        if (next != 0) last = next;
    }
    return r.Ok();
}

// The VUI up to its timing information; what follows (HRD, restrictions) is not needed.
void ReadVui(BitReader& r, AvcSequenceParameterSet& sps) {
    if (r.Flag()) {  // aspect_ratio_info_present_flag
        const std::uint8_t idc = r.U8();
        std::uint16_t w = 0, h = 0;
        if (idc == kExtendedSar) {
            w = r.U16();
            h = r.U16();
        } else if (idc >= 1 && idc <= kSampleAspect.size()) {
            w = kSampleAspect[idc - 1][0];
            h = kSampleAspect[idc - 1][1];
        }
        if (w != 0 && h != 0) {
            sps.sarWidth = w;
            sps.sarHeight = h;
        }
    }
    if (r.Flag()) r.Skip(1);       // overscan_info_present_flag, overscan_appropriate_flag
    if (r.Flag()) {                // video_signal_type_present_flag
        r.Skip(4);                 // video_format, video_full_range_flag
        if (r.Flag()) r.Skip(24);  // colour primaries, transfer, matrix
    }
    if (r.Flag()) {  // chroma_loc_info_present_flag
        r.ExpGolomb();
        r.ExpGolomb();
    }
    if (r.Flag()) {  // timing_info_present_flag
        const std::uint32_t units = r.U32();
        const std::uint32_t scale = r.U32();
        if (units != 0 && scale != 0) {
            sps.numUnitsInTick = units;
            sps.timeScale = scale;
        }
    }
}

}  // namespace

std::optional<std::size_t> FindStartCode(std::span<const std::uint8_t> es, std::size_t from) {
    for (std::size_t i = from; i + 3 <= es.size(); ++i) {
        if (es[i + 2] > 1) {
            i += 2;  // no prefix can end on this byte or the two before it
            continue;
        }
        if (es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1) return i + 3;
    }
    return std::nullopt;
}

std::optional<Mpeg2SequenceHeader> Mpeg2SequenceHeader::Parse(
    std::span<const std::uint8_t> fields) {
    BitReader r(fields);
    Mpeg2SequenceHeader h;
    h.width = static_cast<std::uint16_t>(r.Bits(12));
    h.height = static_cast<std::uint16_t>(r.Bits(12));
    h.aspectRatio = static_cast<std::uint8_t>(r.Bits(4));
    h.frameRateCode = static_cast<std::uint8_t>(r.Bits(4));
    h.bitRateValue = r.Bits(18);
    if (!r.Ok()) return std::nullopt;
    return h;
}

std::vector<std::uint8_t> AvcRbsp(std::span<const std::uint8_t> nal) {
    std::vector<std::uint8_t> out;
    out.reserve(nal.size());
    int zeros = 0;
    for (const std::uint8_t b : nal) {
        if (zeros >= 2 && b == 0x03) {
            zeros = 0;
            continue;
        }
        zeros = b == 0 ? zeros + 1 : 0;
        out.push_back(b);
    }
    return out;
}

std::optional<AvcSequenceParameterSet> AvcSequenceParameterSet::Parse(
    std::span<const std::uint8_t> nal) {
    if (nal.empty() || (nal[0] & 0x80) != 0 || (nal[0] & 0x1F) != kNalType) return std::nullopt;
    const std::vector<std::uint8_t> rbsp = AvcRbsp(nal.subspan(1));
    BitReader r(rbsp);
    AvcSequenceParameterSet sps;
    sps.profileIdc = r.U8();
    r.Skip(8);  // constraint_set flags, reserved_zero_2bits
    sps.levelIdc = r.U8();
    if (!r.Ok() || !OneOf(sps.profileIdc, kProfiles) || !OneOf(sps.levelIdc, kLevels))
        return std::nullopt;
    if (r.ExpGolomb() > 31) return std::nullopt;  // seq_parameter_set_id
    bool separateColourPlanes = false;
    if (OneOf(sps.profileIdc, kHighProfiles)) {
        const std::uint32_t chroma = r.ExpGolomb();
        if (chroma > 3) return std::nullopt;
        sps.chromaFormatIdc = static_cast<std::uint8_t>(chroma);
        if (chroma == 3) separateColourPlanes = r.Flag();
        if (r.ExpGolomb() > 6 || r.ExpGolomb() > 6) return std::nullopt;  // bit depths
        r.Skip(1);       // qpprime_y_zero_transform_bypass_flag
        if (r.Flag()) {  // seq_scaling_matrix_present_flag
            const int lists = chroma != 3 ? 8 : 12;
            for (int i = 0; i < lists; ++i) {
                if (r.Flag() && !SkipScalingList(r, i < 6 ? 16 : 64)) return std::nullopt;
            }
        }
    }
    if (r.ExpGolomb() > 12) return std::nullopt;  // log2_max_frame_num_minus4
    const std::uint32_t pocType = r.ExpGolomb();
    if (pocType == 0) {
        if (r.ExpGolomb() > 12) return std::nullopt;  // log2_max_pic_order_cnt_lsb_minus4
    } else if (pocType == 1) {
        r.Skip(1);  // delta_pic_order_always_zero_flag
        r.SignedExpGolomb();
        r.SignedExpGolomb();
        const std::uint32_t cycle = r.ExpGolomb();
        if (cycle > 255) return std::nullopt;
        for (std::uint32_t i = 0; i < cycle && r.Ok(); ++i) r.SignedExpGolomb();
    } else if (pocType != 2) {
        return std::nullopt;
    }
    r.ExpGolomb();  // max_num_ref_frames
    r.Skip(1);      // gaps_in_frame_num_value_allowed_flag
    const std::uint32_t widthMbs = r.ExpGolomb() + 1;
    const std::uint32_t heightMapUnits = r.ExpGolomb() + 1;
    sps.frameMbsOnly = r.Flag();
    if (!sps.frameMbsOnly) r.Skip(1);  // mb_adaptive_frame_field_flag
    r.Skip(1);                         // direct_8x8_inference_flag
    if (!r.Ok() || widthMbs > kMaxMacroblocks || heightMapUnits > kMaxMacroblocks)
        return std::nullopt;
    const std::uint32_t codedWidth = widthMbs * 16;
    const std::uint32_t codedHeight = heightMapUnits * 16 * (sps.frameMbsOnly ? 1 : 2);
    std::uint64_t cropX = 0, cropY = 0;
    if (r.Flag()) {  // frame_cropping_flag
        const std::uint64_t left = r.ExpGolomb(), right = r.ExpGolomb();
        const std::uint64_t top = r.ExpGolomb(), bottom = r.ExpGolomb();
        // Cropping counts in chroma samples, and in frame lines of both fields.
        const int chromaArrayType = separateColourPlanes ? 0 : sps.chromaFormatIdc;
        const std::uint64_t unitX = chromaArrayType == 1 || chromaArrayType == 2 ? 2 : 1;
        const std::uint64_t unitY = (chromaArrayType == 1 ? 2 : 1) * (sps.frameMbsOnly ? 1 : 2);
        cropX = (left + right) * unitX;
        cropY = (top + bottom) * unitY;
    }
    if (!r.Ok() || cropX >= codedWidth || cropY >= codedHeight) return std::nullopt;
    sps.width = codedWidth - static_cast<std::uint32_t>(cropX);
    sps.height = codedHeight - static_cast<std::uint32_t>(cropY);
    if (r.Flag()) ReadVui(r, sps);  // vui_parameters_present_flag
    if (!r.Ok()) return std::nullopt;
    return sps;
}

}  // namespace mpegts
