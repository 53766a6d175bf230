// dvbctl teletext without the card: its command line and the wait for the
// requested page or subpage among the datagrams the card sends.
#include <gtest/gtest.h>

#include <cstdio>

#include "TeletextPage.h"

namespace {

std::optional<TeletextRequest> Parse(std::vector<std::string> args, std::string* why = nullptr) {
    std::string error;
    auto r = ParseTeletextRequest(args, error);
    if (why) *why = error;
    return r;
}

TEST(TeletextRequest, ReadsPidPageSubpageOutputAndTimeout) {
    auto r = Parse({"--pid", "0x42C", "--page", "100"});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->pid, 0x42C);
    EXPECT_EQ(r->page, 100);
    EXPECT_EQ(r->sub, 0);
    EXPECT_TRUE(r->htmlFile.empty());
    EXPECT_EQ(r->timeoutSeconds, 60);

    // --text takes no value and may stand anywhere; the PID also decimal.
    r = Parse({"--text", "--pid", "104", "--page", "899", "--sub", "64", "--timeout", "5"});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->pid, 104);
    EXPECT_EQ(r->page, 899);
    EXPECT_EQ(r->sub, 64);
    EXPECT_EQ(r->timeoutSeconds, 5);

    r = Parse({"--svl", "demo.svl", "--program", "Das Erste", "--pid", "0104", "--page", "101",
               "--html", "p.html"});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->pid, 104) << "a leading zero is decimal, not octal";
    EXPECT_EQ(r->htmlFile, "p.html");
    EXPECT_EQ(r->options.Text("program"), "Das Erste");
}

TEST(TeletextRequest, RefusesWhatIsOutOfRangeOrMissing) {
    const std::vector<std::vector<std::string>> bad = {
        {"--page", "100"},                                    // no PID
        {"--pid", "8192", "--page", "100"},                   // beyond 13 bits
        {"--pid", "0x2000", "--page", "100"},                 //
        {"--pid", "-1", "--page", "100"},                     //
        {"--pid", "0x", "--page", "100"},                     //
        {"--pid", "104"},                                     // no page
        {"--pid", "104", "--page", "99"},                     //
        {"--pid", "104", "--page", "900"},                    //
        {"--pid", "104", "--page", "0x64"},                   // pages are decimal
        {"--pid", "104", "--page", "1a0"},                    //
        {"--pid", "104", "--page", "100", "--sub", "0"},      // subpages count from 1
        {"--pid", "104", "--page", "100", "--sub", "65"},     //
        {"--pid", "104", "--page", "100", "--timeout", "0"},  //
        {"--pid", "104", "--page", "100", "--text", "--html", "x.html"},
        {"--pid", "104", "--page", "100", "--html"},                  // missing value
        {"--pid", "104", "--page", "100", "--program", "Das Erste"},  // no list
        {"--pid", "104", "--page", "100", "--seconds", "3"},          // unknown option
        {"--pid", "104", "--page", "100", "stray"},
    };
    for (const auto& args : bad) {
        std::string why;
        std::string line;
        for (const auto& a : args) line += a + " ";
        EXPECT_FALSE(Parse(args, &why)) << line;
        EXPECT_FALSE(why.empty()) << line;
    }
    std::string why;
    Parse({"--pid", "104", "--page", "100", "--text", "--html", "x.html"}, &why);
    EXPECT_EQ(why, "--text und --html schließen einander aus");
    Parse({"--pid", "104", "--page", "100", "--colour", "red"}, &why);
    EXPECT_EQ(why, "unbekannte Option --colour");
}

// A datagram as the card sends it: header "P<page>" at 7-10, a clock, S1,
// and `row1` in row 1.
std::vector<std::uint8_t> Datagram(int page, int s1, const std::string& row1) {
    std::vector<std::uint8_t> d(vt::kDatagramSize, 0);
    std::fill_n(d.begin(), vt::kPageChars, ' ');
    char header[41];
    std::snprintf(header, sizeof header, "       P%03d TEST      Di 08.12. 18:00:%02d", page, s1);
    std::copy_n(header, vt::kCols, d.begin());
    std::copy(row1.begin(), row1.end(), d.begin() + vt::kCols);
    d[1000] = static_cast<std::uint8_t>(page / 100 % 8);
    d[1002] = static_cast<std::uint8_t>(s1);
    d[vt::kNationalOffset] = 1;
    return d;
}

