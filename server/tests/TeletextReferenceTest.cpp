// The card's teletext pages of real captures against libzvbi's: the same
// pages and subcodes, the same national option, and the same text in the
// header and rows 1-24 of every page both decoders completed; and the same
// pages and subpages in the program's page cache after the whole capture.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "CTeletextDecoder.h"
#include "DatagramRecorder.h"
#include "TeletextLines.h"
#include "TsTestUtil.h"
#include "testsupport/ZvbiReference.h"
#include "videotext/VtPageCache.h"

using namespace nvdvbsrv;
using testutil::Bytes;

namespace {

// The G0 characters a national option puts at its 13 places (ETS 300 706
// table 36), as Unicode; the other codes are ASCII.
constexpr uint8_t kNationalPlaces[13] = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E,
                                         0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};
constexpr char32_t kNational[8][13] = {
    {U'£', U'$', U'@', U'←', U'½', U'→', U'↑', U'#', U'―', U'¼', U'‖', U'¾', U'÷'},  // English
    {U'#', U'$', U'§', U'Ä', U'Ö', U'Ü', U'^', U'_', U'°', U'ä', U'ö', U'ü', U'ß'},  // German
    {U'#', U'¤', U'É', U'Ä', U'Ö', U'Å', U'Ü', U'_', U'é', U'ä', U'ö', U'å', U'ü'},  // Swedish
    {U'£', U'$', U'é', U'°', U'ç', U'→', U'↑', U'#', U'ù', U'à', U'ò', U'è', U'ì'},  // Italian
    {U'é', U'ï', U'à', U'ë', U'ê', U'ù', U'î', U'#', U'è', U'â', U'ô', U'û', U'ç'},  // French
    {U'ç', U'$', U'¡', U'á', U'é', U'í', U'ó', U'ú', U'¿', U'ü', U'ñ', U'è', U'à'},  // Portuguese
    {U'#', U'ů', U'č', U'ť', U'ž', U'ý', U'í', U'ř', U'é', U'á', U'ě', U'ú', U'š'},  // Czech
    {U'£', U'$', U'@', U'←', U'½', U'→', U'↑', U'#', U'―', U'¼', U'‖', U'¾', U'÷'},  // reserved
};

char32_t G0(uint8_t c, int national) {
    for (size_t i = 0; i < 13; ++i)
        if (kNationalPlaces[i] == c) return kNational[national & 7][i];
    return c == 0x7F ? U'■' : char32_t(c);
}

int PageNumber(const Bytes& d) { return (d[8] - '0') * 100 + (d[9] - '0') * 10 + (d[10] - '0'); }

std::vector<Bytes> CardPages(const Bytes& ts, uint16_t pid) {
    testutil::DatagramRecorder rec;
    CTeletextDecoder dec(rec);
    dec.SetPid(pid);
    for (size_t off = 0; off + 188 <= ts.size(); off += 188)
        dec.FeedPacket(std::span<const uint8_t>(ts).subspan(off, 188));
    std::vector<Bytes> pages;
    for (auto& [port, d] : rec.got) pages.push_back(d);
    return pages;
}

using Key = std::pair<int, int>;  // page number, S1

struct Mismatch {
    int row, column;
    uint8_t card;
    char32_t zvbi;
};

// The cells of rows 0-24 (the header from column 12, after the page number)
// where both show a character: control codes show as spaces (or held
// mosaics), block mosaics as libzvbi's private-use codes (0xEE00 + code; the
// captures show no separated mosaics), and the row below a double-height row
// is not shown (libzvbi puts the lower half of the row above there).
std::vector<Mismatch> CompareRows(const Bytes& card, const testsupport::ZvbiPage& z, int national,
                                  size_t& compared) {
    std::vector<Mismatch> out;
    bool belowDoubleHeight = false;
    for (int r = 0; r < 25; ++r) {
        const auto row = std::span<const uint8_t>(card).subspan(size_t(r) * 40, 40);
        const bool hidden = belowDoubleHeight;
        belowDoubleHeight = !hidden && std::find(row.begin(), row.end(), 0x0D) != row.end();
        if (hidden) continue;  // libzvbi shows the lower half of the row above
        bool mosaic = false;
        for (int col = 0; col < 40; ++col) {
            const uint8_t c = card[size_t(r * 40 + col)] & 0x7F;
            if (r == 0 && col < 12) continue;  // the page number: each puts its own
            const char32_t u = z.cells[size_t(r)][size_t(col)];
            if (c < 0x20) {
                if (c <= 0x07) mosaic = false;
                if (c >= 0x10 && c <= 0x17) mosaic = true;
                continue;
            }
            const bool block = mosaic && (c & 0x20);
            const bool same = block ? u == 0xEE00u + c : u == G0(c, national);
            ++compared;
            if (!same) out.push_back({r, col, c, u});
        }
    }
    return out;
}

