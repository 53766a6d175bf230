#include "CMuxBuilder.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <utility>

#include "CDemoGuide.h"
#include "CSiTables.h"
#include "CTeletextWriter.h"
#include "mpegts/TsPacket.h"

namespace demomux {
namespace {

constexpr double kPsiInterval = 0.1;  // PAT and PMT
constexpr double kSiInterval = 0.5;   // SDT, NIT, EIT present/following
constexpr uint16_t kEitPid = 0x0012;

using mpegts::TsPacket;

uint16_t PidOf(const Packet& p) {
    const auto view = TsPacket::View(p);
    return view ? view->Pid() : TsPacket::kNullPid;
}

// Teletext shows plain ASCII here: German letters are written out.
std::string Ascii(const std::string& latin1) {
    std::string out;
    for (unsigned char c : latin1) {
        switch (c) {
            case 0xC4:
                out += "Ae";
                break;
            case 0xD6:
                out += "Oe";
                break;
            case 0xDC:
                out += "Ue";
                break;
            case 0xE4:
                out += "ae";
                break;
            case 0xF6:
                out += "oe";
                break;
            case 0xFC:
                out += "ue";
                break;
            case 0xDF:
                out += "ss";
                break;
            default:
                out += c < 0x80 ? char(c) : '?';
        }
    }
    return out;
}

// UTF-8 (the guide's texts) as ISO 8859-1; other characters become '?'.
std::string Latin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = uint8_t(utf8[i]);
        if (c < 0x80) {
            out += char(c);
        } else if ((c & 0xE0) == 0xC0 && c <= 0xC3 && i + 1 < utf8.size()) {
            out += char((c & 0x03) << 6 | (uint8_t(utf8[++i]) & 0x3F));
        } else if ((c & 0xC0) == 0xC0) {
            out += '?';
        }
    }
    return out;
}

// The event running at the build time and the one after it; nothing for a
// service without a guide.
std::pair<const DemoEvent*, const DemoEvent*> PresentFollowing(const std::vector<DemoEvent>& events,
                                                               std::time_t now) {
    const int i = CDemoGuide::Running(events, now);
    if (i < 0 || size_t(i) + 1 >= events.size()) return {nullptr, nullptr};
    return {&events[size_t(i)], &events[size_t(i) + 1]};
}

std::string TeletextHeader(const DemoProgram& p, int page) {
    std::string name = Ascii(p.name).substr(0, 18);
    name.resize(18, ' ');
    return std::to_string(page) + " " + name + " Demo-VT";
}

std::vector<std::string> TeletextRows(const DemoTransponder& tp, const DemoProgram& p, int page,
                                      std::time_t now) {
    const std::string name = Ascii(p.name);
    switch (page) {
        case 101: {
            const auto events = CDemoGuide::Events(p, now);
            const auto [present, following] = PresentFollowing(events, now);
            if (!present) return {"", "  Programmhinweise", "", "  " + name};
            return {"",
                    "  Programmhinweise",
                    "",
                    "  Jetzt:   " + Ascii(Latin1(present->name)),
                    "  Danach:  " + Ascii(Latin1(following->name)),
                    "",
                    "  " + name};
        }
        case 102:
            return {"",
                    "  Technik",
                    "",
                    "  Video-PID    " + std::to_string(p.videoPid),
                    "  Audio-PID    " + std::to_string(p.audioPid),
                    "  Service-ID   " + std::to_string(p.serviceId),
                    "  Transponder  " + std::to_string(tp.frequencyKHz / 1000) +
                        (tp.vertical ? " MHz V" : " MHz H")};
        case 103:
            return {"",
                    "  Impressum",
                    "",
                    "  Demo-Sender des Emulators",
                    "  Testbild und Ton: ffmpeg",
                    "  Tabellen: mkdemomux"};
        default:
            return {"",
                    "  Demo-Videotext",
                    "",
                    "  " + name,
                    "",
                    "  101  Programmhinweise",
                    "  102  Technik",
                    "  103  Impressum"};
    }
}

}  // namespace

bool CMuxBuilder::LoadSample(const std::string& path, Sample& sample, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Beispielstrom nicht lesbar: " + path;
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    for (size_t off = 0; off + TsPacket::kSize <= bytes.size(); off += TsPacket::kSize) {
        if (bytes[off] != TsPacket::kSyncByte) {
            error = "Beispielstrom ohne Paketraster: " + path;
            return false;
        }
        Packet p;
        std::copy_n(bytes.begin() + std::ptrdiff_t(off), TsPacket::kSize, p.begin());
        const uint16_t pid = PidOf(p);
        if ((sample.videoPid && pid == sample.videoPid) || pid == sample.audioPid) {
            sample.packets.push_back(p);
        }
    }
    if (sample.packets.empty()) {
        error = "Beispielstrom enthält keine Audio-/Videopakete: " + path;
        return false;
    }
    return true;
}

