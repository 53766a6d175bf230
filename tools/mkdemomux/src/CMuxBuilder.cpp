#include "CMuxBuilder.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "CSiTables.h"

namespace demomux {
namespace {

constexpr double kPsiInterval = 0.1;  // PAT and PMT
constexpr double kSiInterval = 0.5;   // SDT, NIT, EIT present/following

uint16_t PidOf(const Packet& p) { return uint16_t((p[1] & 0x1F) << 8 | p[2]); }

}  // namespace

bool CMuxBuilder::LoadSample(const std::string& path, Sample& sample, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Beispielstrom nicht lesbar: " + path;
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    for (size_t off = 0; off + 188 <= bytes.size(); off += 188) {
        if (bytes[off] != 0x47) {
            error = "Beispielstrom ohne Paketraster: " + path;
            return false;
        }
        Packet p;
        std::copy_n(bytes.begin() + long(off), 188, p.begin());
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
        uint16_t eventId = 1;
        for (const auto& p : tp.programs) {
            DemoEvent present{eventId++, now_ - 600, 3600,
                              p.Tv() ? "Testbild mit Ton" : "Sinuston",
                              "Sendung des Demo-Senders " + p.name};
            DemoEvent next{eventId++, now_ + 3000, 1800, "Nachrichten",
                           "Aktuelles vom Tage"};
            add(0x0012, CSiTables::EitPresentFollowing(tp, p, 0, present), at);
            add(0x0012, CSiTables::EitPresentFollowing(tp, p, 1, next), at);
        }
    }
    add(0x0014, CSiTables::Tdt(now_), 0.0);
}

}  // namespace demomux
