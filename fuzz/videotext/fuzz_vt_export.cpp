// An arbitrary page (a national option byte, a page and subpage byte, then up
// to 1000 characters) stamped and exported as HTML and as text. The HTML must
// begin with its header lines and end with its closing tags, hold 25 rows,
// every '<' must open one of the export's tags and every '&' one of its
// entities, the tags must be balanced in each row; the text must be 25 lines
// of 40 characters of valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "videotext/VtExport.h"

namespace {

constexpr std::string_view kTags[] = {"<font color=#", "</font>", "<blink>", "</blink>", "<br>\n"};
constexpr std::string_view kEntities[] = {"&nbsp", "&lt;", "&gt;", "&amp;", "&#"};

template <std::size_t N>
std::size_t Match(std::string_view text, std::size_t at, const std::string_view (&words)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (text.substr(at, words[i].size()) == words[i]) return i + 1;
    }
    return 0;
}

void CheckRows(std::string_view body) {
    int rows = 0;
    int font = 0;
    int blink = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '&' && !Match(body, i, kEntities)) std::abort();
        if (body[i] == '>') std::abort();  // a '>' of the page written raw
        if (body[i] != '<') continue;
        const std::size_t tag = Match(body, i, kTags);
        switch (tag) {
            case 1:
                font += 1;
                break;
            case 2:
                font -= 1;
                break;
            case 3:
                blink += 1;
                break;
            case 4:
                blink -= 1;
                break;
            case 5:
                if (font != 0 || blink != 0) std::abort();
                ++rows;
                break;
            default:
                std::abort();  // a '<' of the page written raw
        }
        if (font < 0 || font > 1 || blink < 0 || blink > 1) std::abort();
        // Past the tag: "<font color=#RRGGBB>" is 20 characters.
        i += (tag == 1 ? 20 : kTags[tag - 1].size()) - 1;
        if (tag == 1 && (i >= body.size() || body[i] != '>')) std::abort();
    }
    if (rows != vt::kRows) std::abort();
}

void CheckText(const std::string& text) {
    std::size_t lines = 0;
    std::size_t points = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == '\n') {
            if (points != vt::kCols) std::abort();
            points = 0;
            ++lines;
            continue;
        }
        std::size_t extra = b < 0x80 ? 0 : b >= 0xE0 ? 2 : b >= 0xC2 ? 1 : 9;
        if (b >= 0xF0 || extra == 9 || i + extra >= text.size()) std::abort();
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) std::abort();
        }
        i += extra;
        ++points;
    }
    if (lines != vt::kRows || points != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t national = data[0];
    vt::PageChars page;
    page.fill(' ');
    for (std::size_t i = 3; i < size && i - 3 < page.size(); ++i) page[i - 3] = data[i];

    CheckText(vt::PageText(page, national));
    vt::StampExportHeader(page, 100 + data[1] % 800 + (data[1] & 0x80 ? 1000 : 0), data[2]);
    const std::string html = vt::HtmlExport(page, national);
    const std::string_view head = "<!doctype html public";
    const std::string_view start = "<tt><b>\n";
    const std::string_view tail = "</b></tt></body></html>";
    const std::size_t body = html.find(start);
    if (html.rfind(head, 0) != 0 || body == std::string::npos) std::abort();
    if (html.size() < tail.size() || html.compare(html.size() - tail.size(), tail.size(), tail))
        std::abort();
    CheckRows(std::string_view(html).substr(body + start.size(),
                                            html.size() - tail.size() - body - start.size()));
    return 0;
}
