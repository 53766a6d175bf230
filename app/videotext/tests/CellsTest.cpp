// A page turned into cells: the national characters, the screen's attributes
// (at their own cell), the composed header, the link map and the click, and
// the export's attributes (from the next cell on).
#include <gtest/gtest.h>

#include "PageBuilder.h"
#include "videotext/VtCells.h"

using vt::Colour;
using vt::LayoutForDisplay;
using vt::LayoutForExport;
using vttest::PageBuilder;

// libzvbi's character table, an independent reading of the same standard.
extern "C" unsigned int vbi_teletext_unicode(int set, int subset, unsigned int code);

namespace {

constexpr std::uint8_t kGerman = 1;

std::string RowText(const vt::DisplayRow& row) {
    std::string s;
    for (const auto& cell : row.cells) s.push_back(cell.mosaic ? '#' : char(cell.glyph));
    return s;
}

std::string RowText(const std::array<vt::ExportCell, vt::kCols>& row) {
    std::string s;
    for (const auto& cell : row) s.push_back(cell.mosaic ? '#' : char(cell.glyph));
    return s;
}

std::optional<int> Click(const PageBuilder& page, int row, int column) {
    return vt::PageAt(LayoutForDisplay(page.chars, kGerman).links, row, column);
}

}  // namespace

TEST(NationalChars, GermanOptionAsTheCardShowsIt) {
    EXPECT_EQ(vt::G0Char('{', kGerman), 0xE4u);
    EXPECT_EQ(vt::G0Char('|', kGerman), 0xF6u);
    EXPECT_EQ(vt::G0Char('}', kGerman), 0xFCu);
    EXPECT_EQ(vt::G0Char('[', kGerman), 0xC4u);
    EXPECT_EQ(vt::G0Char('\\', kGerman), 0xD6u);
    EXPECT_EQ(vt::G0Char(']', kGerman), 0xDCu);
    EXPECT_EQ(vt::G0Char('~', kGerman), 0xDFu);
    EXPECT_EQ(vt::G0Char('@', kGerman), 0xA7u);
    EXPECT_EQ(vt::G0Char('`', kGerman), 0xB0u);
    EXPECT_EQ(vt::G0Char('#', kGerman), U'#');
    EXPECT_EQ(vt::G0Char('A', kGerman), U'A');
    EXPECT_EQ(vt::G0Char(0x7F, kGerman), 0x25A0u);
    EXPECT_EQ(vt::G0Char('{' | 0x80, kGerman), 0xE4u);  // parity bit
    EXPECT_EQ(vt::G0Char(0x05, kGerman), U' ');
    EXPECT_EQ(vt::G0Char('{', 7), 0xE4u);  // the reserved option reads as German
    EXPECT_EQ(vt::G0Char('#', 0), 0xA3u);  // English pound
    EXPECT_EQ(vt::G0Char('_', 0), U'#');
}

TEST(NationalChars, EveryOptionAgreesWithLibzvbi) {
    // libzvbi numbers the subsets alphabetically; the Latin G0 set is its set 1.
    const int zvbiSubset[7] = {2, 5, 12, 6, 4, 9, 1};
    for (std::uint8_t option = 0; option < 7; ++option) {
        for (unsigned code = 0x20; code < 0x80; ++code) {
            EXPECT_EQ(std::uint32_t(vt::G0Char(std::uint8_t(code), option)),
                      vbi_teletext_unicode(1, zvbiSubset[option], code))
                << "option " << int(option) << " code 0x" << std::hex << code;
        }
    }
}

TEST(DisplayLayout, AttributesTakeEffectAtTheirOwnCell) {
    PageBuilder page;
    page.Put(1, 0,
             "\x01"
             "ABC\x1D"
             "D\x1C"
             "E");
    page.Put(2, 0, "abc{");
    const auto shown = LayoutForDisplay(page.chars, kGerman);
    const auto& row1 = shown.rows[1].cells;
    EXPECT_EQ(row1[0].fg, vt::Red);  // the code's own cell already red, drawn as a space
    EXPECT_EQ(row1[0].glyph, U' ');
    EXPECT_EQ(row1[1].fg, vt::Red);
    EXPECT_EQ(row1[1].glyph, U'A');
    EXPECT_EQ(row1[3].bg, vt::Black);
    EXPECT_EQ(row1[4].bg, vt::Red);  // new background: the foreground
    EXPECT_EQ(row1[5].bg, vt::Red);
    EXPECT_EQ(row1[6].bg, vt::Black);
    EXPECT_EQ(row1[7].bg, vt::Black);
    // The next row starts white on black again.
    const auto& row2 = shown.rows[2].cells;
    EXPECT_EQ(row2[0].fg, vt::White);
    EXPECT_EQ(row2[0].bg, vt::Black);
    EXPECT_EQ(row2[3].glyph, 0xE4u);
    EXPECT_EQ(RowText(shown.rows[2]).substr(0, 3), "abc");
}

