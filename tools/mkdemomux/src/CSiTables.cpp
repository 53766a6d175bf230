#include "CSiTables.h"

#include <algorithm>
#include <span>

#include "CSectionWriter.h"
#include "mpegts/DvbTime.h"

namespace demomux {
namespace {

constexpr uint16_t kOrbitalPosition = 0x0192;  // 19.2 degrees, BCD
constexpr uint8_t kVersion = 1;

constexpr uint8_t kEitPresentFollowing = 0x4E, kEitSchedule = 0x50;
constexpr std::time_t kSegment = 3 * 3600;
constexpr int kSegmentsPerTable = 32;  // four days
constexpr int kSegments = CDemoGuide::kDays * 8;
constexpr size_t kSectionsPerSegment = 8;
constexpr size_t kEitHeaderSize = 14, kCrcSize = 4;
constexpr size_t kMaxDescriptorBody = 255;
constexpr uint8_t kRunning = 4, kNotRunning = 1, kUndefined = 0;

// The four bits before a service's or event's descriptor loop length.
uint8_t RunningAndCa(uint8_t runningStatus, bool scrambled) {
    return uint8_t(runningStatus << 1 | (scrambled ? 1 : 0));
}

void Language(mpegts::BitWriter& w, const char (&code)[4]) {
    w.Bytes(std::span(reinterpret_cast<const uint8_t*>(code), 3));
}

// A non-spacing diacritical mark of the default table, which goes before its letter.
bool IsMark(uint8_t b) { return b >= 0xC1 && b <= 0xCF; }

// The first bytes of text, at most max, never cut between a mark and its letter.
std::vector<uint8_t> Cut(std::vector<uint8_t> text, size_t max) {
    if (text.size() <= max) return text;
    size_t n = max;
    if (n > 0 && IsMark(text[n - 1])) --n;
    text.resize(n);
    return text;
}

// Short event (0x4D), extended event (0x4E, as many as the text needs, each
// at most 255 bytes), content (0x54) and parental rating (0x55).
void EventDescriptors(mpegts::BitWriter& w, const DemoEvent& e) {
    const auto name = Cut(CSiTables::DefaultText(e.name), 120);
    const auto text = Cut(CSiTables::DefaultText(e.text), kMaxDescriptorBody - 5 - name.size());
    w.U8(0x4D);
    w.U8(uint8_t(3 + 1 + name.size() + 1 + text.size()));
    Language(w, "deu");
    w.U8(uint8_t(name.size()));
    w.Bytes(name);
    w.U8(uint8_t(text.size()));
    w.Bytes(text);

    // descriptor number and last number, language, length_of_items, text_length
    constexpr size_t kPiece = kMaxDescriptorBody - 6;
    constexpr size_t kMaxPieces = 16;
    std::vector<std::vector<uint8_t>> pieces;
    const auto extended = CSiTables::DefaultText(e.extended);
    for (size_t at = 0; at < extended.size() && pieces.size() < kMaxPieces;) {
        pieces.push_back(Cut({extended.begin() + std::ptrdiff_t(at), extended.end()}, kPiece));
        at += pieces.back().size();
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
        w.U8(0x4E);
        w.U8(uint8_t(6 + pieces[k].size()));
        w.Bits(4, uint32_t(k));
        w.Bits(4, uint32_t(pieces.size() - 1));
        Language(w, "deu");
        w.U8(0);  // no items
        w.U8(uint8_t(pieces[k].size()));
        w.Bytes(pieces[k]);
    }
    if (e.content) {
        w.U8(0x54);
        w.U8(2);
        w.U8(e.content);
        w.U8(0);  // user nibbles
    }
    if (e.rating) {
        w.U8(0x55);
        w.U8(4);
        Language(w, "DEU");
        w.U8(e.rating);
    }
}

// One entry of an EIT's event loop.
std::vector<uint8_t> EventBytes(const DemoEvent& e, uint8_t runningStatus, bool scrambled) {
    mpegts::BitWriter w;
    w.U16(e.eventId);
    WriteUtc(w, e.start);
    w.U24(mpegts::DurationToBcd(e.durationSeconds));
    w.Bits(3, runningStatus);
    w.Flag(scrambled);
    const size_t lengthAt = w.BitPosition();
    w.Bits(12, 0);
    const size_t loopStart = w.Size();
    EventDescriptors(w, e);
    w.Patch(lengthAt, 12, uint32_t(w.Size() - loopStart));
    if (!w.Ok()) return {};
    return {w.Data().begin(), w.Data().end()};
}

}  // namespace

std::vector<uint8_t> CSiTables::Text(const std::string& latin1) {
    std::vector<uint8_t> out;
    bool wide = false;
    for (unsigned char c : latin1) wide |= c >= 0x80;
    if (wide) out = {0x10, 0x00, 0x01};
    out.insert(out.end(), latin1.begin(), latin1.end());
    if (out.size() > 240) out.resize(240);
    return out;
}

std::vector<uint8_t> CSiTables::DefaultText(std::string_view utf8) {
    // The letters U+00C0-U+00FF as a mark and a base letter; '?' where the
    // table has no such pair (ß is a letter of its own, 0xFB).
    static constexpr char kBase[] =
        "AAAAAA?CEEEEIIII?NOOOOO??UUUUY??aaaaaa?ceeeeiiii?nooooo??uuuuy?y";
    constexpr uint8_t G = 0xC1, A = 0xC2, C = 0xC3, T = 0xC4, D = 0xC8, R = 0xCA, S = 0xCB;
    static constexpr uint8_t kMark[32] = {G, A, C, T, D, R, 0, S, G, A, C, D, G, A, C, D,
                                          0, T, G, A, C, T, D, 0, 0, G, A, C, D, A, 0, D};
    std::vector<uint8_t> out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = uint8_t(utf8[i]);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        // Only two-byte sequences (U+0080-U+07FF) can be letters of the table.
        const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        uint32_t code = 0;
        if (length == 2 && i + 1 < utf8.size()) {
            code = uint32_t(c & 0x1F) << 6 | (uint8_t(utf8[i + 1]) & 0x3F);
        }
        i += length;
        if (code == 0xDF) {
            out.push_back(0xFB);  // sharp s
        } else if (code >= 0xC0 && code <= 0xFF && kBase[code - 0xC0] != '?') {
            out.push_back(kMark[(code - 0xC0) % 32]);
            out.push_back(uint8_t(kBase[code - 0xC0]));
        } else {
            out.push_back('?');
        }
    }
    return out;
}

