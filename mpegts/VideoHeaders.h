// The headers of a video elementary stream that tell what a decoder will show:
// start codes (00 00 01), the MPEG-2 video sequence header (ISO/IEC 13818-2,
// 6.2.2.1) and the H.264 sequence parameter set with the parts of its video
// usability information that give the sample aspect ratio and the frame timing
// (ITU-T H.264, 7.3.2.1.1 and E.1.1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mpegts {

// Where the byte after the next start code prefix 00 00 01 at or after from
// lies; nothing when there is none.
std::optional<std::size_t> FindStartCode(std::span<const std::uint8_t> es, std::size_t from);

struct Mpeg2SequenceHeader {
    static constexpr std::uint8_t kStartCode = 0xB3;
    static constexpr std::uint32_t kVariableBitRate = 0x3FFFF;  // bit_rate_value of VBR streams

    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t aspectRatio = 0;    // aspect_ratio_information: 2 4:3, 3 16:9, ...
    std::uint8_t frameRateCode = 0;  // 3 25 Hz, 4 29.97 Hz, ...
    std::uint32_t bitRateValue = 0;  // units of 400 bit/s

    // The bytes after the start code 00 00 01 B3; nothing when they end before
    // the bit rate.
    static std::optional<Mpeg2SequenceHeader> Parse(std::span<const std::uint8_t> fields);
};

struct AvcSequenceParameterSet {
    static constexpr std::uint8_t kNalType = 7;

    std::uint8_t profileIdc = 0;
    std::uint8_t levelIdc = 0;
    std::uint8_t chromaFormatIdc = 1;  // 0 monochrome, 1 4:2:0, 2 4:2:2, 3 4:4:4
    bool frameMbsOnly = true;          // false: fields or frames of fields
    // The picture as shown: the coded macroblocks less the cropping window.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Sample aspect ratio from the VUI (from the table or extended); 0:0 when
    // the VUI does not give it or calls it unspecified.
    std::uint16_t sarWidth = 0;
    std::uint16_t sarHeight = 0;
    // VUI timing: a frame lasts 2 * numUnitsInTick / timeScale seconds; 0 when
    // not given.
    std::uint32_t numUnitsInTick = 0;
    std::uint32_t timeScale = 0;

    // A NAL unit of type 7 from its header byte on, as it stands in the stream
    // (with emulation prevention bytes). Nothing when it is not one, when it
    // ends early, or when a field lies outside what H.264 allows (profile,
    // identifiers, bit depths, a cropping window larger than the picture).
    static std::optional<AvcSequenceParameterSet> Parse(std::span<const std::uint8_t> nal);
};

// The payload of a NAL unit with the emulation prevention bytes taken out
// (every 03 after 00 00).
std::vector<std::uint8_t> AvcRbsp(std::span<const std::uint8_t> nal);

}  // namespace mpegts