TEST(DisplayLayout, DoubleHeightRowHidesTheNextRow) {
    PageBuilder page;
    page.Put(3, 0,
             "AB\x0D"
             "BIG\x0C"
             "x");
    page.Put(4, 0, "hidden text");
    page.Put(5, 0, "shown");
    const auto shown = LayoutForDisplay(page.chars, kGerman);
    EXPECT_TRUE(shown.rows[3].doubleHeight);
    EXPECT_FALSE(shown.rows[3].cells[1].doubleHeight);
    EXPECT_TRUE(shown.rows[3].cells[2].doubleHeight);
    EXPECT_TRUE(shown.rows[3].cells[5].doubleHeight);
    EXPECT_FALSE(shown.rows[3].cells[7].doubleHeight);
    EXPECT_TRUE(shown.rows[4].hidden);
    EXPECT_FALSE(shown.rows[5].hidden);
    EXPECT_FALSE(shown.rows[2].hidden);
    EXPECT_EQ(RowText(shown.rows[5]).substr(0, 5), "shown");
}

TEST(DisplayLayout, MosaicsHoldAndSeparatedGlyphs) {
    PageBuilder page;
    // Mosaic red, a full block, hold, mosaic green (shows the held block),
    // release (at once: a space), then alphanumerics blasting through.
    page.Put(1, 0,
             "\x11\x7F\x1E\x12\x1F"
             "A5");
    // Separated: 0x23 keeps its glyph, 0x63 has none and is a space;
    // contiguous again: 0x63 is a block.
    page.Put(2, 0, "\x11\x1A\x23\x63\x19\x63");
    const auto shown = LayoutForDisplay(page.chars, kGerman);
    const auto& r1 = shown.rows[1].cells;
    EXPECT_FALSE(r1[0].mosaic);
    EXPECT_TRUE(r1[1].mosaic);
    EXPECT_EQ(r1[1].code, 0x7F);
    EXPECT_EQ(r1[1].fg, vt::Red);
    EXPECT_TRUE(r1[2].mosaic);  // the hold code's cell shows the held block
    EXPECT_TRUE(r1[3].mosaic);
    EXPECT_EQ(r1[3].code, 0x7F);
    EXPECT_EQ(r1[3].fg, vt::Green);
    EXPECT_FALSE(r1[4].mosaic);
    EXPECT_EQ(r1[4].glyph, U' ');
    EXPECT_FALSE(r1[5].mosaic);  // bit 5 clear: a letter, even in mosaic mode
    EXPECT_EQ(r1[5].glyph, U'A');
    EXPECT_TRUE(r1[6].mosaic);  // a digit code in mosaic mode is a block pattern
    EXPECT_EQ(shown.links[1][6], 0);

    const auto& r2 = shown.rows[2].cells;
    EXPECT_TRUE(r2[2].mosaic);
    EXPECT_TRUE(r2[2].separated);
    EXPECT_EQ(r2[2].code, 0x23);
    EXPECT_FALSE(r2[3].mosaic);
    EXPECT_EQ(r2[3].glyph, U' ');
    EXPECT_TRUE(r2[5].mosaic);
    EXPECT_FALSE(r2[5].separated);
    EXPECT_EQ(r2[5].code, 0x63);
}

TEST(DisplayLayout, OnlyTheRowsAsked) {
    PageBuilder page;
    page.Put(0, 8, "123");
    page.Put(1, 0, "456 text");
    const auto header = LayoutForDisplay(page.chars, kGerman, 1);
    EXPECT_EQ(header.rowCount, 1);
    EXPECT_EQ(header.links[0][8], '1');
    EXPECT_EQ(header.links[1][0], 0);
    EXPECT_EQ(header.rows[1].cells[1].glyph, U' ');
}

