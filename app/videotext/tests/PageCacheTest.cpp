// The page cache's intake: which datagrams it takes, where the page number
// comes from, how repeats are told apart from new copies, how many subpage
// records a page gets, and stepping through them.
#include <gtest/gtest.h>

#include "PageBuilder.h"
#include "videotext/VtPageCache.h"

using vt::VtPageCache;
using vttest::Datagram;
using vttest::PageBuilder;

namespace {

std::array<std::uint8_t, vt::kCols> Header(std::string_view text) {
    std::array<std::uint8_t, vt::kCols> h;
    h.fill(' ');
    for (std::size_t i = 0; i < text.size() && i < h.size(); ++i) h[i] = std::uint8_t(text[i]);
    return h;
}

int HeaderNumber(std::string_view text) { return vt::HeaderPageNumber(Header(text)); }

int Announced(std::string_view row5, int s1) {
    return vt::AnnouncedSubpages(PageBuilder().Put(5, 10, row5).chars, s1);
}

}  // namespace

TEST(PageCacheIntake, OnlyWholeDatagramsWithPlausibleControlBytes) {
    VtPageCache cache;
    auto page = Datagram(150);
    auto shorter = page;
    shorter.pop_back();
    auto longer = page;
    longer.push_back(0);
    EXPECT_FALSE(cache.Store(shorter).accepted);
    EXPECT_FALSE(cache.Store(longer).accepted);
    EXPECT_EQ(VtPageCache::DatagramPageNumber(shorter), 0);
    EXPECT_EQ(VtPageCache::DatagramPageNumber(longer), 0);
    EXPECT_EQ(VtPageCache::DatagramPageNumber(page), 150);

    auto badMagazine = page;
    badMagazine[1000] = 9;
    auto badControl = page;
    badControl[1001] = 9;
    EXPECT_FALSE(cache.Store(badMagazine).accepted);
    EXPECT_FALSE(cache.Store(badControl).accepted);
    EXPECT_EQ(cache.CachedCount(), 0);
    EXPECT_EQ(cache.Find(150), nullptr);

    page[1000] = 8;
    page[1001] = 8;
    const auto result = cache.Store(page);
    EXPECT_TRUE(result.accepted);
    EXPECT_TRUE(result.stored);
    EXPECT_EQ(result.page, 150);
    EXPECT_EQ(cache.CachedCount(), 1);
    EXPECT_EQ(cache.LastReceivedPage(), 150);
}

TEST(PageCacheIntake, ParityBitsAreRemovedFromPageAndLiveHeader) {
    VtPageCache cache;
    auto page = Datagram(123, 0, "Nachrichten");
    for (std::size_t i = 0; i < vt::kPageChars; ++i) page[i] |= 0x80;
    ASSERT_TRUE(cache.Store(page).stored);
    const vt::VtSubpage& record = cache.Find(123)->subpages.at(0);
    EXPECT_TRUE(record.valid);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(&record.chars[40]), 11),
              "Nachrichten");
    EXPECT_EQ(record.chars[41 + 11], ' ');
    const auto& live = cache.LiveHeader();
    EXPECT_EQ(std::string(live.begin(), live.end()), "       P123 TELETEXT  Mo 07.12. 12:00:00");
}

TEST(PageCacheIntake, LiveHeaderFollowsEveryPlausibleDatagram) {
    VtPageCache cache;
    ASSERT_TRUE(cache.Store(Datagram(200)).stored);
    auto later = Datagram(200);  // an immediate repeat: dropped, but its clock is the latest
    const char clock[] = "12:00:07";
    for (int i = 0; i < 8; ++i) later[32 + i] = std::uint8_t(clock[i]);
    later[vt::kNationalOffset] = 4;
    EXPECT_FALSE(cache.Store(later).stored);
    EXPECT_EQ(cache.LiveHeader()[39], '7');
    EXPECT_EQ(cache.LiveNational(), 4);

    auto unreadable = Datagram(200);
    unreadable[9] = 'x';  // "P2x0": no page number anywhere in the header
    const auto result = cache.Store(unreadable);
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.page, 0);
    EXPECT_EQ(cache.LiveHeader()[9], 'x');
    EXPECT_EQ(cache.CachedCount(), 1);
}

TEST(PageCacheIntake, NationalOptionIsKeptPerRecord) {
    VtPageCache cache;
    ASSERT_TRUE(cache.Store(Datagram(100, 0, PageBuilder().chars, 4)).stored);
    ASSERT_TRUE(cache.Store(Datagram(101, 0, PageBuilder().chars, 0)).stored);
    EXPECT_EQ(cache.Find(100)->subpages[0].national, 4);
    EXPECT_EQ(cache.Find(101)->subpages[0].national, 0);
    EXPECT_EQ(cache.LiveNational(), 0);
}

