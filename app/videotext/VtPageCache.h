#pragma once
// The videotext page cache: every page and subpage the card delivered since
// the last program change, kept as the card sent it (1000 characters, parity
// bits removed). One cache serves the receive path and the window; it lives
// on the GUI thread.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vt {

constexpr int kRows = 25;
constexpr int kCols = 40;
constexpr std::size_t kPageChars = 1000;     // 25 rows of 40 characters
constexpr std::size_t kDatagramSize = 1960;  // one page as the card sends it
constexpr int kFirstPage = 100;
constexpr int kLastPage = 899;
constexpr int kPageCount = kLastPage - kFirstPage + 1;  // 800
constexpr int kMaxSubpages = 64;
constexpr std::size_t kNationalOffset = 1003;  // the header's national option (card byte)

using PageChars = std::array<std::uint8_t, kPageChars>;

/// One subpage record.
struct VtSubpage {
    bool valid = false;
    PageChars chars{};           // parity removed
    bool drawing = false;        // set while a new copy is stored or drawn
    std::uint32_t checksum = 0;  // sum of rows 1-24
    std::uint8_t repeats = 0;
    std::uint8_t national = 1;  // national option of the header (0-7; 1 German)
};

/// One page number's records (index = page - 100).
struct VtPageEntry {
    std::vector<VtSubpage> subpages;  // empty: page not cached
};

/// What happened to one datagram.
struct StoreResult {
    bool accepted = false;  // length, control bytes and page number were fine
    bool stored = false;    // a new copy went into a record
    int page = 0;           // the page number read from the header (0 when unread)
};

class VtPageCache {
  public:
    VtPageCache();

    /// Receive path: the page number from bytes 8-10 of a 1960-byte datagram,
    /// or 0 when the length is wrong.
    static int DatagramPageNumber(std::span<const std::uint8_t> datagram);

    /// Stores one received datagram by the rules of the cache (length,
    /// control bytes, header page number, immediate repeats, subpage from S1,
    /// checksum and repeat counter, subpage total from the "%d/" text).
    StoreResult Store(std::span<const std::uint8_t> datagram);

    /// Forgets every page (program change). The cached count becomes 0.
    void Clear();

    int CachedCount() const { return cached_; }
    /// The last received header row, parity removed (40 characters).
    const std::array<std::uint8_t, kCols>& LiveHeader() const { return liveHeader_; }
    /// The national option of the last received header.
    std::uint8_t LiveNational() const { return liveNational_; }
    /// The page number stored last, 0 before the first.
    int LastReceivedPage() const { return lastReceived_; }

    /// The page's records, nullptr when the page is not cached (or out of range).
    const VtPageEntry* Find(int page) const;
    VtPageEntry* Find(int page);
    /// The page's subpage record `index`, nullptr when the page has no such
    /// record (valid or not).
    const VtSubpage* Record(int page, int index) const;
    VtSubpage* Record(int page, int index);
    /// The number of subpage records of the page, 0 when it is not cached.
    int SubpageCount(int page) const;

    /// Subpage stepping over valid records; -1 when the page has none.
    int FirstValid(int page) const;
    int NextValid(int page, int current) const;  // wraps to the first after the last
    int PrevValid(int page, int current) const;  // wraps to the last before the first

  private:
    std::array<VtPageEntry, kPageCount> pages_;
    int cached_ = 0;
    int lastIndex_ = -1;
    int lastReceived_ = 0;
    std::array<std::uint8_t, kCols> liveHeader_{};
    std::uint8_t liveNational_ = 1;
};

/// The page number in a header row: "ddd" at 8-10 framed by non-digits, else
/// the first such group starting between 9 and 32; 0 when there is none or it
/// lies outside 100-899.
int HeaderPageNumber(std::span<const std::uint8_t, kCols> header);

/// The subpage total announced in the page text: "S1/" followed by one to
/// three digits m, searched from the start of row 1; m when S1 <= m < 65,
/// else S1. The header row is left out: its date ("Lun 23/09") would read
/// as a total of 9 for subpage 3.
int AnnouncedSubpages(const PageChars& chars, int s1);

}  // namespace vt
