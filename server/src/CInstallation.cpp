#include "CInstallation.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace nvdvbsrv {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

template <typename T>
bool ParseNumber(std::string_view s, T& out) {
    s = Trim(s);
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    if (s.empty()) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base);
    return ec == std::errc() && end == s.data() + s.size();
}

bool ParseDouble(std::string_view s, double& out) {
    std::string copy(Trim(s));
    if (copy.empty()) return false;
    std::istringstream in(copy);
    in.imbue(std::locale::classic());
    in >> out;
    return !in.fail() && in.eof();
}

std::vector<std::string_view> SplitWords(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

std::string ResolvePath(std::string_view file, const std::string& baseDir) {
    if (!file.empty() && file.front() == '/') return std::string(file);
    std::string path;
    if (!baseDir.empty()) {
        path = baseDir;
        path.push_back('/');
    }
    path.append(file.data(), file.size());
    return path;
}

// Parses "<frequency kHz> <H|V|QAMn> <symbol rate> <file> [level=<n>]".
bool ParseTransponder(std::string_view value, bool cable, const std::string& baseDir,
                      Transponder& tp, std::string& why) {
    auto words = SplitWords(value);
    if (words.size() < 4 || words.size() > 5) {
        why = "Transponder braucht: Frequenz Polarisation/QAM Symbolrate Datei";
        return false;
    }
    if (!ParseNumber(words[0], tp.frequencyKHz) || tp.frequencyKHz == 0) {
        why = "ungültige Frequenz";
        return false;
    }
    if (cable) {
        std::string_view q = words[1];
        if (q.size() < 4 || q.substr(0, 3) != "QAM" || !ParseNumber(q.substr(3), tp.qam) ||
            (tp.qam != 16 && tp.qam != 32 && tp.qam != 64 && tp.qam != 128 && tp.qam != 256)) {
            why = "Modulation muss QAM16, QAM32, QAM64, QAM128 oder QAM256 sein";
            return false;
        }
    } else if (words[1] == "H" || words[1] == "h") {
        tp.polarisation = Polarisation::Horizontal;
    } else if (words[1] == "V" || words[1] == "v") {
        tp.polarisation = Polarisation::Vertical;
    } else {
        why = "Polarisation muss H oder V sein";
        return false;
    }
    if (!ParseNumber(words[2], tp.symbolRate) || tp.symbolRate == 0) {
        why = "ungültige Symbolrate";
        return false;
    }
    tp.file = ResolvePath(words[3], baseDir);
    if (words.size() == 5) {
        std::string_view lv = words[4];
        if (lv.substr(0, 6) != "level=" || !ParseNumber(lv.substr(6), tp.level)) {
            why = "unbekannter Zusatz (erlaubt: level=<Zahl>)";
            return false;
        }
    }
    return true;
}

bool ParseLnbKey(std::string_view key, std::string_view value, Lnb& lnb, bool& known) {
    known = true;
    if (key == "lof_low") return ParseNumber(value, lnb.lofLowKHz);
    if (key == "lof_high") return ParseNumber(value, lnb.lofHighKHz);
    if (key == "switch") return ParseNumber(value, lnb.switchKHz);
    known = false;
    return false;
}

bool ParseLoopbackIp(std::string_view value, std::string& out) {
    // Data only ever goes to the loopback network: 127.x.y.z.
    std::string v(Trim(value));
    unsigned a = 0, b = 0, c = 0, d = 0;
    char tail = 0;
    if (std::sscanf(v.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4) return false;
    if (a != 127 || b > 255 || c > 255 || d > 255) return false;
    out = v;
    return true;
}

class Parser {
  public:
    Parser(const std::string& baseDir, std::string& error) : baseDir_(baseDir), error_(error) {}

    bool Run(std::string_view text) {
        size_t lineNo = 0;
        size_t pos = 0;
        while (pos <= text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            ++lineNo;
            if (!Line(text.substr(pos, end - pos))) {
                error_ = "Zeile " + std::to_string(lineNo) + ": " + why_;
                return false;
            }
            pos = end + 1;
        }
        return Finish();
    }

    CInstallation result;

  private:
    bool Line(std::string_view line) {
        size_t hash = line.find('#');
        if (hash != std::string_view::npos) line = line.substr(0, hash);
        line = Trim(line);
        if (line.empty()) return true;
        if (line.front() == '[') return Section(line);
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) return Fail("'Schlüssel = Wert' erwartet");
        return Key(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }

    bool Section(std::string_view line) {
        if (line.back() != ']') return Fail("']' fehlt");
        std::string_view name = Trim(line.substr(1, line.size() - 2));
        position_ = -1;
        if (name == "card" || name == "lnb" || name == "cable") {
            section_ = std::string(name);
            return true;
        }
        if (name.size() == 10 && name.substr(0, 9) == "position " && name[9] >= 'A' &&
            name[9] <= 'D') {
            section_ = "position";
            position_ = name[9] - 'A';
            DishPosition& p = result.positions[position_];
            if (p.present) return Fail("Position doppelt");
            p.present = true;
            p.lnb = defaultLnb_;
            return true;
        }
        return Fail("unbekannter Abschnitt");
    }

    bool Key(std::string_view key, std::string_view value) {
        if (section_ == "card") return CardKey(key, value);
        if (section_ == "lnb") {
            bool known = false;
            if (ParseLnbKey(key, value, defaultLnb_, known)) return true;
            return Fail(known ? "ungültige Zahl" : "unbekannter Schlüssel");
        }
        if (section_ == "position") return PositionKey(key, value);
        if (section_ == "cable") {
            if (key != "transponder") return Fail("unbekannter Schlüssel");
            Transponder tp;
            if (!ParseTransponder(value, true, baseDir_, tp, why_)) return false;
            result.cable.push_back(tp);
            return true;
        }
        return Fail("Schlüssel außerhalb eines Abschnitts");
    }

    bool PositionKey(std::string_view key, std::string_view value) {
        DishPosition& p = result.positions[position_];
        if (key == "name") {
            p.name = std::string(value);
            return true;
        }
        if (key == "transponder") {
            Transponder tp;
            if (!ParseTransponder(value, false, baseDir_, tp, why_)) return false;
            p.transponders.push_back(tp);
            return true;
        }
        bool known = false;
        if (ParseLnbKey(key, value, p.lnb, known)) return true;
        return Fail(known ? "ungültige Zahl" : "unbekannter Schlüssel");
    }

    bool CardKey(std::string_view key, std::string_view value) {
        BoardIdentity& b = result.board;
        if (key == "frontend") {
            if (value == "satellite")
                frontendSet_ = FrontendKind::Satellite;
            else if (value == "cable")
                frontendSet_ = FrontendKind::Cable;
            else
                return Fail("frontend muss satellite oder cable sein");
            return true;
        }
        if (key == "diseqc") {
            if (value == "yes")
                diseqcSet_ = true;
            else if (value == "no")
                diseqcSet_ = false;
            else
                return Fail("diseqc muss yes oder no sein");
            return true;
        }
        if (key == "cam_slot") {
            return (ParseNumber(value, result.camSlot) && result.camSlot >= 0 &&
                    result.camSlot <= 2) ||
                   Fail("cam_slot muss 0, 1 oder 2 sein");
        }
        if (key == "fail") {
            return ParseStartSteps(value, result.failingSteps) ||
                   Fail(std::string("fail ") + kStartStepsExpected);
        }
        if (key == "live_clock") {
            if (value == "yes")
                result.liveClock = true;
            else if (value == "no")
                result.liveClock = false;
            else
                return Fail("live_clock muss yes oder no sein");
            return true;
        }
        if (key == "audio_wav") {
            result.audioWav = ResolvePath(value, baseDir_);
            return !value.empty() || Fail("audio_wav braucht einen Dateinamen");
        }
        if (key == "ip") return ParseLoopbackIp(value, b.ip) || Fail("nur 127.x.y.z erlaubt");
        if (key == "base_port") {
            return (ParseNumber(value, b.basePort) && b.basePort > 0 && b.basePort < 65400) ||
                   Fail("ungültiger Basisport");
        }
        if (key == "speed") {
            return (ParseDouble(value, result.speed) && result.speed >= 0.01 &&
                    result.speed <= 1000.0) ||
                   Fail("speed zwischen 0.01 und 1000");
        }
        if (key == "firmware_version") {
            return ParseNumber(value, b.firmwareVersion) || Fail("ungültige Zahl");
        }
        std::string* text = TextKey(key);
        if (!text) return Fail("unbekannter Schlüssel");
        if (value.size() > 60) return Fail("Text zu lang (höchstens 60 Zeichen)");
        *text = std::string(value);
        return true;
    }

    std::string* TextKey(std::string_view key) {
        BoardIdentity& b = result.board;
        if (key == "mac") return &b.mac;
        if (key == "subnet_mask") return &b.subnetMask;
        if (key == "manufacturer") return &b.manufacturer;
        if (key == "board") return &b.boardType;
        if (key == "firmware_date") return &b.firmwareDate;
        if (key == "firmware_time") return &b.firmwareTime;
        if (key == "self_test") return &b.selfTestText;
        return nullptr;
    }

    bool Finish() {
        int count = 0;
        for (const auto& p : result.positions) count += p.present ? 1 : 0;
        result.diseqc = diseqcSet_.value_or(count > 1);
        if (frontendSet_) {
            result.frontend = *frontendSet_;
        } else {
            result.frontend = (count == 0 && !result.cable.empty()) ? FrontendKind::Cable
                                                                    : FrontendKind::Satellite;
        }
        return true;
    }

    bool Fail(std::string why) {
        why_ = std::move(why);
        return false;
    }

    const std::string& baseDir_;
    std::string& error_;
    std::string why_;
    std::string section_;
    int position_ = -1;
    Lnb defaultLnb_;
    std::optional<FrontendKind> frontendSet_;
    std::optional<bool> diseqcSet_;
};

}  // namespace

std::optional<CInstallation> CInstallation::Parse(std::string_view text, const std::string& baseDir,
                                                  std::string& error) {
    Parser parser(baseDir, error);
    if (!parser.Run(text)) return std::nullopt;
    return std::move(parser.result);
}

std::optional<CInstallation> CInstallation::Load(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Konfigurationsdatei nicht lesbar: " + path;
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string(1, '/')
                                                       : path.substr(0, slash);
    auto result = Parse(text.str(), dir, error);
    if (!result) {
        std::string where = path;
        where += ": ";
        error.insert(0, where);
    }
    return result;
}

bool ParseStartSteps(std::string_view list, std::set<StartStep>& steps) {
    static constexpr std::pair<std::string_view, StartStep> kNames[] = {
        {"InitPCI", StartStep::InitPci},
        {"BootARM", StartStep::BootArm},
        {"Frontend.Init", StartStep::FrontendInit},
        {"GetFrontendType", StartStep::FrontendType},
    };
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t end = list.find_first_of(", \t", at);
        const std::string_view name =
            list.substr(at, end == std::string_view::npos ? end : end - at);
        at = end == std::string_view::npos ? list.size() : end + 1;
        if (name.empty()) continue;
        const auto* found = std::find_if(std::begin(kNames), std::end(kNames),
                                         [&](const auto& n) { return n.first == name; });
        if (found == std::end(kNames)) return false;
        steps.insert(found->second);
    }
    return true;
}

}  // namespace nvdvbsrv
