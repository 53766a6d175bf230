// The header of a PES packet (ISO/IEC 13818-1, 2.4.3.6): start code prefix,
// stream_id, PES_packet_length and, for the streams that have it, the optional
// header with its flags, PTS/DTS and PES_header_data_length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mpegts {

struct PesHeader {
    static constexpr std::size_t kFixedSize = 6;     // prefix, stream_id, length
    static constexpr std::size_t kOptionalSize = 3;  // flags and header data length

    std::uint8_t streamId = 0;
    std::uint16_t packetLength = 0;  // 0: unbounded (video in a transport stream)
    bool hasOptionalHeader = false;
    // From the optional header.
    std::uint8_t scrambling = 0;
    bool dataAlignment = false;
    std::uint8_t headerDataLength = 0;
    std::optional<std::uint64_t> pts;  // 90 kHz, 33 bits
    std::optional<std::uint64_t> dts;
    // Where the payload starts in the bytes parsed, and the payload: up to the
    // end of the packet as PES_packet_length announces it, or of the bytes
    // given when they end first.
    std::size_t payloadOffset = 0;
    std::span<const std::uint8_t> payload;

    // The streams without the optional header: program stream map, padding,
    // private stream 2, ECM, EMM, DSM-CC, H.222.1 type E, directory.
    static bool StreamHasOptionalHeader(std::uint8_t streamId);

    // Nothing without the prefix 00 00 01, when the header runs past the bytes,
    // or when PTS/DTS are flagged but do not fit in the header data.
    static std::optional<PesHeader> Parse(std::span<const std::uint8_t> pes);
};

}  // namespace mpegts
