// dvbctl teletext end to end on broadcast captures: an emulated card plays
// the ARTE teletext capture and the RAI full mux in a loop, dvbctl prints
// pages of them, and every printed row 1-24 must equal what libzvbi (an
// independent decoder) reads from the same file for that page.
//
// The comparison is of the text a viewer reads, with the same conventions on
// both sides: libzvbi's block-mosaic cells (its private-use characters) count
// as spaces, as dvbctl prints mosaic and control cells; the row under a
// double-height row is the lower half of the row above, which dvbctl prints
// empty and libzvbi repeats, so there it is compared as empty. Row 0 (the
// header with the card's page number and the running clock) is not compared.
// A page whose rows changed during the capture (subtitles) may equal any of
// the versions libzvbi saw.
//
// The pages are chosen among those whose every transmission in the capture
// sends all their non-blank rows. Not among them: ARTE's 102/2, whose fourth
// transmission leaves out row 15. libzvbi, reading the file once from the
// start, fills that row from the earlier transmissions; the card does the
// same only for transmissions it saw since this dvbctl switched teletext on,
// so which copy dvbctl prints first depends on where in the loop it starts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "CaptureCard.h"
#include "ClientEnvironment.h"
#include "TsTestUtil.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CServerConnection.h"
#include "testsupport/ZvbiReference.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kArte = "tsduck-test_012_arte-teletext.ts";
constexpr const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";
constexpr int kRows = 25;

using Rows = std::vector<std::string>;  // rows 1-24, UTF-8

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool IsMosaic(char32_t c) { return c >= 0xEE00 && c <= 0xEEFF; }
// vbi_size: 2 double height, 3 double size (the upper halves).
bool UpperHalf(std::uint8_t size) { return size == 2 || size == 3; }

// libzvbi's rows 1-24 by the conventions above.
Rows ReferenceRows(const testsupport::ZvbiPage& page) {
    Rows rows;
    bool lowerHalf = false;
    for (int r = 1; r < kRows; ++r) {
        std::string row;
        bool doubled = false;
        for (int c = 0; c < 40; ++c) {
            const char32_t u = page.cells[size_t(r)][size_t(c)];
            AppendUtf8(row, lowerHalf || IsMosaic(u) ? U' ' : u);
            doubled |= UpperHalf(page.size[size_t(r)][size_t(c)]);
        }
        rows.push_back(row);
        lowerHalf = doubled && !lowerHalf;
    }
    return rows;
}

// Every version libzvbi saw of each (page, subcode).
using Reference = std::map<std::pair<int, int>, std::set<Rows>>;

Reference ReadReference(const fs::path& file, std::uint16_t pid) {
    const auto result = testsupport::ReadZvbiPages(file.string(), pid);
    EXPECT_TRUE(result.ok) << result.error;
    Reference ref;
    for (const auto& p : result.pages)
        if (p.page > 0) ref[{p.page, p.subno}].insert(ReferenceRows(p));
    return ref;
}

struct Printed {
    int exitCode = -1;
    std::vector<std::string> lines;  // without their '\n'
    std::string err;
};

std::string Quote(const std::string& s) { return "'" + s + "'"; }