Section CSiTables::Pat(const DemoTransponder& tp) {
    CSectionWriter w(0x00, tp.tsid, kVersion, 0, 0);
    w.U16(0x0000);
    w.U16(0xE000 | 0x0010);  // network PID
    for (const auto& p : tp.programs) {
        w.U16(p.serviceId);
        w.U16(uint16_t(0xE000 | p.pmtPid));
    }
    return w.Finish();
}

Section CSiTables::Pmt(const DemoProgram& p) {
    CSectionWriter w(0x02, p.serviceId, kVersion, 0, 0);
    w.U16(uint16_t(0xE000 | p.pcrPid));
    w.U16(0xF000);  // no program descriptors
    for (const auto& s : p.streams) {
        w.U8(s.type);
        w.U16(uint16_t(0xE000 | s.pid));
        const size_t len = w.BeginLength();
        w.Bytes(s.descriptors);
        w.EndLength(len);
    }
    return w.Finish();
}

Section CSiTables::Sdt(const DemoTransponder& tp) {
    CSectionWriter w(0x42, tp.tsid, kVersion, 0, 0);
    w.U16(tp.onid);
    w.U8(0xFF);
    for (const auto& p : tp.programs) {
        w.U16(p.serviceId);
        // EIT_schedule_flag and EIT_present_following_flag: our services but
        // the data service have both.
        w.U8(CDemoGuide::HasGuide(p) ? 0xFF : 0xFC);
        // running_status 4 (running), free_CA_mode, descriptors_loop_length
        const size_t len = w.BeginLength(RunningAndCa(4, p.Encrypted()));
        const auto provider = Text(p.provider);
        const auto name = Text(p.name);
        w.U8(0x48);
        w.U8(uint8_t(1 + 1 + provider.size() + 1 + name.size()));
        w.U8(p.ServiceType());
        w.U8(uint8_t(provider.size()));
        w.Bytes(provider);
        w.U8(uint8_t(name.size()));
        w.Bytes(name);
        w.EndLength(len);
    }
    return w.Finish();
}