TEST(HeaderPageNumber, ThreeDigitsAtEightOrTheFirstFramedGroupLater) {
    EXPECT_EQ(HeaderNumber("       P150 TELETEXT 12:00:00"), 150);
    EXPECT_EQ(HeaderNumber("        899"), 899);
    // Not framed at 8-10: the first group of exactly three digits further on.
    EXPECT_EQ(HeaderNumber("      1150 RAI 301 ok 402"), 301);
    EXPECT_EQ(HeaderNumber("       P1500 A 2345 B 777 C"), 777);
    EXPECT_EQ(HeaderNumber("       P15  TEXT 250"), 250);
    // The last group the search reaches has its digits at 32-34.
    EXPECT_EQ(HeaderNumber("                                444"), 444);
    EXPECT_EQ(HeaderNumber("                                 444"), 0);
    // Numbers outside 100-899 and headers without one.
    EXPECT_EQ(HeaderNumber("       P099 TEXT"), 0);
    EXPECT_EQ(HeaderNumber("       P900 TEXT 150"), 0);
    EXPECT_EQ(HeaderNumber("       PAGE TEXT"), 0);
    EXPECT_EQ(HeaderNumber(""), 0);
}

TEST(PageCacheRepeats, AnImmediateRepeatIsDroppedEvenWhenItChanged) {
    VtPageCache cache;
    ASSERT_TRUE(cache.Store(Datagram(150, 0, "first")).stored);
    const auto again = cache.Store(Datagram(150, 0, "second"));
    EXPECT_TRUE(again.accepted);
    EXPECT_FALSE(again.stored);
    EXPECT_EQ(cache.Find(150)->subpages[0].chars[40], 'f');
    ASSERT_TRUE(cache.Store(Datagram(151)).stored);
    EXPECT_TRUE(cache.Store(Datagram(150, 0, "second")).stored);
    EXPECT_EQ(cache.Find(150)->subpages[0].chars[40], 's');
    EXPECT_EQ(cache.CachedCount(), 2);
}

TEST(PageCacheRepeats, AnUnchangedPageIsStoredAgainOnTheEleventhRepeat) {
    VtPageCache cache;
    auto page150 = Datagram(150, 0, "unchanged rows");
    ASSERT_TRUE(cache.Store(page150).stored);
    std::vector<int> storedAt;
    for (int repeat = 1; repeat <= 12; ++repeat) {
        cache.Store(Datagram(151, 0, "other page"));
        // Only the clock in the header moves; rows 1-24 stay as they were.
        page150[39] = std::uint8_t('0' + repeat % 10);
        if (cache.Store(page150).stored) storedAt.push_back(repeat);
    }
    EXPECT_EQ(storedAt, std::vector<int>{11});
    EXPECT_EQ(cache.CachedCount(), 2);

    // A change in rows 1-24 is stored at once.
    auto changed = page150;
    changed[24 * 40 + 39] = 'X';
    cache.Store(Datagram(151));
    EXPECT_TRUE(cache.Store(changed).stored);
}

TEST(PageCacheSubpages, TheAnnouncedTotalSizesTheRecords) {
    VtPageCache cache;
    ASSERT_TRUE(cache.Store(Datagram(300, 2, "Seite 2/5")).stored);
    const vt::VtPageEntry* entry = cache.Find(300);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->subpages.size(), 5u);
    EXPECT_FALSE(entry->subpages[0].valid);
    EXPECT_TRUE(entry->subpages[1].valid);
    EXPECT_TRUE(entry->subpages[1].drawing);
    EXPECT_EQ(cache.CachedCount(), 1);
    EXPECT_EQ(cache.FirstValid(300), 1);

    // An existing record needs no growth; a later S1 beyond the array grows it
    // and keeps what was there.
    cache.Store(Datagram(301));
    ASSERT_TRUE(cache.Store(Datagram(300, 5, "Seite 5/5")).stored);
    EXPECT_EQ(cache.Find(300)->subpages.size(), 5u);
    cache.Store(Datagram(301));
    ASSERT_TRUE(cache.Store(Datagram(300, 7, "Seite 7/9")).stored);
    entry = cache.Find(300);
    ASSERT_EQ(entry->subpages.size(), 9u);
    EXPECT_TRUE(entry->subpages[1].valid);
    EXPECT_EQ(entry->subpages[1].chars[46], '2');
    EXPECT_TRUE(entry->subpages[6].valid);
    EXPECT_EQ(cache.CachedCount(), 4);  // 300: records 2, 5, 7; and 301
}