Printed RunDvbctl(const std::string& args, const fs::path& dir) {
    const fs::path errFile = dir / "dvbctl.err";
    const std::string cmd = Quote(DVBCTL_PATH) + " " + args + " 2>" + Quote(errFile.string());
    Printed out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    std::string text;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
    const int status = pclose(p);
    out.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    for (std::size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
        out.lines.push_back(text.substr(at, nl - at));
    std::ifstream e(errFile);
    out.err.assign(std::istreambuf_iterator<char>(e), {});
    return out;
}

std::string Show(const Rows& rows) {
    std::string s;
    for (std::size_t i = 0; i < rows.size(); ++i)
        s += (i + 1 < 10 ? " " : "") + std::to_string(i + 1) + " |" + rows[i] + "|\n";
    return s;
}

struct Wanted {
    int page, subno;  // libzvbi's subcode; its S1 is the subpage dvbctl is asked for
    const char* why;
};

class TeletextCaptureTest : public CaptureCardTest {
  protected:
    void SetUp() override { StartCard("ttxcap", 35050, kArte, kRai); }

    void Tune(const std::string& args) {
        const Printed t = RunDvbctl("tune " + args, dir_);
        ASSERT_EQ(t.exitCode, 0) << t.err;
    }

    // dvbctl's page against libzvbi's; the number of rows compared.
    void Compare(const Reference& ref, std::uint16_t pid, const Wanted& w) {
        SCOPED_TRACE("page " + std::to_string(w.page) + " subcode " + std::to_string(w.subno) +
                     " (" + w.why + ")");
        const auto it = ref.find({w.page, w.subno});
        ASSERT_NE(it, ref.end()) << "libzvbi did not find the page";
        std::string args = "teletext --pid " + std::to_string(pid) + " --page " +
                           std::to_string(w.page) + " --text --timeout 40";
        if (w.subno != 0) args += " --sub " + std::to_string(w.subno & 0x0F);
        const Printed out = RunDvbctl(args, dir_);
        ASSERT_EQ(out.exitCode, 0) << out.err;
        ASSERT_EQ(out.lines.size(), std::size_t(kRows));
        const Rows printed(out.lines.begin() + 1, out.lines.end());
        if (it->second.count(printed)) return;
        ADD_FAILURE() << "dvbctl printed:\n"
                      << Show(printed) << "libzvbi read (one of " << it->second.size()
                      << " versions):\n"
                      << Show(*it->second.begin());
    }
};

TEST_F(TeletextCaptureTest, ArtePagesEqualLibzvbisReading) {
    const Reference ref = ReadReference(data_ / kArte, 0x42C);
    ASSERT_FALSE(ref.empty());
    Tune("--freq 11494000 --lof 9750000 --sr 22000000 --pol H --tone 0");
    const Wanted pages[] = {
        {100, 0, "index with mosaics and French letters"},
        {101, 0, "plain text"},
        {102, 1, "first of two subpages"},
        {484, 1, "double height, first of two subpages"},
        {484, 2, "double height, second of two subpages"},
        {152, 0, "German national option"},
        {199, 0, "every row full of national characters"},
        {400, 0, "mosaics between accented text"},
        {431, 0, "double height and accents"},
        {481, 0, "double height, no mosaics"},
        {888, 0, "subtitle page"},
    };
    for (const Wanted& w : pages) Compare(ref, 0x42C, w);
}

// The export of a real page: the file dvbctl writes is the whole HTML page,
// 25 rows, with the page's words in it.
TEST_F(TeletextCaptureTest, ArtePageAsHtml) {
    Tune("--freq 11494000 --lof 9750000 --sr 22000000 --pol H --tone 0");
    const fs::path file = dir_ / "p102.html";
    const Printed out = RunDvbctl(
        "teletext --pid 0x42C --page 102 --sub 1 --timeout 40 --html " + Quote(file.string()),
        dir_);
    ASSERT_EQ(out.exitCode, 0) << out.err;
    ASSERT_EQ(out.lines.size(), 1u);
    // The subpage total depends on which copies arrived before the first
    // subpage: the second subpage may or may not be in the cache yet.
    const bool one = out.lines[0] == "page 102 01/01 written to " + file.string();
    const bool two = out.lines[0] == "page 102 01/02 written to " + file.string();
    EXPECT_TRUE(one || two) << out.lines[0];
    std::ifstream in(file, std::ios::binary);
    const std::string html{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(html.rfind("<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">\n", 0),
              0u);
    std::size_t rows = 0;
    for (std::size_t at = 0; (at = html.find("<br>\n", at)) != std::string::npos; at += 5) ++rows;
    EXPECT_EQ(rows, std::size_t(kRows));
    EXPECT_NE(html.find("CREDITS"), std::string::npos);
    EXPECT_NE(html.find("Winterer"), std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 23), "</b></tt></body></html>");
}

TEST_F(TeletextCaptureTest, RaiPagesEqualLibzvbisReading) {
    Tune("--freq 12188000 --lof 10600000 --sr 27500000 --pol V --tone 1");
    const Reference ita = ReadReference(data_ / kRai, 0x240);
    ASSERT_FALSE(ita.empty());
    for (const Wanted& w : {Wanted{640, 0, "Italian, mosaics and double height"},
                            Wanted{641, 0, "Italian"}, Wanted{643, 2, "a subpage alone"}})
        Compare(ita, 0x240, w);
    const Reference other = ReadReference(data_ / kRai, 0x241);
    for (const Wanted& w : {Wanted{415, 0, "second teletext PID, Italian"},
                            Wanted{416, 0, "English national option"}})
        Compare(other, 0x241, w);
}

}  // namespace
