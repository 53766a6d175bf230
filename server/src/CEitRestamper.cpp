#include "CEitRestamper.h"

#include <algorithm>
#include <vector>

#include "mpegts/BitReader.h"
#include "mpegts/BitWriter.h"
#include "mpegts/Crc32.h"
#include "mpegts/DvbTime.h"
#include "mpegts/SectionHeader.h"

namespace nvdvbsrv {
namespace {

constexpr uint8_t kFirstEit = 0x4E, kLastEit = 0x6F;
// Long header, transport_stream_id, original_network_id,
// segment_last_section_number, last_table_id.
constexpr size_t kHeaderSize = 14;
constexpr size_t kCrcSize = 4;
constexpr size_t kEventHeaderSize = 12;
constexpr size_t kStartAt = 2;  // start_time after event_id

struct StartTime {
    size_t at;  // byte offset in the section
    std::int64_t seconds;
};

// The defined start times of the event loop; false when an event's
// descriptor loop runs past the section or a start time is neither
// undefined nor a valid date and time.
bool StartTimes(std::span<const uint8_t> section, std::vector<StartTime>& out) {
    mpegts::BitReader r(section.subspan(kHeaderSize, section.size() - kHeaderSize - kCrcSize));
    while (r.BytesLeft() > 0) {
        if (r.BytesLeft() < kEventHeaderSize) return false;
        const size_t at = kHeaderSize + r.BitPosition() / 8;
        r.U16();  // event_id
        const uint64_t mjd = r.U16();
        const uint64_t utc = mjd << 24 | r.U24();
        r.U24();    // duration
        r.Bits(4);  // running_status, free_CA_mode
        const size_t loopLength = r.Bits(12);
        if (loopLength > r.BytesLeft()) return false;
        r.SkipBytes(loopLength);
        if (utc != mpegts::kUndefinedUtc) {
            const auto seconds = mpegts::UtcToUnix(utc);
            if (!seconds) return false;
            out.push_back({at + kStartAt, *seconds});
        }
    }
    return r.Ok();
}

}  // namespace

std::int64_t CEitRestamper::Offset(std::time_t streamTime, std::time_t now) {
    const std::int64_t d = std::int64_t(now) - std::int64_t(streamTime);
    const std::int64_t steps = d >= 0 ? (d + kStep / 2) / kStep : -((kStep / 2 - d) / kStep);
    return steps * kStep;
}

bool CEitRestamper::Shift(std::span<uint8_t> s, std::int64_t seconds) {
    const auto header = mpegts::SectionHeader::Parse(s);
    if (!header || !header->syntaxIndicator || header->TotalSize() != s.size()) return false;
    if (header->tableId < kFirstEit || header->tableId > kLastEit) return false;
    if (s.size() < kHeaderSize + kCrcSize || !mpegts::SectionCrcValid(s)) return false;
    std::vector<StartTime> starts;
    if (!StartTimes(s, starts)) return false;
    if (seconds == 0 || starts.empty()) return true;

    mpegts::BitWriter w(s.size());
    w.Bytes(s);
    for (const StartTime& start : starts) {
        const uint64_t shifted = mpegts::UnixToUtc(start.seconds + seconds);
        w.Patch(start.at * 8, 16, uint32_t(shifted >> 24));
        w.Patch(start.at * 8 + 16, 24, uint32_t(shifted & 0xFFFFFF));
    }
    const size_t crcAt = s.size() - kCrcSize;
    w.Patch(crcAt * 8, 32, mpegts::Crc32Mpeg2(w.Data().first(crcAt)));
    if (!w.Ok()) return false;
    const auto out = w.Data();
    std::copy(out.begin(), out.end(), s.begin());
    return true;
}

}  // namespace nvdvbsrv
