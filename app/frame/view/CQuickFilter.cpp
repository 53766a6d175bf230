#include "frame/view/CQuickFilter.h"

#include <algorithm>

#include "channellist/CProgramInfo.h"
#include "channellist/Windows1252.h"

CQuickFilter::CQuickFilter(const QString& text) {
    std::string bytes;
    impossible_ = !Utf8ToWindows1252(text.toStdString(), bytes);
    for (char& c : bytes) c = char(Fold(static_cast<unsigned char>(c)));
    needle_ = std::move(bytes);
}

unsigned char CQuickFilter::Fold(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') return byte + 0x20;
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return byte + 0x20;  // À..Þ, not ×
    if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return byte + 0x10;  // Š Œ Ž
    if (byte == 0x9F) return 0xFF;                                         // Ÿ
    return byte;
}

bool CQuickFilter::Contains(std::string_view haystack) const {
    const auto folded = [](char a, char b) {
        return Fold(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    };
    return std::search(haystack.begin(), haystack.end(), needle_.begin(), needle_.end(), folded) !=
           haystack.end();
}

bool CQuickFilter::Admits(const CProgramInfo& program) const {
    if (impossible_) return false;
    return needle_.empty() || Contains(program.Name) || Contains(program.Provider);
}