// A row of one transmission (index in order of sending, row number).
using RowRef = std::pair<size_t, int>;

struct Capture {
    const char* file;
    uint16_t pid;
    const char* name;
    // Rows known to differ, each explained where the capture is listed.
    std::set<RowRef> differing = {};
};

void PrintTo(const Capture& c, std::ostream* os) { *os << c.name; }

constexpr const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";
constexpr const char* kArte = "tsduck-test_012_arte-teletext.ts";

class TeletextReferenceTest : public ::testing::TestWithParam<Capture> {
  protected:
    void SetUp() override {
        const std::string path = testutil::TestDataDir() + "/" + GetParam().file;
        const Bytes ts = testutil::ReadFile(path);
        if (ts.empty()) GTEST_SKIP() << "capture not found: " << path;
        auto result = testsupport::DecodeZvbiPages(ts, GetParam().pid);
        ASSERT_TRUE(result.ok) << result.error;
        for (auto& p : result.pages)
            if (p.page >= 100) zvbi.push_back(p);  // libzvbi also reports hexadecimal pages
        card = CardPages(ts, GetParam().pid);
        ASSERT_FALSE(zvbi.empty());
    }

    // Compares one page of each: the national option, and the cells, where
    // every difference is reported unless its row is in `allowed`; returns
    // the rows that differ.
    static std::set<int> ComparePage(const Bytes& d, const testsupport::ZvbiPage& z, size_t& cells,
                                     const std::set<int>& allowed = {}) {
        EXPECT_EQ(d[1003], z.national) << "page " << z.page << " " << z.charsetLabel;
        std::set<int> rows;
        for (const auto& m : CompareRows(d, z, z.national, cells)) {
            rows.insert(m.row);
            if (allowed.count(m.row)) continue;
            ADD_FAILURE() << "page " << z.page << "/" << std::hex << z.subno << " row " << std::dec
                          << m.row << " column " << m.column << ": card 0x" << std::hex
                          << int(m.card) << ", libzvbi U+" << uint32_t(m.zvbi);
        }
        return rows;
    }

    std::vector<testsupport::ZvbiPage> zvbi;
    std::vector<Bytes> card;
};

TEST_P(TeletextReferenceTest, SamePagesAndSubcodesAndTheLastCopiesAgree) {
    std::map<Key, Bytes> cardLast;
    for (const auto& d : card) cardLast[{PageNumber(d), d[1002]}] = d;
    std::map<Key, testsupport::ZvbiPage> zvbiLast;
    for (const auto& p : zvbi) zvbiLast[{p.page, p.subno & 0x0F}] = p;
    std::set<Key> cardKeys, zvbiKeys;
    for (auto& [k, v] : cardLast) cardKeys.insert(k);
    for (auto& [k, v] : zvbiLast) zvbiKeys.insert(k);
    EXPECT_EQ(cardKeys, zvbiKeys);
    size_t cells = 0;
    for (const auto& [key, z] : zvbiLast)
        if (const auto it = cardLast.find(key); it != cardLast.end())
            ComparePage(it->second, z, cells);
    EXPECT_GT(cells, 0u);
    std::cout << "pages (number and S1) " << zvbiKeys.size() << ", cells compared " << cells
              << "\n";
}

// Every transmission in the order both send them, repeats included: rows
// kept from a page's earlier transmission must agree too.
TEST_P(TeletextReferenceTest, EveryTransmissionAgreesInOrder) {
    ASSERT_EQ(card.size(), zvbi.size());
    const auto& known = GetParam().differing;
    size_t cells = 0;
    std::set<RowRef> differing;
    for (size_t i = 0; i < card.size(); ++i) {
        ASSERT_EQ(PageNumber(card[i]), zvbi[i].page) << "transmission " << i;
        ASSERT_EQ(card[i][1002], zvbi[i].subno & 0x0F) << "transmission " << i;
        std::set<int> allowed;
        for (const auto& [t, row] : known)
            if (t == i) allowed.insert(row);
        for (int row : ComparePage(card[i], zvbi[i], cells, allowed)) differing.insert({i, row});
    }
    EXPECT_EQ(differing, known);
    // libzvbi leaves a row blank when one of its characters fails the parity
    // check; the card leaves out only that character.
    for (const auto& [t, row] : known) {
        ASSERT_LT(t, zvbi.size());
        for (char32_t u : zvbi[t].cells[size_t(row)]) EXPECT_EQ(u, U' ') << t << " " << row;
    }
    std::cout << "transmissions " << card.size() << ", cells compared " << cells << "\n";
}

