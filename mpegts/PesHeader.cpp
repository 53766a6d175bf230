#include "PesHeader.h"

#include "BitReader.h"

namespace mpegts {
namespace {

constexpr std::size_t kTimestampSize = 5;

// '001x' prefix, 3 + 15 + 15 bits with a marker bit after each part.
std::uint64_t Timestamp(BitReader& r) {
    r.Skip(4);
    std::uint64_t t = std::uint64_t(r.Bits(3)) << 30;
    r.Skip(1);
    t |= std::uint64_t(r.Bits(15)) << 15;
    r.Skip(1);
    t |= r.Bits(15);
    r.Skip(1);
    return t;
}

}  // namespace

bool PesHeader::StreamHasOptionalHeader(std::uint8_t id) {
    switch (id) {
        case 0xBC:  // program_stream_map
        case 0xBE:  // padding_stream
        case 0xBF:  // private_stream_2
        case 0xF0:  // ECM
        case 0xF1:  // EMM
        case 0xF2:  // DSMCC_stream
        case 0xF8:  // ITU-T H.222.1 type E
        case 0xFF:  // program_stream_directory
            return false;
        default:
            return true;
    }
}

std::optional<PesHeader> PesHeader::Parse(std::span<const std::uint8_t> pes) {
    BitReader r(pes);
    if (r.U24() != 0x000001 || !r.Ok()) return std::nullopt;
    PesHeader h;
    h.streamId = r.U8();
    h.packetLength = r.U16();
    if (!r.Ok()) return std::nullopt;
    h.hasOptionalHeader = StreamHasOptionalHeader(h.streamId);
    h.payloadOffset = kFixedSize;
    if (h.hasOptionalHeader) {
        r.Skip(2);  // '10'
        h.scrambling = static_cast<std::uint8_t>(r.Bits(2));
        r.Skip(1);  // priority
        h.dataAlignment = r.Flag();
        r.Skip(2);  // copyright, original
        const std::uint32_t ptsDts = r.Bits(2);
        r.Skip(6);  // ESCR, ES rate, trick mode, copy info, CRC, extension
        h.headerDataLength = r.U8();
        if (!r.Ok()) return std::nullopt;
        const std::size_t need = ptsDts == 3   ? 2 * kTimestampSize
                                 : ptsDts == 2 ? kTimestampSize
                                               : 0;
        if (h.headerDataLength < need || h.headerDataLength > r.BytesLeft()) return std::nullopt;
        BitReader data(r.Bytes(h.headerDataLength));
        if (ptsDts & 2) h.pts = Timestamp(data);
        if (ptsDts == 3) h.dts = Timestamp(data);
        h.payloadOffset = kFixedSize + kOptionalSize + h.headerDataLength;
    }
    std::size_t end = pes.size();
    if (h.packetLength != 0 && kFixedSize + h.packetLength < end) end = kFixedSize + h.packetLength;
    if (h.payloadOffset <= end) h.payload = pes.subspan(h.payloadOffset, end - h.payloadOffset);
    return h;
}

}  // namespace mpegts
