// The card's teletext pages of real captures against libzvbi's: the same
// pages and subcodes, the same national option, and the same text in rows
// 1-24 of every page both decoders completed.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "CTeletextDecoder.h"
#include "DatagramRecorder.h"
#include "TsTestUtil.h"
#include "testsupport/ZvbiReference.h"

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

// The cells of rows 1-24 where both show a character: control codes show as
// spaces (or held mosaics), block mosaics as libzvbi's private-use codes, and
// the row below a double-height row is not shown (libzvbi puts the lower
// half of the row above there).
std::vector<Mismatch> CompareRows(const Bytes& card, const testsupport::ZvbiPage& z, int national,
                                  size_t& compared) {
    std::vector<Mismatch> out;
    bool belowDoubleHeight = false;
    for (int r = 1; r < 25; ++r) {
        const auto row = std::span<const uint8_t>(card).subspan(size_t(r) * 40, 40);
        const bool hidden = belowDoubleHeight;
        belowDoubleHeight = !hidden && std::find(row.begin(), row.end(), 0x0D) != row.end();
        if (hidden) continue;  // libzvbi shows the lower half of the row above
        bool mosaic = false;
        for (int col = 0; col < 40; ++col) {
            const uint8_t c = card[size_t(r * 40 + col)] & 0x7F;
            const char32_t u = z.cells[size_t(r)][size_t(col)];
            if (c < 0x20) {
                if (c <= 0x07) mosaic = false;
                if (c >= 0x10 && c <= 0x17) mosaic = true;
                continue;
            }
            const bool block = mosaic && (c & 0x20);
            const bool same = block ? (u >= 0xEE00 && u <= 0xEEFF) : u == G0(c, national);
            ++compared;
            if (!same) out.push_back({r, col, c, u});
        }
    }
    return out;
}

struct Capture {
    const char* file;
    uint16_t pid;
    const char* name;
};

constexpr const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";
constexpr const char* kArte = "tsduck-test_012_arte-teletext.ts";

class TeletextReferenceTest : public ::testing::TestWithParam<Capture> {};

TEST_P(TeletextReferenceTest, CardAgreesWithLibzvbi) {
    const std::string path = testutil::TestDataDir() + "/" + GetParam().file;
    const Bytes ts = testutil::ReadFile(path);
    if (ts.empty()) GTEST_SKIP() << "capture not found: " << path;
    const auto zvbi = testsupport::DecodeZvbiPages(ts, GetParam().pid);
    ASSERT_TRUE(zvbi.ok) << zvbi.error;
    const auto card = CardPages(ts, GetParam().pid);

    std::map<Key, Bytes> cardLast;
    for (const auto& d : card) cardLast[{PageNumber(d), d[1002]}] = d;
    std::map<Key, testsupport::ZvbiPage> zvbiLast;
    for (const auto& p : zvbi.pages)
        if (p.page >= 100) zvbiLast[{p.page, p.subno & 0x0F}] = p;
    std::set<Key> cardKeys, zvbiKeys;
    for (auto& [k, v] : cardLast) cardKeys.insert(k);
    for (auto& [k, v] : zvbiLast) zvbiKeys.insert(k);
    ASSERT_FALSE(zvbiKeys.empty());
    EXPECT_EQ(cardKeys, zvbiKeys);

    size_t cells = 0;
    for (const auto& [key, z] : zvbiLast) {
        const auto it = cardLast.find(key);
        if (it == cardLast.end()) continue;
        const Bytes& d = it->second;
        EXPECT_EQ(d[1003], z.national) << "page " << key.first << " " << z.charsetLabel;
        const auto diff = CompareRows(d, z, z.national, cells);
        for (const auto& m : diff)
            ADD_FAILURE() << "page " << key.first << "/" << key.second << " row " << m.row
                          << " column " << m.column << ": card 0x" << std::hex << int(m.card)
                          << ", libzvbi U+" << uint32_t(m.zvbi);
    }
    EXPECT_GT(cells, 0u);
    std::cout << "pages (with subcode) " << zvbiKeys.size() << ", transmissions card "
              << card.size() << " / libzvbi " << zvbi.pages.size() << ", cells compared " << cells
              << "\n";
}

INSTANTIATE_TEST_SUITE_P(Captures, TeletextReferenceTest,
                         ::testing::Values(Capture{kRai, 0x240, "Rai240"},
                                           Capture{kRai, 0x241, "Rai241"},
                                           Capture{kRai, 0x242, "Rai242"},
                                           Capture{kRai, 0x257, "Rai257"},
                                           Capture{kArte, 0x42C, "Arte42C"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