// The subpage total a copy of a page announces in libzvbi's text: "S1/m" with
// one to three digits m, the first such place in rows 1-24; m counts when it
// lies between S1 and 64, else the copy stands for S1 subpages (at least one).
int AnnouncedTotal(const testsupport::ZvbiPage& p) {
    const int s1 = p.subno & 0x0F;
    if (s1 == 0) return 1;
    std::string text;
    for (int r = 1; r < 25; ++r) text += p.RowUtf8(r);
    std::smatch m;
    const std::regex announced(std::to_string(s1) + "/([0-9]{1,3})");
    if (!std::regex_search(text, m, announced)) return s1;
    const int total = std::stoi(m[1]);
    return total >= s1 && total <= 64 ? total : s1;
}

// The card's pages of the whole capture stored in the program's page cache:
// it holds exactly the pages libzvbi completed, a valid record for each
// subpage libzvbi saw and no other, and as many records as the pages'
// texts (as libzvbi reads them) announce.
TEST_P(TeletextReferenceTest, TheCacheHoldsThePagesAndSubpagesLibzvbiFinds) {
    vt::VtPageCache cache;
    for (const auto& d : card) cache.Store(d);
    // The records a page needs: a copy of a subpage beyond them sizes them
    // by the total it announces; a copy of a known one changes nothing.
    std::map<int, std::set<int>> zvbiRecords;  // page -> record indices
    std::map<int, int> zvbiTotal;              // page -> records after the capture
    for (const auto& p : zvbi) {
        const int s1 = p.subno & 0x0F;
        const int index = s1 == 0 ? 0 : s1 - 1;
        zvbiRecords[p.page].insert(index);
        int& total = zvbiTotal[p.page];
        if (index >= total) total = AnnouncedTotal(p);
    }
    int cachedPages = 0, validRecords = 0, subpagePages = 0;
    for (int page = vt::kFirstPage; page <= vt::kLastPage; ++page) {
        if (!cache.Find(page)) continue;
        ++cachedPages;
        EXPECT_TRUE(zvbiRecords.count(page)) << "page " << page << " cached, libzvbi has none";
    }
    for (const auto& [page, expected] : zvbiRecords) {
        SCOPED_TRACE("page " + std::to_string(page));
        std::set<int> valid;
        for (int i = 0; i < cache.SubpageCount(page); ++i)
            if (cache.Record(page, i)->valid) valid.insert(i);
        EXPECT_EQ(valid, expected);
        EXPECT_EQ(cache.SubpageCount(page), zvbiTotal[page]);
        validRecords += int(valid.size());
        subpagePages += cache.SubpageCount(page) > 1;
    }
    EXPECT_EQ(cachedPages, int(zvbiRecords.size()));
    EXPECT_EQ(cache.CachedCount(), validRecords);
    std::cout << "pages cached " << cachedPages << ", valid records " << validRecords
              << ", pages with subpages " << subpagePages << "\n";
}

