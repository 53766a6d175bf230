#include "CSectionWriter.h"

#include "mpegts/Crc32.h"
#include "mpegts/DvbTime.h"

namespace demomux {
namespace {

constexpr size_t kCrcSize = 4;
constexpr size_t kLengthBitAt = 12;  // section_length: the low 12 bits of bytes 1-2

}  // namespace

void WriteUtc(mpegts::BitWriter& w, std::time_t utc) {
    const uint64_t t = mpegts::UnixToUtc(int64_t(utc));
    w.U16(uint16_t(t >> 24));
    w.U24(uint32_t(t & 0xFFFFFF));
}

CSectionWriter::CSectionWriter(uint8_t tableId, uint16_t extension, uint8_t version, uint8_t number,
                               uint8_t lastNumber, size_t maxSize)
    : longForm_(true), w_(maxSize - kCrcSize) {  // the CRC always finds room
    w_.U8(tableId);
    w_.Flag(true);   // section_syntax_indicator
    w_.Flag(false);  // private_indicator
    w_.Reserved(2);
    w_.Bits(12, 0);  // section_length, filled in by Finish
    w_.U16(extension);
    w_.Reserved(2);
    w_.Bits(5, version);
    w_.Flag(true);  // current_next_indicator
    w_.U8(number);
    w_.U8(lastNumber);
}

CSectionWriter::CSectionWriter(uint8_t tableId) : longForm_(false), w_(kMaxSection) {
    w_.U8(tableId);
    w_.Flag(false);
    w_.Flag(true);
    w_.Reserved(2);
    w_.Bits(12, 0);
}

void CSectionWriter::Utc(std::time_t utc) { WriteUtc(w_, utc); }

size_t CSectionWriter::BeginLength(uint8_t top4) {
    const size_t pos = w_.Size();
    w_.Bits(4, top4);
    w_.Bits(12, 0);
    return pos;
}

void CSectionWriter::EndLength(size_t pos) {
    if (!w_.Ok() || pos + 2 > w_.Size()) return;
    // A length beyond 12 bits spoils the section (the writer's error flag).
    w_.Patch(pos * 8 + 4, 12, uint32_t(w_.Size() - pos - 2));
}

std::vector<uint8_t> CSectionWriter::Finish() {
    if (!w_.Ok()) return {};
    const size_t length = w_.Size() - 3 + (longForm_ ? kCrcSize : 0);
    w_.Patch(kLengthBitAt, 12, uint32_t(length));
    std::vector<uint8_t> out(w_.Data().begin(), w_.Data().end());
    if (longForm_) {
        const uint32_t crc = mpegts::Crc32Mpeg2(out);
        for (size_t k = 0; k < kCrcSize; ++k) out.push_back(uint8_t(crc >> (24 - 8 * k)));
    }
    return out;
}

}  // namespace demomux