std::vector<Packet> CMuxBuilder::Build(const DemoTransponder& tp,
                                       const std::vector<DemoTransponder>& all) {
    CTsPacketizer ts;
    std::vector<Item> items;
    AddPrograms(tp, ts, items);
    AddTables(tp, all, ts, items);
    AddTeletext(tp, ts, items);
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.at < b.at || (a.at == b.at && a.order < b.order);
    });
    std::vector<Packet> out;
    out.reserve(items.size());
    for (auto& i : items) out.push_back(i.packet);
    return out;
}

void CMuxBuilder::AddPrograms(const DemoTransponder& tp, CTsPacketizer& ts,
                              std::vector<Item>& items) {
    int order = 1000;
    for (const auto& p : tp.programs) {
        const bool tv = p.Tv() && p.videoPid;
        const Sample& s = tv ? tv_ : radio_;
        if (!p.audioPid && !tv) continue;  // a data service carries no A/V
        const size_t n = s.packets.size();
        for (size_t i = 0; i < n; ++i) {
            const Packet& in = s.packets[i];
            const uint16_t pid = PidOf(in);
            uint16_t to = 0;
            if (s.videoPid && pid == s.videoPid) to = p.videoPid;
            if (pid == s.audioPid) to = p.audioPid;
            if (!to) continue;
            items.push_back({double(i) / double(n), order, ts.Remap(in, to)});
        }
        ++order;
    }
}

void CMuxBuilder::AddTeletext(const DemoTransponder& tp, CTsPacketizer& ts,
                              std::vector<Item>& items) {
    // Four pages in turn, one every half second, on every teletext PID.
    int order = 500;
    const int count = std::max(1, int(seconds_ / kSiInterval));
    for (const auto& p : tp.programs) {
        uint16_t pid = 0;
        for (const auto& s : p.streams) {
            if (s.type == 6 && !pid) pid = s.pid;
        }
        if (!pid) continue;
        for (int k = 0; k < count; ++k) {
            const int page = 100 + k % 4;
            const auto pes = CTeletextWriter::PagePes(page, TeletextHeader(p, page),
                                                      TeletextRows(tp, p, page, now_));
            const double at = (double(k) + 0.25) / count;
            for (auto& pk : ts.Pes(pid, pes)) items.push_back({at, order, pk});
        }
        ++order;
    }
}

void CMuxBuilder::AddTables(const DemoTransponder& tp, const std::vector<DemoTransponder>& all,
                            CTsPacketizer& ts, std::vector<Item>& items) {
    int order = 0;
    auto add = [&](uint16_t pid, const Section& s, double at) {
        if (s.empty()) return;
        for (auto& pk : ts.Section(pid, s)) items.push_back({at, order++, pk});
    };
    const int psiCount = std::max(1, int(seconds_ / kPsiInterval));
    for (int k = 0; k < psiCount; ++k) {
        const double at = double(k) / psiCount;
        add(0x0000, CSiTables::Pat(tp), at);
        for (const auto& p : tp.programs) add(p.pmtPid, CSiTables::Pmt(p), at);
    }
    const int siCount = std::max(1, int(seconds_ / kSiInterval));
    const uint16_t networkId = tp.networkId ? tp.networkId : 1;
    for (int k = 0; k < siCount; ++k) {
        const double at = (double(k) + 0.5) / siCount;
        add(0x0011, CSiTables::Sdt(tp), at);
        add(0x0010, CSiTables::Nit(all, networkId, "ASTRA"), at);
    }

    // The EIT: present/following of every service every 500 ms, every
    // schedule section once a loop, the services' sections taken in turn and
    // spread evenly. The sections go out in the order of their positions, so
    // that the PID's continuity counter runs on.
    std::vector<std::pair<double, Section>> eit;
    std::vector<std::vector<Section>> schedules;
    for (const auto& p : tp.programs) {
        const auto events = CDemoGuide::Events(p, now_);
        const auto [present, following] = PresentFollowing(events, now_);
        if (!present) continue;
        const Section first = CSiTables::EitPresentFollowing(tp, p, 0, *present);
        const Section second = CSiTables::EitPresentFollowing(tp, p, 1, *following);
        for (int k = 0; k < siCount; ++k) {
            const double at = (double(k) + 0.5) / siCount;
            eit.emplace_back(at, first);
            eit.emplace_back(at, second);
        }
        schedules.push_back(CSiTables::EitSchedule(tp, p, events, CDemoGuide::ScheduleStart(now_)));
    }
    std::vector<const Section*> turns;
    for (size_t i = 0;; ++i) {
        const size_t before = turns.size();
        for (const auto& s : schedules) {
            if (i < s.size()) turns.push_back(&s[i]);
        }
        if (turns.size() == before) break;
    }
    for (size_t j = 0; j < turns.size(); ++j) {
        eit.emplace_back((double(j) + 0.25) / double(turns.size()), *turns[j]);
    }
    std::stable_sort(eit.begin(), eit.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [at, section] : eit) add(kEitPid, section, at);
    add(0x0014, CSiTables::Tdt(now_), 0.0);
}

}  // namespace demomux
