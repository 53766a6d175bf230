#include "guide/windows/GuideDetailText.h"

#include <QString>

#include "guide/CEPGInfo.h"
#include "guide/windows/GuideCells.h"

namespace {

// One line from code points [from, to) of the text.
std::string Piece(const std::u32string& text, std::size_t from, std::size_t to) {
    const std::u32string part = text.substr(from, to - from);
    return QString::fromUcs4(part.data(), qsizetype(part.size())).toStdString();
}

}  // namespace

namespace GuideDetailText {

std::vector<std::string> WrapWords(std::string_view utf8, int width) {
    const std::u32string text =
        QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toStdU32String();
    if (width < 1) return {std::string(utf8)};
    const std::size_t w = std::size_t(width);
    std::size_t feed = text.find(U'\n');
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        if (feed != std::u32string::npos && feed - from <= w) {
            lines.push_back(Piece(text, from, feed));
            from = feed + 1;
            feed = std::u32string::npos;  // later line feeds are ordinary characters
            continue;
        }
        if (text.size() - from <= w) break;
        const std::size_t blank = text.rfind(U' ', from + w);
        if (blank != std::u32string::npos && blank >= from) {
            lines.push_back(Piece(text, from, blank));
            from = blank + 1;
        } else {
            lines.push_back(Piece(text, from, from + w));
            from += w;
        }
    }
    lines.push_back(Piece(text, from, text.size()));
    return lines;
}

std::string Text(const CEPGInfo& record) {
    static constexpr const char* kEnd = "\r\n";
    std::string text = record.EventName + kEnd + record.ShortText + " (" +
                       GuideCells::Duration(record).toStdString() + ")" + kEnd + kEnd;
    for (const std::string& line : WrapWords(record.Description, DescriptionWidth))
        text += line + kEnd;
    return text;
}

}  // namespace GuideDetailText
