#include "scan/TransponderSources.h"

#include <charconv>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"

namespace TransponderSources {
namespace {

ScanTransponder OfProgram(const CProgramInfo& p) {
    return {static_cast<std::uint32_t>(p.Frequency), p.PolarisationOrQam,
            static_cast<std::uint32_t>(p.SymbolRate)};
}

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The next blank-separated word of `line`, which loses it.
std::string_view NextWord(std::string_view& line) {
    line = Trimmed(line);
    const auto end = line.find_first_of(" \t");
    const std::string_view word = line.substr(0, end);
    line = end == std::string_view::npos ? std::string_view{} : line.substr(end);
    return word;
}

bool Number(std::string_view word, std::uint32_t& value) {
    const char* end = word.data() + word.size();
    const auto [at, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && at == end && value > 0;
}

bool ParseLine(std::string_view line, ScanTransponder& tp) {
    std::uint32_t frequency = 0, symbolRate = 0;
    const std::string_view f = NextWord(line), pol = NextWord(line), sr = NextWord(line);
    if (!Number(f, frequency) || !Number(sr, symbolRate) || !Trimmed(line).empty()) return false;
    if (pol != "H" && pol != "V" && pol != "h" && pol != "v") return false;
    tp = {frequency, pol == "V" || pol == "v" ? 1 : 0, symbolRate};
    return true;
}

}  // namespace

std::vector<ScanTransponder> FromList(const CSVLFile& list, const std::string& lnbName) {
    std::vector<ScanTransponder> out;
    for (const auto& p : list.Programs)
        if (p->LnbName == lnbName) AppendNew(out, OfProgram(*p));
    return out;
}

std::vector<ScanTransponder> FromNit(const mpegts::NitSection& nit) {
    std::vector<ScanTransponder> out;
    for (const auto& s : nit.streams) {
        if (s.satellite && s.satellite->frequencyKHz != 0) {
            // Circular polarisations ride on the supply voltages of H (left) and V (right).
            const std::int32_t pol = s.satellite->polarisation & 1;
            AppendNew(out, {s.satellite->frequencyKHz, pol, s.satellite->symbolRate});
        } else if (s.cable && s.cable->frequencyKHz != 0 && s.cable->QamOrder() != 0) {
            AppendNew(out, {s.cable->frequencyKHz, s.cable->QamOrder(), s.cable->symbolRate});
        }
    }
    return out;
}

bool ParseTransponderFile(std::string_view text, std::vector<ScanTransponder>& out,
                          std::string& error) {
    out.clear();
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#') continue;
        ScanTransponder tp;
        if (!ParseLine(line, tp)) {
            error = "Zeile " + std::to_string(number) +
                    ": erwartet \"Frequenz-kHz H|V Symbolrate\", gefunden \"" + std::string(line) +
                    "\"";
            return false;
        }
        out.push_back(tp);
    }
    return true;
}

bool ReadTransponderFile(const std::string& path, std::vector<ScanTransponder>& out,
                         std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, &error)) return false;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ParseTransponderFile(text, out, error)) {
        error = path + ", " + error;
        return false;
    }
    return true;
}

std::vector<ScanTransponder> FromCableFrequencies(std::span<const std::uint32_t> frequencies,
                                                  std::int32_t qam, std::uint32_t symbolRate) {
    std::vector<ScanTransponder> out;
    for (const std::uint32_t f : frequencies) AppendNew(out, {f, qam, symbolRate});
    return out;
}

bool AppendNew(std::vector<ScanTransponder>& list, const ScanTransponder& tp) {
    for (const auto& have : list)
        if (have == tp) return false;
    list.push_back(tp);
    return true;
}

}  // namespace TransponderSources