TEST(PageCacheSubpages, SingleAndUnannouncedPages) {
    VtPageCache cache;
    ASSERT_TRUE(cache.Store(Datagram(400, 0, "Seite 1/3")).stored);
    EXPECT_EQ(cache.Find(400)->subpages.size(), 1u);
    ASSERT_TRUE(cache.Store(Datagram(401, 3, "no total here")).stored);
    EXPECT_EQ(cache.Find(401)->subpages.size(), 3u);
    EXPECT_TRUE(cache.Find(401)->subpages[2].valid);
    ASSERT_TRUE(cache.Store(Datagram(402, 15, "15/64")).stored);
    EXPECT_EQ(cache.Find(402)->subpages.size(), 64u);
}

TEST(AnnouncedSubpages, TheTotalAfterTheSubpageNumber) {
    EXPECT_EQ(Announced("2/5", 2), 5);
    EXPECT_EQ(Announced("2/05", 2), 5);
    EXPECT_EQ(Announced("2/64", 2), 64);
    EXPECT_EQ(Announced("2/65", 2), 2);    // beyond what a page can have
    EXPECT_EQ(Announced("3/2", 3), 3);     // fewer than the subpage itself
    EXPECT_EQ(Announced("2/1234", 2), 2);  // read as 123
    EXPECT_EQ(Announced("2/ 5", 2), 2);
    EXPECT_EQ(Announced("4/5", 2), 2);
    // The first "2/" followed by a digit counts, wherever it stands.
    EXPECT_EQ(Announced("12/20 und 2/7", 2), 20);
    EXPECT_EQ(Announced("2/x 2/7", 2), 7);
    EXPECT_EQ(Announced("10/12", 10), 12);
    // The header's date is not a total.
    EXPECT_EQ(vt::AnnouncedSubpages(PageBuilder().Put(0, 20, "Lun 23/09").chars, 3), 3);
    EXPECT_EQ(vt::AnnouncedSubpages(PageBuilder().Put(0, 39, "3").Put(1, 0, "/4").chars, 3), 3);
}

TEST(PageCacheSubpages, SteppingVisitsValidRecordsAndWraps) {
    VtPageCache cache;
    cache.Store(Datagram(500, 2, "2/6"));
    cache.Store(Datagram(501));
    cache.Store(Datagram(500, 5, "5/6"));
    EXPECT_EQ(cache.FirstValid(500), 1);
    EXPECT_EQ(cache.NextValid(500, 1), 4);
    EXPECT_EQ(cache.NextValid(500, 4), 1);
    EXPECT_EQ(cache.PrevValid(500, 4), 1);
    EXPECT_EQ(cache.PrevValid(500, 1), 4);
    EXPECT_EQ(cache.NextValid(500, 0), 1);  // from an empty record
    EXPECT_EQ(cache.PrevValid(500, 5), 4);

    cache.Store(Datagram(502));
    EXPECT_EQ(cache.NextValid(502, 0), 0);  // the only record is its own successor
    EXPECT_EQ(cache.PrevValid(502, 0), 0);
    EXPECT_EQ(cache.FirstValid(503), -1);
    EXPECT_EQ(cache.NextValid(503, 0), -1);
    EXPECT_EQ(cache.PrevValid(503, 0), -1);
    EXPECT_EQ(cache.Find(99), nullptr);
    EXPECT_EQ(cache.Find(900), nullptr);
}

TEST(PageCacheClear, ForgetsEveryPageAndTakesNewOnes) {
    VtPageCache cache;
    cache.Store(Datagram(100));
    cache.Store(Datagram(300, 2, "2/5"));
    cache.Store(Datagram(899));
    ASSERT_EQ(cache.CachedCount(), 3);
    cache.Clear();
    EXPECT_EQ(cache.CachedCount(), 0);
    EXPECT_EQ(cache.Find(100), nullptr);
    EXPECT_EQ(cache.Find(300), nullptr);
    EXPECT_EQ(cache.FirstValid(899), -1);

    EXPECT_TRUE(cache.Store(Datagram(300, 1, "1/2")).stored);
    EXPECT_EQ(cache.Find(300)->subpages.size(), 2u);
    EXPECT_EQ(cache.CachedCount(), 1);
}
