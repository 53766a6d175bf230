// Arbitrary datagrams, one after another, into one page cache; then every
// cached page stepped through and laid out for the screen. Each chunk of the
// input is a flag byte, then either raw bytes (a 2-byte length first) or the
// body of a 1960-byte page made plausible (control bytes below 9, a page
// number at 8-10, S1 and the national option from the input).
// The cached count must equal the valid records, no page may hold more than
// 64 records, stepping must stay on valid records, the layout's link map may
// hold digits only and a click may only give a page number 100-899.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "videotext/VtCells.h"
#include "videotext/VtPageCache.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Input {
    std::span<const std::uint8_t> rest;
    bool Empty() const { return rest.empty(); }
    std::uint8_t Byte() {
        if (rest.empty()) return 0;
        const std::uint8_t b = rest[0];
        rest = rest.subspan(1);
        return b;
    }
    std::span<const std::uint8_t> Take(std::size_t n) {
        n = n < rest.size() ? n : rest.size();
        const auto part = rest.first(n);
        rest = rest.subspan(n);
        return part;
    }
};

Bytes NextDatagram(Input& in) {
    const std::uint8_t flags = in.Byte();
    if (flags & 1) {
        const std::size_t length = std::size_t(in.Byte()) << 8 | in.Byte();
        const auto raw = in.Take(length);
        return Bytes(raw.begin(), raw.end());
    }
    Bytes d(vt::kDatagramSize, ' ');
    const auto body = in.Take(flags & 2 ? vt::kPageChars : 80);
    for (std::size_t i = 0; i < body.size(); ++i) d[(flags & 2 ? 0 : 40) + i] = body[i];
    const int page = 100 + in.Byte() % 8 * 100 + in.Byte() % 100;
    d[7] = 'P';
    d[8] = std::uint8_t('0' + page / 100);
    d[9] = std::uint8_t('0' + page / 10 % 10);
    d[10] = std::uint8_t('0' + page % 10);
    if (flags & 4) d[11] = in.Byte();  // sometimes a fourth digit
    d[1000] = std::uint8_t(page / 100);
    d[1001] = flags & 8 ? in.Byte() : 0;
    d[1002] = in.Byte();
    d[vt::kNationalOffset] = in.Byte();
    return d;
}

void CheckPage(const vt::VtPageCache& cache, int page, int& valid) {
    const vt::VtPageEntry* entry = cache.Find(page);
    if (!entry) {
        if (cache.FirstValid(page) != -1) std::abort();
        return;
    }
    const int count = int(entry->subpages.size());
    if (count < 1 || count > vt::kMaxSubpages) std::abort();
    int here = 0;
    for (const auto& record : entry->subpages) here += record.valid;
    valid += here;
    const int first = cache.FirstValid(page);
    if (here == 0 ? first != -1 : !entry->subpages[first].valid) std::abort();
    if (first < 0) return;
    int at = first;
    for (int step = 0; step < here; ++step) at = cache.NextValid(page, at);
    if (at != first) std::abort();  // round trip over every valid record
    for (int step = 0; step < here; ++step) at = cache.PrevValid(page, at);
    if (at != first) std::abort();

    const vt::VtSubpage& record = entry->subpages[first];
    const vt::PageChars shown = vt::ComposeDisplayHeader(&record.chars, cache.LiveHeader(), page);
    const vt::DisplayPage layout = vt::LayoutForDisplay(shown, record.national);
    for (int r = 0; r < vt::kRows; ++r) {
        for (int c = 0; c < vt::kCols; ++c) {
            const char link = layout.links[r][c];
            if (link != 0 && (link < '0' || link > '9')) std::abort();
            const auto target = vt::PageAt(layout.links, r, c);
            if (target && (*target < vt::kFirstPage || *target > vt::kLastPage)) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto owner = std::make_unique<vt::VtPageCache>();  // each input on a fresh cache
    vt::VtPageCache& cache = *owner;
    Input in{std::span<const std::uint8_t>(data, size)};
    while (!in.Empty()) {
        const Bytes d = NextDatagram(in);
        const vt::StoreResult result = cache.Store(d);
        if (result.stored && !result.accepted) std::abort();
        if (result.accepted && (result.page < vt::kFirstPage || result.page > vt::kLastPage))
            std::abort();
        if (result.stored && cache.LastReceivedPage() != result.page) std::abort();
    }
    int valid = 0;
    for (int page = vt::kFirstPage; page <= vt::kLastPage; ++page) CheckPage(cache, page, valid);
    if (valid != cache.CachedCount()) std::abort();
    const auto layout = vt::LayoutForDisplay(
        vt::ComposeDisplayHeader(nullptr, cache.LiveHeader(), 100), cache.LiveNational(), 1);
    if (layout.rowCount != 1) std::abort();
    return 0;
}
