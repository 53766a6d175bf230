#include "videotext/VtExport.h"

#include <cstdio>

namespace vt {

namespace {

constexpr const char* kHtmlHead =
    "<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">\n"
    "<html><head>\n"
    "<meta charset=iso-8859-1\">\n"
    "<head><body text=\"#FFFFFF\" bgcolor=\"#000000\">\n"
    "<tt><b>\n";
constexpr const char* kHtmlTail = "</b></tt></body></html>";

constexpr const char* kHtmlColours[8] = {"#000000", "#FF0000", "#00FF00", "#FFFF00",
                                         "#0000FF", "#FF00FF", "#00FFFF", "#FFFFFF"};

bool ShowsSpace(const ExportCell& cell) { return cell.mosaic || cell.glyph == U' '; }

// One visible character in ISO 8859-1, else as a numeric character reference.
// '<', '>' and '&' of the page are written as entities: written raw they
// would open a tag or an entity of their own and break the file.
void AppendHtmlChar(std::string& out, char32_t c) {
    if (c == U'<') {
        out += "&lt;";
    } else if (c == U'>') {
        out += "&gt;";
    } else if (c == U'&') {
        out += "&amp;";
    } else if (c <= 0xFF) {
        out += char(c);
    } else {
        out += "&#" + std::to_string(std::uint32_t(c)) + ";";
    }
}

// The tags of one row: font colour outside, blink inside.
class RowTags {
  public:
    explicit RowTags(std::string& out) : out_(out) {}

    void Set(Colour fg, bool flash) {
        if (fg != fg_) {
            CloseBlink();
            if (fg_ != White) out_ += "</font>";
            if (fg != White) out_ += std::string("<font color=") + kHtmlColours[fg] + ">";
            fg_ = fg;
        }
        if (flash && !blink_) out_ += "<blink>";
        if (!flash) CloseBlink();
        blink_ = flash;
    }
    void Close() { Set(White, false); }

  private:
    void CloseBlink() {
        if (blink_) out_ += "</blink>";
        blink_ = false;
    }

    std::string& out_;
    Colour fg_ = White;
    bool blink_ = false;
};

void AppendHtmlRow(std::string& out, const std::array<ExportCell, kCols>& row) {
    RowTags tags(out);
    bool nbsp = false;       // the next space of a run is written as "&nbsp"
    bool afterNbsp = false;  // the last thing written was an unterminated "&nbsp"
    for (const ExportCell& cell : row) {
        const bool space = ShowsSpace(cell);
        if (!space && afterNbsp) out += ';';
        afterNbsp = false;
        tags.Set(cell.fg, cell.flash);
        if (space) {
            out += nbsp ? "&nbsp" : " ";
            afterNbsp = nbsp;
            nbsp = !nbsp;
        } else {
            AppendHtmlChar(out, cell.glyph);
            nbsp = false;
        }
    }
    tags.Close();
    out += "<br>\n";
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool HasDoubleHeight(const PageChars& page, int row) {
    for (int c = 0; c < kCols; ++c) {
        if ((page[row * kCols + c] & 0x7F) == 0x0D) return true;
    }
    return false;
}

}  // namespace

std::string HtmlExport(const PageChars& page, std::uint8_t national) {
    const ExportPage cells = LayoutForExport(page, national);
    std::string out = kHtmlHead;
    for (const auto& row : cells) AppendHtmlRow(out, row);
    out += kHtmlTail;
    return out;
}

std::string ExportRecord(PageChars& page, std::uint8_t national, int pageNumber, int subpageIndex) {
    StampExportHeader(page, pageNumber, subpageIndex);
    return HtmlExport(page, national);
}

std::string ExportFileName(const std::string& directory, int pageNumber, int subpageIndex) {
    char name[32];
    std::snprintf(name, sizeof name, "VT%03d-%02d.html", pageNumber, subpageIndex);
    return directory + "/" + kSourceName + "/" + name;
}

std::string PageText(const PageChars& page, std::uint8_t national) {
    const ExportPage cells = LayoutForExport(page, national);
    std::string out;
    out.reserve(kRows * (kCols + 1));
    for (int r = 0; r < kRows; ++r) {
        for (const ExportCell& cell : cells[r])
            AppendUtf8(out, ShowsSpace(cell) ? U' ' : cell.glyph);
        out += '\n';
        // The row under a double-height row shows that row's lower half: as
        // text it is empty.
        if (HasDoubleHeight(page, r) && r + 1 < kRows) {
            out.append(kCols, ' ');
            out += '\n';
            ++r;
        }
    }
    return out;
}

}  // namespace vt
