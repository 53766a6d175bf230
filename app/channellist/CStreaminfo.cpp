#include "channellist/CStreaminfo.h"

std::string CStreaminfo::LanguageCode() const {
    constexpr std::uint8_t Iso639LanguageTag = 0x0A;
    std::size_t pos = 0;
    while (pos + 2 <= Descriptors.size()) {
        const std::uint8_t tag = Descriptors[pos];
        const std::size_t length = Descriptors[pos + 1];
        const std::size_t payload = pos + 2;
        if (payload + length > Descriptors.size()) break;  // truncated descriptor
        if (tag == Iso639LanguageTag && length >= 3)
            return std::string(reinterpret_cast<const char*>(&Descriptors[payload]), 3);
        pos = payload + length;
    }
    return {};
}

std::string CStreaminfo::StreamTypeText() const {
    switch (StreamType) {
        case 2:
            return "Video";
        case 3:
        case 4:
            return "Audio";
        case 6:
            return "Teletext";
        default:
            return std::to_string(StreamType);
    }
}
