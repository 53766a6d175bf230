// Builds one PSI/SI section (ISO/IEC 13818-1, 2.4.4.10; ETSI EN 300 468): a
// big-endian, bounds-checked writer that fills in section_length and appends
// the CRC-32/MPEG-2. A write past the maximum size sets a sticky error flag.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace demomux {

class CSectionWriter {
  public:
    static constexpr size_t kMaxSection = 1024;  // PSI and the SI tables used here

    // Starts a long-form section: table id, extension, version, numbers.
    CSectionWriter(uint8_t tableId, uint16_t extension, uint8_t version, uint8_t number,
                   uint8_t lastNumber);
    // Starts a short-form section (no syntax header, no CRC), e.g. the TDT.
    explicit CSectionWriter(uint8_t tableId);

    void U8(uint8_t v);
    void U16(uint16_t v);
    void U24(uint32_t v);
    void U32(uint32_t v);
    void Bytes(const std::vector<uint8_t>& b);
    void Text(std::string_view latin1);
    // Reserves a 12-bit length field (top 4 bits set) and returns its position.
    size_t BeginLength();
    // Writes the bytes after the field into the field reserved at pos.
    void EndLength(size_t pos);

    size_t Size() const { return bytes_.size(); }
    bool Ok() const { return ok_; }
    // The complete section; empty when a write did not fit.
    std::vector<uint8_t> Finish();

    static uint32_t Crc32(const uint8_t* data, size_t n);

  private:
    bool Room(size_t n);
    std::vector<uint8_t> bytes_;
    bool longForm_;
    bool ok_ = true;
};

}  // namespace demomux
