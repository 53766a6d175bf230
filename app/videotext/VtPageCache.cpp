#include "videotext/VtPageCache.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

namespace vt {

namespace {

constexpr std::size_t kMagazineOffset = 1000;  // both control bytes must be below 9
constexpr std::size_t kControlOffset = 1001;
constexpr std::size_t kSubcodeOffset = 1002;  // S1 in the low 4 bits

bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

int ThreeDigits(std::span<const std::uint8_t, kCols> header, int at) {
    return (header[at] - '0') * 100 + (header[at + 1] - '0') * 10 + (header[at + 2] - '0');
}

// A group of exactly three digits at at+1..at+3, framed by non-digits at at and at+4.
bool FramedGroupAt(std::span<const std::uint8_t, kCols> header, int at) {
    return !IsDigit(header[at]) && IsDigit(header[at + 1]) && IsDigit(header[at + 2]) &&
           IsDigit(header[at + 3]) && !IsDigit(header[at + 4]);
}

// Rows 1-24 only: the header carries the clock, which changes with every copy.
std::uint32_t RowsChecksum(const PageChars& chars) {
    std::uint32_t sum = 0;
    for (std::size_t i = kCols; i < kPageChars; ++i) sum += chars[i];
    return sum;
}

// An unchanged copy of a valid record only counts; once the counter passes 9
// the checksum is forgotten, so that the next copy is stored again.
bool IsCountedRepeat(VtSubpage& record, std::uint32_t checksum) {
    if (!record.valid || record.checksum != checksum) return false;
    if (++record.repeats > 9) {
        record.checksum = 0;
        record.repeats = 0;
    }
    return true;
}

// New records are zeroed; when memory runs out the records stay as they were.
bool Grow(std::vector<VtSubpage>& records, int needed) {
    if (int(records.size()) >= needed) return true;
    try {
        records.resize(needed);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

VtPageCache::VtPageCache() { liveHeader_.fill(' '); }

int VtPageCache::DatagramPageNumber(std::span<const std::uint8_t> datagram) {
    if (datagram.size() != kDatagramSize) return 0;
    return (datagram[8] - '0') * 100 + (datagram[9] - '0') * 10 + (datagram[10] - '0');
}

int HeaderPageNumber(std::span<const std::uint8_t, kCols> header) {
    int number = 0;
    if (FramedGroupAt(header, 7)) {
        number = ThreeDigits(header, 8);
    } else {
        for (int i = 8; i <= 31; ++i) {
            if (FramedGroupAt(header, i)) {
                number = ThreeDigits(header, i + 1);
                break;
            }
        }
    }
    return number >= kFirstPage && number <= kLastPage ? number : 0;
}

int AnnouncedSubpages(const PageChars& chars, int s1) {
    char prefix[8];
    const int length = std::snprintf(prefix, sizeof prefix, "%d/", s1);
    const auto end = chars.end();
    for (auto at = chars.begin() + kCols; at + length < end; ++at) {
        if (!std::equal(prefix, prefix + length, at)) continue;
        auto digit = at + length;
        if (!IsDigit(*digit)) continue;
        int m = 0;
        for (int n = 0; n < 3 && digit != end && IsDigit(*digit); ++n, ++digit) {
            m = m * 10 + (*digit - '0');
        }
        return m >= s1 && m < kMaxSubpages + 1 ? m : s1;
    }
    return s1;
}

StoreResult VtPageCache::Store(std::span<const std::uint8_t> datagram) {
    StoreResult result;
    if (datagram.size() != kDatagramSize) return result;
    if (datagram[kMagazineOffset] >= 9 || datagram[kControlOffset] >= 9) return result;

    for (int i = 0; i < kCols; ++i) liveHeader_[i] = datagram[i] & 0x7F;
    liveNational_ = datagram[kNationalOffset] & 7;
    result.page = HeaderPageNumber(liveHeader_);
    if (result.page == 0) return result;
    result.accepted = true;

    const int index = result.page - kFirstPage;
    if (index == lastIndex_) return result;
    lastIndex_ = index;

    const int s1 = datagram[kSubcodeOffset] & 15;
    const int subpage = s1 == 0 ? 0 : s1 - 1;
    PageChars chars;
    for (std::size_t i = 0; i < kPageChars; ++i) chars[i] = datagram[i] & 0x7F;
    const std::uint32_t checksum = RowsChecksum(chars);

    std::vector<VtSubpage>& records = pages_[index].subpages;
    const bool exists = subpage < int(records.size());
    if (exists && IsCountedRepeat(records[subpage], checksum)) return result;
    const int needed = (s1 == 0 || exists) ? 1 : AnnouncedSubpages(chars, s1);
    if (!Grow(records, needed)) return result;  // the page is dropped

    VtSubpage& record = records[subpage];
    record.chars = chars;
    record.checksum = checksum;
    record.drawing = true;
    record.national = liveNational_;
    if (!record.valid) ++cached_;
    record.valid = true;
    lastReceived_ = result.page;
    result.stored = true;
    return result;
}

void VtPageCache::Clear() {
    // Storing and clearing both run on the GUI thread, so no store can be
    // under way here and the records can go at once.
    for (VtPageEntry& entry : pages_) std::vector<VtSubpage>().swap(entry.subpages);
    cached_ = 0;
}

const VtPageEntry* VtPageCache::Find(int page) const {
    if (page < kFirstPage || page > kLastPage) return nullptr;
    const VtPageEntry& entry = pages_[page - kFirstPage];
    return entry.subpages.empty() ? nullptr : &entry;
}

VtPageEntry* VtPageCache::Find(int page) {
    return const_cast<VtPageEntry*>(std::as_const(*this).Find(page));
}

const VtSubpage* VtPageCache::Record(int page, int index) const {
    const VtPageEntry* entry = Find(page);
    if (!entry || index < 0 || index >= int(entry->subpages.size())) return nullptr;
    return &entry->subpages[std::size_t(index)];
}

VtSubpage* VtPageCache::Record(int page, int index) {
    return const_cast<VtSubpage*>(std::as_const(*this).Record(page, index));
}

int VtPageCache::SubpageCount(int page) const {
    const VtPageEntry* entry = Find(page);
    return entry ? int(entry->subpages.size()) : 0;
}

int VtPageCache::FirstValid(int page) const {
    const VtPageEntry* entry = Find(page);
    if (!entry) return -1;
    for (int i = 0; i < int(entry->subpages.size()); ++i) {
        if (entry->subpages[i].valid) return i;
    }
    return -1;
}

int VtPageCache::NextValid(int page, int current) const {
    const VtPageEntry* entry = Find(page);
    if (!entry) return -1;
    const int count = int(entry->subpages.size());
    const int from = std::clamp(current, -1, count - 1);
    for (int step = 1; step <= count; ++step) {
        const int i = (from + step) % count;
        if (entry->subpages[i].valid) return i;
    }
    return -1;
}

int VtPageCache::PrevValid(int page, int current) const {
    const VtPageEntry* entry = Find(page);
    if (!entry) return -1;
    const int count = int(entry->subpages.size());
    const int from = std::clamp(current, 0, count);
    for (int step = 1; step <= count; ++step) {
        const int i = ((from - step) % count + count) % count;
        if (entry->subpages[i].valid) return i;
    }
    return -1;
}

}  // namespace vt