INSTANTIATE_TEST_SUITE_P(Captures, TeletextReferenceTest,
                         ::testing::Values(Capture{kRai, 0x240, "Rai240"},
                                           Capture{kRai, 0x241, "Rai241"},
                                           Capture{kRai, 0x242, "Rai242"},
                                           Capture{kRai, 0x257, "Rai257"},
                                           // Transmission 52 (page 404) sends row 3
                                           // twice; the second copy has one character
                                           // with a parity error (it reads like row 23,
                                           // "GUIDE DES PROGRAMMES", probably under an
                                           // address that Hamming 8/4 mended wrongly).
                                           // libzvbi
                                           // blanks the row, the card keeps the good
                                           // characters of both copies.
                                           Capture{kArte, 0x42C, "Arte42C", {{52, 3}}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// A hand-built stream: rows not sent again stay from the page's last
// transmission, C4 clears them, the subpage has rows of its own, and a
// time-filling header ends a page; libzvbi reads it the same way. (Headers
// of one page follow each other only after a time-filling header here: see
// the next test.)
TEST(TeletextReferenceTest, RowMemoryAndEraseAgreeWithLibzvbi) {
    using testutil::HeaderUnit;
    using testutil::RowUnit;
    auto head = [](int tens, int units, bool erase = false, uint16_t subcode = 0) {
        testutil::HeaderFields f;
        f.tens = tens;
        f.units = units;
        f.erase = erase;
        f.subcode = subcode;
        f.serial = true;
        f.national = 1;
        f.text = "TEST";
        return HeaderUnit(f);
    };
    const std::vector<std::vector<testutil::Unit>> sequence = {
        {head(0, 0), RowUnit(1, 1, "Eins {|}"), RowUnit(1, 2, "Zwei [\\]")},
        {head(0, 1), RowUnit(1, 1, "Andere Seite")},
        {head(0, 0), RowUnit(1, 1, "Neu")},
        {head(15, 15)},
        {head(0, 0, true), RowUnit(1, 1, "Geloescht")},
        {head(15, 15)},
        {head(0, 0, false, 3), RowUnit(1, 5, "Unterseite")},
        {head(0, 2)},
        {head(0, 3)}};
    std::vector<Bytes> pes;
    for (size_t i = 0; i < sequence.size(); ++i)
        pes.push_back(testutil::TeletextPes(sequence[i], 90000 + 3600 * i, true));
    const Bytes ts = testutil::TeletextTs(pes, 0x100);
    const auto card = CardPages(ts, 0x100);
    const auto zvbi = testsupport::DecodeZvbiPages(ts, 0x100);
    ASSERT_TRUE(zvbi.ok) << zvbi.error;
    ASSERT_EQ(card.size(), 6u);  // page 103 is still under way at the end
    ASSERT_EQ(zvbi.pages.size(), card.size());
    size_t cells = 0;
    for (size_t i = 0; i < card.size(); ++i) {
        const auto& z = zvbi.pages[i];
        EXPECT_EQ(PageNumber(card[i]), z.page) << i;
        EXPECT_EQ(card[i][1002], z.subno & 0x0F) << i;
        EXPECT_EQ(card[i][1003], z.national) << i;
        for (const auto& m : CompareRows(card[i], z, z.national, cells))
            ADD_FAILURE() << "transmission " << i << " row " << m.row << " column " << m.column;
    }
    // The card's own view of the same stream, so that agreeing is not agreeing on nothing.
    auto row = [&](size_t i, int r) {
        std::string s;
        for (size_t c = 0; c < 40; ++c) s.push_back(char(card[i][size_t(r) * 40 + c] & 0x7F));
        return s.substr(0, s.find_last_not_of(' ') + 1);
    };
    EXPECT_EQ(row(2, 1), "Neu");
    EXPECT_EQ(row(2, 2), "Zwei [\\]");
    EXPECT_EQ(row(3, 2), "");
    EXPECT_EQ(row(4, 5), "Unterseite");
    EXPECT_EQ(row(4, 1), "");
}

// A header ends the page under way of its magazine even when it opens the
// same page again (a subtitle page rewritten at once, the next subpage of a
// rotating page): the card sends every such transmission. libzvbi reports
// only the last of them; this is the one place where the two count
// differently, and the captures do not send a page twice in a row.
TEST(TeletextReferenceTest, BackToBackHeadersOfOnePageEachEndATransmission) {
    testutil::HeaderFields f;
    f.serial = true;
    f.text = "TEST";
    testutil::HeaderFields second = f;
    second.subcode = 2;
    testutil::HeaderFields filler = f;
    filler.tens = filler.units = 15;
    std::vector<Bytes> pes;
    pes.push_back(testutil::TeletextPes({testutil::HeaderUnit(f), testutil::RowUnit(1, 1, "Erste")},
                                        90000, true));
    pes.push_back(testutil::TeletextPes(
        {testutil::HeaderUnit(second), testutil::RowUnit(1, 1, "Zweite")}, 93600, true));
    pes.push_back(testutil::TeletextPes({testutil::HeaderUnit(filler)}, 97200, true));
    const Bytes ts = testutil::TeletextTs(pes, 0x100);
    const auto card = CardPages(ts, 0x100);
    ASSERT_EQ(card.size(), 2u);
    EXPECT_EQ(card[0][1002], 0);
    EXPECT_EQ(card[1][1002], 2);
    const auto zvbi = testsupport::DecodeZvbiPages(ts, 0x100);
    ASSERT_EQ(zvbi.pages.size(), 1u);
    EXPECT_EQ(zvbi.pages[0].subno, 2);
}
