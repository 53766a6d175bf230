#include "CSectionWriter.h"

namespace demomux {

uint32_t CSectionWriter::Crc32(const uint8_t* data, size_t n) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        crc ^= uint32_t(data[i]) << 24;
        for (int b = 0; b < 8; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

CSectionWriter::CSectionWriter(uint8_t tableId, uint16_t extension, uint8_t version, uint8_t number,
                               uint8_t lastNumber)
    : longForm_(true) {
    bytes_ = {tableId,
              0xB0,
              0x00,
              uint8_t(extension >> 8),
              uint8_t(extension),
              uint8_t(0xC1 | (version & 0x1F) << 1),
              number,
              lastNumber};
}

CSectionWriter::CSectionWriter(uint8_t tableId) : longForm_(false) {
    bytes_ = {tableId, 0x70, 0x00};
}

bool CSectionWriter::Room(size_t n) {
    // Four bytes stay free for the CRC.
    if (!ok_ || bytes_.size() + n + (longForm_ ? 4 : 0) > kMaxSection) ok_ = false;
    return ok_;
}

void CSectionWriter::U8(uint8_t v) {
    if (Room(1)) bytes_.push_back(v);
}
void CSectionWriter::U16(uint16_t v) {
    if (Room(2)) bytes_.insert(bytes_.end(), {uint8_t(v >> 8), uint8_t(v)});
}
void CSectionWriter::U24(uint32_t v) {
    if (Room(3)) bytes_.insert(bytes_.end(), {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}
void CSectionWriter::U32(uint32_t v) {
    if (Room(4)) {
        bytes_.insert(bytes_.end(),
                      {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    }
}
void CSectionWriter::Bytes(const std::vector<uint8_t>& b) {
    if (Room(b.size())) bytes_.insert(bytes_.end(), b.begin(), b.end());
}
void CSectionWriter::Text(std::string_view latin1) {
    if (Room(latin1.size())) bytes_.insert(bytes_.end(), latin1.begin(), latin1.end());
}

size_t CSectionWriter::BeginLength() {
    size_t pos = bytes_.size();
    U16(0xF000);
    return pos;
}

void CSectionWriter::EndLength(size_t pos) {
    if (!ok_ || pos + 2 > bytes_.size()) return;
    const size_t n = bytes_.size() - pos - 2;
    if (n > 0x0FFF) {
        ok_ = false;
        return;
    }
    bytes_[pos] = uint8_t((bytes_[pos] & 0xF0) | n >> 8);
    bytes_[pos + 1] = uint8_t(n);
}

std::vector<uint8_t> CSectionWriter::Finish() {
    if (!ok_) return {};
    const size_t length = bytes_.size() - 3 + (longForm_ ? 4 : 0);
    bytes_[1] = uint8_t((bytes_[1] & 0xF0) | length >> 8);
    bytes_[2] = uint8_t(length);
    std::vector<uint8_t> out = bytes_;
    if (longForm_) {
        const uint32_t crc = Crc32(out.data(), out.size());
        out.insert(out.end(),
                   {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
    }
    return out;
}

}  // namespace demomux
