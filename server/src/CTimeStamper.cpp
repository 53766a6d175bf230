#include "CTimeStamper.h"

#include "mpegts/Crc32.h"
#include "mpegts/DvbTime.h"
#include "mpegts/SectionHeader.h"

namespace nvdvbsrv {
namespace {

constexpr uint8_t kTdt = 0x70, kTot = 0x73;
constexpr size_t kTdtSize = 8, kMinTotSize = 14;
constexpr size_t kUtcAt = 3, kCrcSize = 4;

// Fills data with value, big-endian.
void PutBigEndian(std::span<uint8_t> data, uint64_t value) {
    for (size_t k = 0; k < data.size(); ++k)
        data[k] = uint8_t(value >> (8 * (data.size() - 1 - k)));
}

}  // namespace

bool CTimeStamper::Stamp(std::span<uint8_t> s, std::time_t utc) {
    if (s.size() < kTdtSize) return false;
    const auto header = mpegts::SectionHeader::Parse(s);
    if (!header || header->TotalSize() != s.size()) return false;
    const bool tdt = header->tableId == kTdt && s.size() == kTdtSize;
    const bool tot = header->tableId == kTot && s.size() >= kMinTotSize;
    if (!tdt && !tot) return false;
    PutBigEndian(s.subspan(kUtcAt, 5), mpegts::UnixToUtc(int64_t(utc)));
    if (tot) {
        const auto body = s.first(s.size() - kCrcSize);
        PutBigEndian(s.last(kCrcSize), mpegts::Crc32Mpeg2(body));
    }
    return true;
}

}  // namespace nvdvbsrv
