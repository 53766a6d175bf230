// A page as an HTML file (compared byte for byte with a file written by hand
// from the export's rules) and as plain text.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "PageBuilder.h"
#include "videotext/VtExport.h"

using vttest::PageBuilder;

namespace {

constexpr std::uint8_t kGerman = 1;
constexpr std::uint8_t kEnglish = 0;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Colours, entities, national characters, flash, mosaics, double height and
// conceal, one row each.
PageBuilder ReferencePage() {
    PageBuilder page;
    page.Put(0, 0, "xxxxxxxxHallo");
    page.Put(1, 0, "\x01Rot\x07<&>");
    page.Put(2, 0, "Gr}~e {|} [\\]");
    page.Put(3, 0,
             "\x08"
             "Blink\x09!");
    page.Put(4, 0, "\x12\x7F\x7F\x07x");
    page.Put(5, 0, "\x0DGross");
    page.Put(6, 0, "weg");
    page.Put(7, 0, "\x18geheim\x07ok");
    page.Put(8, 0,
             "\x01\x08"
             "A\x02"
             "B");
    return page;
}

std::string Row(const std::string& text, std::size_t row) {
    std::size_t begin = 0;
    for (std::size_t r = 0; r < row; ++r) begin = text.find('\n', begin) + 1;
    return text.substr(begin, text.find('\n', begin) - begin);
}

}  // namespace

TEST(HtmlExport, MatchesTheFileWrittenByHand) {
    const std::string expected = ReadFile(std::string(VT_TEST_DATA) + "/VT150-00.html");
    ASSERT_FALSE(expected.empty()) << "reference file missing in " << VT_TEST_DATA;
    PageBuilder page = ReferencePage();
    vt::StampExportHeader(page.chars, 150, 0);
    const std::string html = vt::HtmlExport(page.chars, kGerman);
    const auto diff = std::mismatch(html.begin(), html.end(), expected.begin(), expected.end());
    EXPECT_EQ(html, expected) << "first difference at byte " << (diff.first - html.begin());
}

TEST(HtmlExport, OtherNationalOptionsUseLatin1OrCharacterReferences) {
    PageBuilder page;
    page.Put(1, 0, "A[#B");
    const std::string html = vt::HtmlExport(page.chars, kEnglish);
    EXPECT_NE(html.find("\nA&#8592;\xA3"
                        "B &nbsp"),
              std::string::npos);  // arrow, pound
    PageBuilder spaced;
    spaced.Put(1, 0, "  [");
    EXPECT_NE(vt::HtmlExport(spaced.chars, kEnglish).find("\n &nbsp;&#8592; &nbsp"),
              std::string::npos);
}

TEST(HtmlExport, FileNameOfPageAndSubpage) {
    EXPECT_EQ(vt::ExportFileName("/tmp/vt", 150, 0), "/tmp/vt/Unbekannt/VT150-00.html");
    EXPECT_EQ(vt::ExportFileName("", 899, 12), "/Unbekannt/VT899-12.html");
}

TEST(PageText, RowsOfFortyCharactersInUtf8) {
    const std::string text = vt::PageText(ReferencePage().chars, kGerman);
    // 25 lines, each of 40 characters; the eight national characters are two bytes each.
    EXPECT_EQ(text.size(), std::size_t(25 * 41 + 8));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(Row(text, 0), "xxxxxxxxHallo" + std::string(27, ' '));
    EXPECT_EQ(Row(text, 1), " Rot <&>" + std::string(32, ' '));
    EXPECT_EQ(Row(text, 2),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xC3\xA4\xC3\xB6\xC3\xBC \xC3\x84\xC3\x96\xC3\x9C" +
                  std::string(27, ' '));
    EXPECT_EQ(Row(text, 3), " Blink !" + std::string(32, ' '));
    EXPECT_EQ(Row(text, 4), "    x" + std::string(35, ' '));  // mosaics as spaces
    EXPECT_EQ(Row(text, 5), " Gross" + std::string(34, ' '));
    EXPECT_EQ(Row(text, 6), std::string(40, ' '));                 // under the double-height row
    EXPECT_EQ(Row(text, 7), "        ok" + std::string(30, ' '));  // concealed
    EXPECT_EQ(Row(text, 8), "  A B" + std::string(35, ' '));
    EXPECT_EQ(Row(text, 24), std::string(40, ' '));
}

TEST(PageText, EnglishCharactersAndTheBlock) {
    PageBuilder page;
    page.Put(1, 0, "#_\x7F[");
    const std::string row = Row(vt::PageText(page.chars, kEnglish), 1);
    EXPECT_EQ(row.substr(0, 10), "\xC2\xA3#\xE2\x96\xA0\xE2\x86\x90 ");
}