TEST(DisplayHeader, PageNumberLiveClockAndSearchColour) {
    const auto cachedPage =
        PageBuilder().Put(0, 0, "xxxxxxxx CACHED HEADER 000000 99:99:99").Put(1, 0, "row");
    std::array<std::uint8_t, vt::kCols> live;
    const std::string liveText = "       P150 LIVE HEADER TEXT    12:34:56";
    std::copy(liveText.begin(), liveText.end(), live.begin());

    const auto composed = vt::ComposeDisplayHeader(&cachedPage.chars, live, 150);
    const std::string header(composed.begin(), composed.begin() + 40);
    EXPECT_EQ(header, std::string("  P150 \x07 CACHED HEADER 000000 ") + "  12:34:56");
    EXPECT_EQ(composed[40], 'r');

    const auto searching = vt::ComposeDisplayHeader(nullptr, live, 205);
    EXPECT_EQ(std::string(searching.begin(), searching.begin() + 40),
              std::string("  P205 \x02") + liveText.substr(8));
    EXPECT_EQ(searching[40], ' ');
    const auto shown = LayoutForDisplay(searching, kGerman, 1);
    EXPECT_EQ(shown.rows[0].cells[2].fg, vt::White);
    EXPECT_EQ(shown.rows[0].cells[12].fg, vt::Green);
    EXPECT_EQ(shown.rows[0].cells[12].glyph, U'L');

    // A cached page without a valid current record: the live header in white.
    const auto noRecord = vt::ComposeDisplayHeader(&cachedPage.chars, live, 150, false);
    EXPECT_EQ(std::string(noRecord.begin(), noRecord.begin() + 40),
              std::string("  P150 \x07") + liveText.substr(8));
    EXPECT_EQ(noRecord[40], 'r');

    const auto shortNumber = vt::ComposeDisplayHeader(&cachedPage.chars, live, 7);
    EXPECT_EQ(std::string(shortNumber.begin(), shortNumber.begin() + 8), "  P7   \x07");
}

TEST(PageClick, ExactlyThreeDigitsOfAPageNumber) {
    PageBuilder page;
    page.Put(2, 5, "Sport 205 oder 12 und 1234, 099 990");
    for (int column = 11; column <= 13; ++column) EXPECT_EQ(Click(page, 2, column), 205);
    EXPECT_EQ(Click(page, 2, 10), 205);  // just left of it: the digits to the right count
    EXPECT_EQ(Click(page, 2, 9), std::nullopt);
    EXPECT_EQ(Click(page, 2, 20), std::nullopt);  // "12"
    EXPECT_EQ(Click(page, 2, 21), std::nullopt);
    EXPECT_EQ(Click(page, 2, 28), std::nullopt);  // "1234"
    EXPECT_EQ(Click(page, 2, 34), std::nullopt);  // "099"
    EXPECT_EQ(Click(page, 2, 38), std::nullopt);  // "990"
    EXPECT_EQ(Click(page, 3, 12), std::nullopt);  // an empty row
    EXPECT_EQ(Click(page, -1, 12), std::nullopt);
    EXPECT_EQ(Click(page, 25, 12), std::nullopt);
    EXPECT_EQ(Click(page, 2, 40), std::nullopt);
}

TEST(PageClick, NumbersAtTheEdgesOfARow) {
    PageBuilder page;
    page.Put(1, 0, "300 at the very start");
    page.Put(2, 37, "456");
    page.Put(3, 36, "4567");
    page.Put(4, 36, " 45");
    EXPECT_EQ(Click(page, 1, 1), std::nullopt);  // the digits run past column 0
    EXPECT_EQ(Click(page, 2, 39), 456);
    EXPECT_EQ(Click(page, 2, 37), 456);
    EXPECT_EQ(Click(page, 3, 38), std::nullopt);
    EXPECT_EQ(Click(page, 4, 38), std::nullopt);  // two digits at the end
}

