#pragma once
// An independent reading of a capture's program association, program map and
// service tables, straight from the bytes of its packets, for comparing with
// what the PSI decoder wrote. Only the current sections are kept, the first
// of each section number.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "mpegts/SectionAssembler.h"
#include "mpegts/TsPacket.h"

namespace kestrel::test {

struct CaptureStream {
    unsigned type = 0, pid = 0;
    std::string languageText;  ///< ISO 639 codes and 0xC5 texts, joined with " - "
};

struct CaptureProgram {
    unsigned number = 0, pmtPid = 0;
    bool hasPmt = false;
    unsigned pcrPid = 0;
    std::vector<CaptureStream> streams;
};

struct CaptureService {
    std::string name, provider;
};

struct Capture {
    std::vector<std::uint8_t> bytes;
    unsigned tsid = 0;
    std::vector<CaptureProgram> programs;  ///< association order, program 0 left out
    std::optional<unsigned> onid;
    std::map<unsigned, CaptureService> services;
    std::vector<std::vector<std::uint8_t>> pat, sdt;    ///< sections by number
    std::map<unsigned, std::vector<std::uint8_t>> pmt;  ///< by program number
};

inline unsigned U16(const std::vector<std::uint8_t>& s, std::size_t at) {
    return s[at] << 8 | s[at + 1];
}
inline unsigned Len12(const std::vector<std::uint8_t>& s, std::size_t at) {
    return (s[at] & 0x0F) << 8 | s[at + 1];
}

/// Current sections of one PID with this table id (and extension, when given), by number.
inline std::map<int, std::vector<std::uint8_t>> CaptureSections(const Capture& c, unsigned pid,
                                                                unsigned table, int ext = -1) {
    std::map<int, std::vector<std::uint8_t>> out;
    mpegts::SectionAssembler assembler;
    const std::size_t n = c.bytes.size() / 188;
    for (std::size_t i = 0; i < n; ++i) {
        const std::span<const std::uint8_t> packet(c.bytes.data() + i * 188, 188);
        const auto view = mpegts::TsPacket::View(packet);
        if (!view || view->Pid() != pid) continue;
        assembler.Feed(packet, [&](std::span<const std::uint8_t> s) {
            if (s.size() < 12 || s[0] != table || !(s[5] & 1)) return;
            if (ext >= 0 && int(s[3] << 8 | s[4]) != ext) return;
            out.try_emplace(s[6], s.begin(), s.end());
        });
    }
    return out;
}

/// Latin-1 text (the captures' default table and ISO 8859-15 agree on the
/// characters they use) to UTF-8, blanks trimmed.
inline std::string CaptureText(const std::uint8_t* p, std::size_t n) {
    if (n > 0 && (p[0] == 0x0B || p[0] == 0x05)) ++p, --n;  // 8859-15 / 8859-9 selector
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] < 0x20 || (p[i] >= 0x80 && p[i] < 0xA0)) continue;
        if (p[i] < 0x80) {
            out.push_back(static_cast<char>(p[i]));
        } else {
            out.push_back(static_cast<char>(0xC0 | p[i] >> 6));
            out.push_back(static_cast<char>(0x80 | (p[i] & 0x3F)));
        }
    }
    const auto a = out.find_first_not_of(' ');
    return a == std::string::npos ? "" : out.substr(a, out.find_last_not_of(' ') - a + 1);
}

inline std::string LanguageTextOf(const std::uint8_t* d, std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i + 2 <= n; i += 2u + d[i + 1]) {
        const std::size_t len = std::min<std::size_t>(d[i + 1], n - i - 2);
        std::string part;
        if (d[i] == 0x0A && len >= 3) part.assign(reinterpret_cast<const char*>(d + i + 2), 3);
        if (d[i] == 0xC5 && len >= 1)
            part.assign(reinterpret_cast<const char*>(d + i + 3), len - 1);
        if (part.empty()) continue;
        if (!text.empty()) text += " - ";
        text += part;
    }
    return text;
}

inline void ReadProgramMap(CaptureProgram& p, const std::vector<std::uint8_t>& s) {
    p.hasPmt = true;
    p.pcrPid = U16(s, 8) & 0x1FFF;
    const unsigned info = Len12(s, 10);
    const std::size_t end = 3 + Len12(s, 1) - 4;
    for (std::size_t at = 12 + info; at + 5 <= end;) {
        CaptureStream st;
        st.type = s[at];
        st.pid = U16(s, at + 1) & 0x1FFF;
        const unsigned es = Len12(s, at + 3);
        st.languageText =
            LanguageTextOf(s.data() + at + 5, std::min<std::size_t>(es, end - at - 5));
        p.streams.push_back(st);
        at += 5 + es;
    }
}

inline void ReadServices(Capture& c) {
    for (const auto& s : c.sdt) {
        if (!c.onid) c.onid = U16(s, 8);
        const std::size_t end = 3 + Len12(s, 1) - 4;
        for (std::size_t at = 11; at + 5 <= end;) {
            const unsigned id = U16(s, at), loop = Len12(s, at + 3);
            for (std::size_t d = at + 5; d + 2 <= at + 5 + loop; d += 2u + s[d + 1]) {
                if (s[d] != 0x48) continue;
                const std::uint8_t* b = s.data() + d + 2;
                const unsigned providerLength = b[1], nameLength = b[2 + providerLength];
                std::string provider = CaptureText(b + 2, providerLength);
                std::string name = CaptureText(b + 3 + providerLength, nameLength);
                c.services[id] = {name.empty() ? "(No Name)" : name,
                                  provider.empty() ? "(Not Defined)" : provider};
            }
            at += 5 + loop;
        }
    }
}

/// Empty bytes when the file is not there.
inline Capture ReadCapture(const std::filesystem::path& file) {
    Capture c;
    std::ifstream in(file, std::ios::binary);
    c.bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (c.bytes.empty()) return c;
    for (auto& [n, s] : CaptureSections(c, 0x0000, 0x00)) c.pat.push_back(s);
    for (const auto& s : c.pat) {
        c.tsid = U16(s, 3);
        for (std::size_t at = 8; at + 4 <= 3 + Len12(s, 1) - 4; at += 4) {
            const unsigned number = U16(s, at), pid = U16(s, at + 2) & 0x1FFF;
            if (number == 0) continue;
            CaptureProgram program;
            program.number = number;
            program.pmtPid = pid;
            c.programs.push_back(program);
        }
    }
    for (auto& p : c.programs) {
        const auto maps = CaptureSections(c, p.pmtPid, 0x02, int(p.number));
        if (maps.empty()) continue;
        c.pmt[p.number] = maps.begin()->second;
        ReadProgramMap(p, maps.begin()->second);
    }
    for (auto& [n, s] : CaptureSections(c, 0x0011, 0x42)) c.sdt.push_back(s);
    ReadServices(c);
    return c;
}

}  // namespace kestrel::test
