// Arbitrary bytes as a run of sections into one schedule list: each chunk
// (a 2-byte length, then the section) is parsed as it is and sealed, and
// taken with a clock that moves by the chunk's first byte. Every record's
// start is its own, the list never holds more records than events were
// taken, and it is cleared when it passes a bound (memory).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

#include "FuzzSections.h"
#include "guide/CScheduleList.h"

namespace {

constexpr std::size_t kMaxRecords = 20000;

struct Run {
    CScheduleList list;
    std::size_t taken = 0;
    std::int64_t nowMs = 0;

    void Take(std::span<const std::uint8_t> bytes, int offset) {
        const auto section = ParseEitSection(bytes);
        if (!section) return;
        fuzzguide::CheckTexts(*section);
        for (const EitEvent& e : section->events) taken += e.hasShortEvent ? 1 : 0;
        list.Apply(*section, offset, nowMs);
        Check();
        if (list.Records().size() > kMaxRecords) {
            list.Clear();
            taken = 0;
        }
    }

    void Check() const {
        if (list.Records().size() > taken) std::abort();
        std::set<std::pair<std::int32_t, double>> starts;
        for (const auto& r : list.Records()) {
            if (!r || !starts.emplace(r->Start.status, r->Start.days).second) std::abort();
            if (!r->Program.Streams.empty()) std::abort();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    Run run;
    CProgramInfo program;
    program.ServiceId = std::uint16_t(data[0] << 8 | data[1]);
    program.Streams.resize(2);
    run.list.Start(program);
    const int offset = int(std::int8_t(data[2])) % 24;
    for (std::size_t at = 3; at + 2 <= size;) {
        const std::size_t n =
            std::min<std::size_t>(std::size_t(data[at] << 8 | data[at + 1]) % 4100, size - at - 2);
        const std::span<const std::uint8_t> chunk(data + at + 2, n);
        run.nowMs += n > 0 ? chunk[0] * 50 : 1;
        run.Take(chunk, offset);
        fuzzguide::Bytes own(chunk.begin(), chunk.end());
        if (own.size() >= 5) own[3] = data[0], own[4] = data[1];  // the program's service
        run.Take(fuzzguide::Sealed(own), offset);
        at += 2 + n;
    }
    return 0;
}