TEST(PageClick, DoubleHeightDigitsAreLinksInTheRowBelow) {
    PageBuilder page;
    page.Put(5, 0,
             "Tipp\x0D"
             "Seite 321");
    page.Put(6, 0, "unten 654");
    page.Put(7, 0,
             "\x11"
             "777 \x07"
             "888");
    const auto shown = LayoutForDisplay(page.chars, kGerman);
    EXPECT_EQ(shown.links[6][11], '3');
    EXPECT_EQ(vt::PageAt(shown.links, 6, 12), 321);
    EXPECT_EQ(vt::PageAt(shown.links, 5, 12), 321);
    EXPECT_EQ(shown.links[6][6], 0);  // the hidden row's own digits are not links
    EXPECT_EQ(shown.links[6][7], 0);
    EXPECT_EQ(vt::PageAt(shown.links, 7, 2), std::nullopt);  // mosaic cells
    EXPECT_EQ(vt::PageAt(shown.links, 7, 7), 888);
}

TEST(ExportLayout, AttributesTakeEffectFromTheNextCell) {
    PageBuilder page;
    page.Put(1, 0,
             "\x01"
             "A\x1D"
             "B\x12\x7F\x07"
             "C");
    const auto cells = LayoutForExport(page.chars, kGerman);
    const auto& r = cells[1];
    EXPECT_EQ(r[0].fg, vt::White);
    EXPECT_EQ(r[1].fg, vt::Red);
    EXPECT_EQ(r[1].glyph, U'A');
    EXPECT_EQ(r[2].bg, vt::Red);  // the background changes at its own cell
    EXPECT_EQ(r[4].fg, vt::Red);  // mosaic green from the next cell on
    EXPECT_FALSE(r[4].mosaic);
    EXPECT_EQ(r[5].fg, vt::Green);
    EXPECT_TRUE(r[5].mosaic);
    EXPECT_EQ(r[5].code, 0x20);
    EXPECT_TRUE(r[6].mosaic == false && r[6].fg == vt::Green);
    EXPECT_EQ(r[7].fg, vt::White);
    EXPECT_EQ(r[7].glyph, U'C');
}

TEST(ExportLayout, FlashConcealAndIgnoredCodes) {
    PageBuilder page;
    page.Put(1, 0,
             "\x08"
             "AB\x09"
             "C\x18"
             "SECRET\x03"
             "D\x0A\x0B\x0E\x0F\x1B"
             "E");
    const auto cells = LayoutForExport(page.chars, kGerman);
    const auto& r = cells[1];
    EXPECT_TRUE(r[0].flash);
    EXPECT_TRUE(r[1].flash);
    EXPECT_TRUE(r[2].flash);
    EXPECT_FALSE(r[3].flash);
    EXPECT_FALSE(r[4].flash);
    EXPECT_EQ(RowText(r).substr(0, 19), " AB C        D     ");  // SECRET concealed
    EXPECT_EQ(r[13].fg, vt::Yellow);
    EXPECT_EQ(r[19].glyph, U'E');
    EXPECT_EQ(r[19].fg, vt::Yellow);
}

TEST(ExportLayout, DoubleHeightRowIsCopiedAndHoldShowsTheBlock) {
    PageBuilder page;
    page.Put(5, 0,
             "\x0D"
             "BIG");
    page.Put(6, 0, "small");
    page.Put(8, 0,
             "\x11\x7F\x1E\x12\x1F\x13"
             "A");
    const auto cells = LayoutForExport(page.chars, kGerman);
    EXPECT_EQ(RowText(cells[5]).substr(0, 6), " BIG  ");
    EXPECT_EQ(RowText(cells[6]).substr(0, 6), " BIG  ");
    const auto& r = cells[8];
    EXPECT_EQ(RowText(r).substr(0, 7), " # ## A");  // hold on after its own cell, off after release
    EXPECT_EQ(r[3].fg, vt::Red);
    EXPECT_EQ(r[4].fg, vt::Green);
}

TEST(ExportLayout, HeaderStampOfPageAndSubpageIndex) {
    PageBuilder page;
    page.Put(0, 0, "ABCDEFGHIJ");
    vt::StampExportHeader(page.chars, 150, 0);
    EXPECT_EQ(page.Row(0).substr(0, 10), " 32.00  IJ");
    vt::StampExportHeader(page.chars, 899, 63);
    EXPECT_EQ(page.Row(0).substr(0, 10), "31f.3f  IJ");
    vt::StampExportHeader(page.chars, 100, 10);
    EXPECT_EQ(page.Row(0).substr(0, 10), "  0.0a  IJ");
}
