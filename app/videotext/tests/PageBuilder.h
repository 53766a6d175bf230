#pragma once
// Hand-made pages and datagrams for the videotext tests: rows of text written
// at a column, the header with its page number, the card's control bytes.
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "videotext/VtPageCache.h"

namespace vttest {

/// A page of spaces with `text` written into rows at columns.
struct PageBuilder {
    vt::PageChars chars;

    PageBuilder() { chars.fill(' '); }

    PageBuilder& Put(int row, int column, std::string_view text) {
        for (std::size_t i = 0; i < text.size() && column + int(i) < vt::kCols; ++i) {
            chars[row * vt::kCols + column + i] = std::uint8_t(text[i]);
        }
        return *this;
    }
    PageBuilder& Code(int row, int column, std::uint8_t code) {
        chars[row * vt::kCols + column] = code;
        return *this;
    }
    std::string_view Row(int row) const {
        return {reinterpret_cast<const char*>(chars.data()) + row * vt::kCols, vt::kCols};
    }
};

/// A 1960-byte datagram as the card sends it: the page's header shows
/// `page` at columns 8-10 (after "P" at 7) and a clock, S1 at byte 1002.
inline std::vector<std::uint8_t> Datagram(int page, int s1, const vt::PageChars& chars,
                                          std::uint8_t national = 1) {
    std::vector<std::uint8_t> d(vt::kDatagramSize, 0);
    for (std::size_t i = 0; i < vt::kPageChars; ++i) d[i] = chars[i];
    char header[41];
    std::snprintf(header, sizeof header, "       P%03d TELETEXT  Mo 07.12. 12:00:00", page);
    for (int i = 0; i < vt::kCols && header[i]; ++i) d[i] = std::uint8_t(header[i]);
    d[1000] = std::uint8_t(page / 100);
    d[1001] = 0;
    d[1002] = std::uint8_t(s1);
    d[vt::kNationalOffset] = national;
    return d;
}

inline std::vector<std::uint8_t> Datagram(int page, int s1 = 0, std::string_view row1 = "TEXT") {
    return Datagram(page, s1, PageBuilder().Put(1, 0, row1).chars);
}

}  // namespace vttest