Section CSiTables::Nit(const std::vector<DemoTransponder>& all, uint16_t networkId,
                       const std::string& networkName) {
    CSectionWriter w(0x40, networkId, kVersion, 0, 0);
    const size_t netLen = w.BeginLength();
    const auto name = Text(networkName);
    w.U8(0x40);
    w.U8(uint8_t(name.size()));
    w.Bytes(name);
    w.EndLength(netLen);
    const size_t loopLen = w.BeginLength();
    for (const auto& tp : all) {
        w.U16(tp.tsid);
        w.U16(tp.onid);
        const size_t dl = w.BeginLength();
        // satellite_delivery_system_descriptor: GHz with five decimals, BCD.
        w.U8(0x43);
        w.U8(11);
        w.Bcd(tp.frequencyKHz / 10, 8);
        w.U16(kOrbitalPosition);
        w.U8(uint8_t(0x80 | (tp.vertical ? 1 : 0) << 5 | 0x01));  // east, QPSK
        w.Bcd(tp.symbolRate / 100, 7);
        w.Bits(4, 0x3);  // FEC 3/4
        w.EndLength(dl);
    }
    w.EndLength(loopLen);
    return w.Finish();
}

Section CSiTables::EitPresentFollowing(const DemoTransponder& tp, const DemoProgram& p,
                                       uint8_t sectionNumber, const DemoEvent& e) {
    CSectionWriter w(kEitPresentFollowing, p.serviceId, kVersion, sectionNumber, 1, kMaxEitSection);
    w.U16(tp.tsid);
    w.U16(tp.onid);
    w.U8(1);  // segment_last_section_number
    w.U8(kEitPresentFollowing);
    const auto event = EventBytes(e, sectionNumber == 0 ? kRunning : kNotRunning, p.Encrypted());
    if (event.empty()) return {};
    w.Bytes(event);
    return w.Finish();
}

std::vector<Section> CSiTables::EitSchedule(const DemoTransponder& tp, const DemoProgram& p,
                                            const std::vector<DemoEvent>& events,
                                            std::time_t scheduleStart, size_t maxSection) {
    // The events of every 3-hour segment, in the order given.
    std::vector<std::vector<std::vector<uint8_t>>> segments(kSegments);
    int lastSegment = -1;
    for (const DemoEvent& e : events) {
        if (e.start < scheduleStart || e.start >= scheduleStart + kSegments * kSegment) continue;
        const int segment = int((e.start - scheduleStart) / kSegment);
        auto bytes = EventBytes(e, kUndefined, p.Encrypted());
        if (bytes.empty()) return {};
        segments[size_t(segment)].push_back(std::move(bytes));
        lastSegment = std::max(lastSegment, segment);
    }
    if (lastSegment < 0 || maxSection <= kEitHeaderSize + kCrcSize) return {};
    const size_t room = maxSection - kEitHeaderSize - kCrcSize;

    // Per segment its sections, each a run of events that fits; an empty
    // segment before the last one is one section without events.
    std::vector<std::vector<std::vector<const std::vector<uint8_t>*>>> parts(size_t(lastSegment) +
                                                                             1);
    for (size_t s = 0; s < parts.size(); ++s) {
        auto& sections = parts[s];
        sections.emplace_back();
        size_t used = 0;
        for (const auto& event : segments[s]) {
            if (event.size() > room) return {};
            if (used + event.size() > room) {
                sections.emplace_back();
                used = 0;
            }
            sections.back().push_back(&event);
            used += event.size();
        }
        if (sections.size() > kSectionsPerSegment) return {};
    }

    const int lastTable = lastSegment / kSegmentsPerTable;
    std::vector<Section> out;
    for (int table = 0; table <= lastTable; ++table) {
        const size_t first = size_t(table * kSegmentsPerTable);
        const size_t end = std::min(parts.size(), first + kSegmentsPerTable);
        const auto lastNumber =
            uint8_t((end - 1 - first) * kSectionsPerSegment + parts[end - 1].size() - 1);
        for (size_t s = first; s < end; ++s) {
            const size_t base = (s - first) * kSectionsPerSegment;
            for (size_t k = 0; k < parts[s].size(); ++k) {
                CSectionWriter w(uint8_t(kEitSchedule + table), p.serviceId, kVersion,
                                 uint8_t(base + k), lastNumber, maxSection);
                w.U16(tp.tsid);
                w.U16(tp.onid);
                w.U8(uint8_t(base + parts[s].size() - 1));  // segment_last_section_number
                w.U8(uint8_t(kEitSchedule + lastTable));    // last_table_id
                for (const auto* event : parts[s][k]) w.Bytes(*event);
                auto section = w.Finish();
                if (section.empty()) return {};
                out.push_back(std::move(section));
            }
        }
    }
    return out;
}

Section CSiTables::Tdt(std::time_t utc) {
    CSectionWriter w(0x70);
    w.Utc(utc);
    return w.Finish();
}

}  // namespace demomux
