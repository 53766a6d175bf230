#include "guide/WordWrap.h"

#include <algorithm>

namespace {

// Byte offsets of the code points, and the end: a byte that is not a UTF-8
// continuation byte starts one (and the first byte, whatever it is).
std::vector<std::size_t> CodePointStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i == 0 || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

}  // namespace

std::vector<std::string> WrapWords(std::string_view utf8, int width) {
    const std::size_t w = std::size_t(std::max(width, 1));
    const std::vector<std::size_t> at = CodePointStarts(utf8);
    const std::size_t count = at.size() - 1;
    const std::size_t feed = utf8.find('\n');
    bool feedTaken = feed == std::string_view::npos;
    auto piece = [&](std::size_t from, std::size_t to) {
        return std::string(utf8.substr(at[from], at[to] - at[from]));
    };
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < count) {
        const std::size_t limit = std::min(pos + w, count);
        if (!feedTaken && feed <= at[limit]) {  // the first line feed ends this line
            const std::size_t f =
                std::size_t(std::lower_bound(at.begin(), at.end(), feed) - at.begin());
            lines.push_back(piece(pos, f));
            pos = f + 1;
            feedTaken = true;
            continue;
        }
        if (count - pos <= w) {
            lines.push_back(piece(pos, count));
            break;
        }
        std::size_t cut = limit;  // the character after the fullest line
        while (cut > pos && utf8[at[cut]] != ' ') --cut;
        if (cut > pos) {
            lines.push_back(piece(pos, cut));
            pos = cut + 1;
        } else {
            lines.push_back(piece(pos, limit));
            pos = limit;
        }
    }
    return lines;
}
