#include "channellist/dialogs/StreamTexts.h"

#include "channellist/Windows1252.h"
#include "channellist/dialogs/DialogTexts.h"
#include "channellist/dialogs/FieldRules.h"

namespace StreamTexts {

std::string Pid(std::uint16_t pid, bool hex) { return FieldRules::FormatId(pid, hex); }

std::string Descriptors(const ByteBlock& descriptors) {
    std::string bytes;
    bytes.reserve(descriptors.size());
    for (std::uint8_t b : descriptors)
        bytes.push_back(b < 50 && b != 32 ? ' ' : static_cast<char>(b));
    return Windows1252ToUtf8(bytes);
}

std::string Language(const CStreaminfo& stream) {
    const std::string code = stream.LanguageCode();
    return code.empty() ? DialogTexts::NoLanguageInfo : Windows1252ToUtf8(code);
}

}  // namespace StreamTexts
