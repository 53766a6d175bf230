#include "kestrel/CStreamInfo.h"

#include <cctype>

#include "mpegts/LanguageNames.h"

namespace {

constexpr std::uint8_t kLanguageTag = 0x0A;
constexpr std::uint8_t kLanguageTextTag = 0xC5;

std::string WithoutZeros(const std::uint8_t* data, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        if (data[i] != 0) out.push_back(static_cast<char>(data[i]));
    return out;
}

std::string Folded(std::string text, bool upper) {
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(upper ? std::toupper(u) : std::tolower(u));
    }
    return text;
}

void Join(std::string& text, const std::string& part) {
    if (!text.empty()) text += " - ";
    text += part;
}

}  // namespace

CStreamInfo::CStreamInfo(std::uint16_t streamType, std::uint16_t pid,
                         std::span<const std::uint8_t> loop)
    : CDescriptorLoop(loop), streamType_(streamType), pid_(pid) {}

std::string CStreamInfo::LanguageName(const std::string& code) {
    // The comparison is exact: the shared table also finds upper-case codes.
    if (code == Folded(code, false)) {
        const std::string_view name = mpegts::LanguageNames::English(code);
        if (!name.empty()) return std::string(name);
    }
    return "Unknown Language (" + code + ")";
}

std::string CStreamInfo::GetLanguageText(int caseOption, bool languageNames) const {
    std::string text;
    std::size_t cursor = 0;
    std::uint8_t tag = 0, length = 0;
    const std::uint8_t* data = nullptr;
    while (NextAt(cursor, tag, length, data)) {
        if (tag == kLanguageTag && length > 2) {
            std::string code = WithoutZeros(data, 3);
            if (caseOption == kUpperCase) code = Folded(code, true);
            if (caseOption == kLowerCase) code = Folded(code, false);
            Join(text, languageNames ? LanguageName(Folded(code, false)) : code);
        } else if (tag == kLanguageTextTag && length > 0) {
            Join(text, WithoutZeros(data + 1, length - 1u));
        }
    }
    return text;
}

void CStreamInfo::Store(std::vector<std::uint8_t>& out) const {
    CDescriptorLoop::Store(out);
    for (const std::uint16_t v : {streamType_, pid_}) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
}

bool CStreamInfo::Load(std::span<const std::uint8_t> in, std::size_t& pos) {
    std::size_t at = pos;
    CDescriptorLoop loop;
    if (!loop.Load(in, at) || in.size() - at < 4) return false;
    SetData(loop.GetData());
    streamType_ = static_cast<std::uint16_t>(in[at] | in[at + 1] << 8);
    pid_ = static_cast<std::uint16_t>(in[at + 2] | in[at + 3] << 8);
    pos = at + 4;
    return true;
}
