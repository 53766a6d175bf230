#include "CTimeStamper.h"

#include "mpegts/BitReader.h"
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

// A TDT of its exact size or a TOT with room for its fields and CRC.
bool IsTimeTable(std::span<const uint8_t> s, bool& tot) {
    if (s.size() < kTdtSize) return false;
    const auto header = mpegts::SectionHeader::Parse(s);
    if (!header || header->TotalSize() != s.size()) return false;
    tot = header->tableId == kTot && s.size() >= kMinTotSize;
    return tot || (header->tableId == kTdt && s.size() == kTdtSize);
}

}  // namespace

std::optional<std::time_t> CTimeStamper::Read(std::span<const uint8_t> s) {
    bool tot = false;
    if (!IsTimeTable(s, tot)) return std::nullopt;
    mpegts::BitReader r(s.subspan(kUtcAt, 5));
    const uint64_t mjd = r.U16();
    const auto seconds = mpegts::UtcToUnix(mjd << 24 | r.U24());
    if (!seconds) return std::nullopt;
    return std::time_t(*seconds);
}

bool CTimeStamper::Stamp(std::span<uint8_t> s, std::time_t utc) {
    bool tot = false;
    if (!IsTimeTable(s, tot)) return false;
    PutBigEndian(s.subspan(kUtcAt, 5), mpegts::UnixToUtc(int64_t(utc)));
    if (tot) {
        const auto body = s.first(s.size() - kCrcSize);
        PutBigEndian(s.last(kCrcSize), mpegts::Crc32Mpeg2(body));
    }
    return true;
}

}  // namespace nvdvbsrv
