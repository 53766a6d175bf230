#include "CTeletextWriter.h"

namespace demomux {
namespace {

constexpr size_t kUnit = 46;           // id, length, 44 bytes
constexpr size_t kPesHeader = 9 + 36;  // header with the stuffing DVB asks for

// One data unit: magazine/row address and 40 bytes as transmitted.
void AddUnit(std::vector<uint8_t>& out, int magazine, int row, const uint8_t* data40) {
    const int m = magazine & 7;
    out.push_back(0x02);  // EBU teletext non-subtitle data
    out.push_back(0x2C);
    out.push_back(0xE0 | 0x07);  // field parity, line offset 7 (as transmitted)
    out.push_back(0xE4);         // framing code
    out.push_back(CTeletextWriter::Reverse(CTeletextWriter::Hamming84(m | (row & 1) << 3)));
    out.push_back(CTeletextWriter::Reverse(CTeletextWriter::Hamming84(row >> 1)));
    for (int i = 0; i < 40; ++i) out.push_back(CTeletextWriter::Reverse(data40[i]));
}

}  // namespace

uint8_t CTeletextWriter::Reverse(uint8_t b) {
    b = uint8_t((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = uint8_t((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return uint8_t((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

uint8_t CTeletextWriter::Hamming84(int d) {
    const int d1 = d & 1, d2 = d >> 1 & 1, d3 = d >> 2 & 1, d4 = d >> 3 & 1;
    const int p1 = 1 ^ d1 ^ d3 ^ d4, p2 = 1 ^ d1 ^ d2 ^ d4, p3 = 1 ^ d1 ^ d2 ^ d3;
    const int b = p1 | d1 << 1 | p2 << 2 | d2 << 3 | p3 << 4 | d3 << 5 | d4 << 7;
    const int p4 = 1 ^ __builtin_parity(unsigned(b));
    return uint8_t(b | p4 << 6);
}

uint8_t CTeletextWriter::OddParity(char c) {
    const uint8_t v = uint8_t(c) & 0x7F;
    return uint8_t(v | (__builtin_parity(v) ? 0 : 0x80));
}

std::vector<uint8_t> CTeletextWriter::PagePes(int page, const std::string& header,
                                              const std::vector<std::string>& rows) {
    const int magazine = page / 100 % 8;
    std::vector<uint8_t> out = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x00, 0x84, 0x00, 0x24};
    out.resize(kPesHeader, 0xFF);
    out.push_back(0x10);  // data identifier: EBU data
    // Header: page units and tens, subcode 0, no control bits (parallel mode).
    uint8_t data[40];
    const int h[8] = {page % 10, page / 10 % 10, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) data[i] = Hamming84(h[i]);
    for (int i = 8; i < 40; ++i) {
        const size_t k = size_t(i - 8);
        data[i] = OddParity(k < header.size() ? header[k] : ' ');
    }
    AddUnit(out, magazine, 0, data);
    for (size_t r = 0; r < rows.size() && r < 23; ++r) {
        for (size_t i = 0; i < 40; ++i) data[i] = OddParity(i < rows[r].size() ? rows[r][i] : ' ');
        AddUnit(out, magazine, int(r) + 1, data);
    }
    // Stuffing units until the packet fills whole transport packets.
    while (out.size() % 184 != 0) {
        out.push_back(0xFF);
        out.push_back(0x2C);
        out.insert(out.end(), 44, 0xFF);
    }
    const size_t length = out.size() - 6;
    out[4] = uint8_t(length >> 8);
    out[5] = uint8_t(length);
    static_assert((kPesHeader + 1) % kUnit == 0);
    return out;
}

}  // namespace demomux
