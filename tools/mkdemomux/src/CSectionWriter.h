// Builds one PSI/SI section (ISO/IEC 13818-1, 2.4.4.10; ETSI EN 300 468) on the
// bit writer of mpegts: the header, the fields of the table, 12-bit length
// fields filled in once their bytes are written, section_length and the
// CRC-32/MPEG-2. A write past the maximum size sets a sticky error flag.
#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

#include "mpegts/BitWriter.h"

namespace demomux {

// A 40-bit UTC time (MJD and BCD time of day) on a bit writer.
void WriteUtc(mpegts::BitWriter& w, std::time_t utc);

class CSectionWriter {
  public:
    static constexpr size_t kMaxSection = 1024;  // PSI and the SI tables but the EIT

    // Starts a long-form section: table id, extension, version, numbers; at most
    // maxSize bytes with the CRC (the EIT's sections may have 4096).
    CSectionWriter(uint8_t tableId, uint16_t extension, uint8_t version, uint8_t number,
                   uint8_t lastNumber, size_t maxSize = kMaxSection);
    // Starts a short-form section (no syntax header, no CRC), e.g. the TDT.
    explicit CSectionWriter(uint8_t tableId);

    void Bits(unsigned count, uint32_t v) { w_.Bits(count, v); }
    void U8(uint8_t v) { w_.U8(v); }
    void U16(uint16_t v) { w_.U16(v); }
    void U24(uint32_t v) { w_.U24(v); }
    void U32(uint32_t v) { w_.U32(v); }
    void Bcd(uint32_t value, unsigned digits) { w_.Bcd(value, digits); }
    void Bytes(const std::vector<uint8_t>& b) { w_.Bytes(b); }
    // A 40-bit UTC time (MJD and BCD time).
    void Utc(std::time_t utc);

    // Writes four flag bits (reserved bits: 0xF) and a 12-bit length to be
    // filled in; returns the byte position of the field.
    size_t BeginLength(uint8_t top4 = 0xF);
    // Writes the bytes after the field into the field begun at pos.
    void EndLength(size_t pos);

    size_t Size() const { return w_.Size(); }
    bool Ok() const { return w_.Ok(); }
    // The complete section; empty when a write did not fit.
    std::vector<uint8_t> Finish();

  private:
    bool longForm_;
    mpegts::BitWriter w_;
};

}  // namespace demomux
