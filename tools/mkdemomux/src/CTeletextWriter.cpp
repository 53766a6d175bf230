#include "CTeletextWriter.h"

#include <array>

#include "mpegts/BitWriter.h"
#include "mpegts/Hamming.h"
#include "mpegts/PesHeader.h"
#include "mpegts/TsPacket.h"

namespace demomux {
namespace {

using mpegts::ReverseBits;

constexpr uint8_t kPrivateStream1 = 0xBD;
constexpr uint8_t kHeaderDataLength = 36;  // stuffing up to the 45 header bytes DVB asks for
constexpr size_t kUnitBytes = 44;
constexpr size_t kPayloadPerPacket = mpegts::TsPacket::kSize - mpegts::TsPacket::kHeaderSize;
constexpr size_t kLengthBitAt = 32;  // PES_packet_length after prefix and stream id
static_assert((mpegts::PesHeader::kFixedSize + mpegts::PesHeader::kOptionalSize +
               kHeaderDataLength + 1) %
                  (2 + kUnitBytes) ==
              0);

void WritePesHeader(mpegts::BitWriter& w) {
    w.U24(0x000001);
    w.U8(kPrivateStream1);
    w.U16(0);  // PES_packet_length, filled in at the end
    w.Bits(2, 0x2);
    w.Bits(2, 0);   // not scrambled
    w.Flag(false);  // priority
    w.Flag(true);   // data_alignment_indicator
    w.Bits(2, 0);   // copyright, original
    w.Bits(8, 0);   // no PTS/DTS nor other optional fields
    w.U8(kHeaderDataLength);
    w.Reserved(8 * kHeaderDataLength);
}

// One data unit: magazine/row address and 40 bytes as transmitted.
void AddUnit(mpegts::BitWriter& w, int magazine, int row, const std::array<uint8_t, 40>& data) {
    const int m = magazine & 7;
    w.U8(0x02);  // EBU teletext non-subtitle data
    w.U8(kUnitBytes);
    w.U8(0xE0 | 0x07);  // field parity, line offset 7 (as transmitted)
    w.U8(0xE4);         // framing code
    w.U8(ReverseBits(mpegts::Hamming84Encode(uint8_t(m | (row & 1) << 3))));
    w.U8(ReverseBits(mpegts::Hamming84Encode(uint8_t(row >> 1))));
    for (const uint8_t b : data) w.U8(ReverseBits(b));
}

uint8_t Char(const std::string& s, size_t i) {
    return mpegts::OddParity(uint8_t(i < s.size() ? s[i] : ' '));
}

}  // namespace

std::vector<uint8_t> CTeletextWriter::PagePes(int page, const std::string& header,
                                              const std::vector<std::string>& rows) {
    const int magazine = page / 100 % 8;
    mpegts::BitWriter w;
    WritePesHeader(w);
    w.U8(0x10);  // data identifier: EBU data
    // Header: page units and tens, subcode 0, no control bits (parallel mode).
    std::array<uint8_t, 40> data{};
    const int h[8] = {page % 10, page / 10 % 10, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < 8; ++i) data[i] = mpegts::Hamming84Encode(uint8_t(h[i]));
    for (size_t i = 8; i < 40; ++i) data[i] = Char(header, i - 8);
    AddUnit(w, magazine, 0, data);
    for (size_t r = 0; r < rows.size() && r < 23; ++r) {
        for (size_t i = 0; i < 40; ++i) data[i] = Char(rows[r], i);
        AddUnit(w, magazine, int(r) + 1, data);
    }
    // Stuffing units until the packet fills whole transport packets.
    while (w.Size() % kPayloadPerPacket != 0) {
        w.U8(0xFF);
        w.U8(kUnitBytes);
        w.Reserved(8 * kUnitBytes);
    }
    w.Patch(kLengthBitAt, 16, uint32_t(w.Size() - mpegts::PesHeader::kFixedSize));
    return std::vector<uint8_t>(w.Data().begin(), w.Data().end());
}

}  // namespace demomux