std::string Row1(const vt::VtSubpage& record) {
    return std::string(record.chars.begin() + vt::kCols, record.chars.begin() + 2 * vt::kCols);
}

TEST(TeletextPageWait, ThePageOnceItArrivesNotBeforeAndNotAnother) {
    CTeletextPageWait wait(100, 0);
    EXPECT_FALSE(wait.Feed(Datagram(101, 0, "page 101")));
    EXPECT_FALSE(wait.Feed(std::vector<std::uint8_t>(1959, ' ')));  // not a page
    EXPECT_FALSE(wait.Done());
    EXPECT_EQ(wait.SubpageCount(), 0);
    EXPECT_TRUE(wait.Feed(Datagram(100, 0, "page 100")));
    EXPECT_EQ(wait.FoundIndex(), 0);
    EXPECT_EQ(Row1(wait.Found()).substr(0, 8), "page 100");
    EXPECT_EQ(wait.Fed(), 3);
    EXPECT_EQ(wait.Accepted(), 2);
}

TEST(TeletextPageWait, WithoutSubpageTheFirstThatArrives) {
    // Subpage 2 of 3 comes first: that is the one, not the lower record.
    CTeletextPageWait wait(150, 0);
    EXPECT_TRUE(wait.Feed(Datagram(150, 2, "Tafel 2/3")));
    EXPECT_EQ(wait.FoundIndex(), 1);
    EXPECT_EQ(wait.SubpageCount(), 3);
    EXPECT_EQ(Row1(wait.Found()).substr(0, 9), "Tafel 2/3");
}

TEST(TeletextPageWait, ASubpageWaitsForItsOwnRecord) {
    CTeletextPageWait wait(150, 3);
    EXPECT_FALSE(wait.Feed(Datagram(150, 1, "Tafel 1/3")));
    EXPECT_FALSE(wait.Feed(Datagram(151, 0, "page 151")));
    EXPECT_FALSE(wait.Feed(Datagram(150, 2, "Tafel 2/3")));
    EXPECT_EQ(wait.SubpageCount(), 3);
    // (The cache drops a page that follows itself directly, so another one between.)
    EXPECT_FALSE(wait.Feed(Datagram(151, 0, "page 151")));
    EXPECT_TRUE(wait.Feed(Datagram(150, 3, "Tafel 3/3")));
    EXPECT_EQ(wait.FoundIndex(), 2);
    EXPECT_EQ(Row1(wait.Found()).substr(0, 9), "Tafel 3/3");
}

TEST(TeletextPageWait, TheTimeOutSaysWhatArrived) {
    TeletextRequest r;
    r.page = 150;
    r.sub = 4;
    r.timeoutSeconds = 7;
    CTeletextPageWait wait(150, 4);
    wait.Feed(Datagram(150, 1, "Tafel 1/3"));
    wait.Feed(Datagram(101, 0, "page 101"));
    wait.Feed(std::vector<std::uint8_t>(12, 0));
    EXPECT_EQ(TimeoutMessage(wait, r),
              "Seite 150 Unterseite 4 nicht innerhalb von 7 s empfangen (die Seite hat 3 "
              "Unterseiten); 3 Seiten eingetroffen, 2 im Speicher");
    r.sub = 0;
    EXPECT_EQ(TimeoutMessage(CTeletextPageWait(102, 0), r),
              "Seite 150 nicht innerhalb von 7 s empfangen; 0 Seiten eingetroffen, 0 im Speicher");
}

TEST(TeletextOutput, TheHtmlIsStampedOnACopy) {
    CTeletextPageWait wait(100, 0);
    ASSERT_TRUE(wait.Feed(Datagram(100, 0, "Seite")));
    const vt::PageChars before = wait.Found().chars;
    const std::string html = RenderHtml(wait.Found(), 100, 0);
    EXPECT_EQ(html.rfind("<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">\n", 0),
              0u);
    EXPECT_EQ(wait.Found().chars, before) << "the cached record keeps its header";
    const std::string text = RenderText(wait.Found());
    ASSERT_EQ(text.size(), 25u * 41u);
    EXPECT_EQ(text.substr(41, 41), "Seite" + std::string(35, ' ') + "\n");
}

}  // namespace
