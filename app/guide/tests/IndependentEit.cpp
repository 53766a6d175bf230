#include "IndependentEit.h"

#include <fstream>
#include <iterator>

namespace independent {
namespace {

std::uint32_t Crc(const Bytes& data) {
    static const auto table = [] {
        std::vector<std::uint32_t> t(256);
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i << 24;
            for (int k = 0; k < 8; ++k) c = c & 0x80000000u ? c << 1 ^ 0x04C11DB7u : c << 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t b : data) crc = crc << 8 ^ table[(crc >> 24 ^ b) & 0xFF];
    return crc;
}

struct Collector {
    explicit Collector(std::vector<Section>& sink) : out(sink) {}
    std::vector<Section>& out;
    Section current;
    bool on = false;

    void Append(const Bytes& ts, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            current.bytes.push_back(ts[i]);
            current.fileOffsets.push_back(i);
        }
    }

    // Hands on every whole section at the front; stuffing ends the packet's sections.
    void Flush() {
        while (on && current.bytes.size() >= 3) {
            if (current.bytes[0] == 0xFF) {
                on = false;
                break;
            }
            const std::size_t length = 3 + ((current.bytes[1] & 0x0Fu) << 8 | current.bytes[2]);
            if (current.bytes.size() < length) break;
            Section s;
            s.bytes.assign(current.bytes.begin(), current.bytes.begin() + std::ptrdiff_t(length));
            s.fileOffsets.assign(current.fileOffsets.begin(),
                                 current.fileOffsets.begin() + std::ptrdiff_t(length));
            s.crcOk = Crc(s.bytes) == 0;
            out.push_back(std::move(s));
            current.bytes.erase(current.bytes.begin(),
                                current.bytes.begin() + std::ptrdiff_t(length));
            current.fileOffsets.erase(current.fileOffsets.begin(),
                                      current.fileOffsets.begin() + std::ptrdiff_t(length));
        }
    }

    void Packet(const Bytes& ts, std::size_t p) {
        const std::uint8_t control = ts[p + 3] >> 4 & 3;
        if (!(control & 1)) return;
        std::size_t i = p + 4 + (control & 2 ? 1 + ts[p + 4] : 0);
        const std::size_t end = p + 188;
        if (i >= end) return;
        if (ts[p + 1] & 0x40) {
            const std::size_t pointer = ts[i++];
            if (on) Append(ts, i, std::min(i + pointer, end));
            Flush();
            current = {};
            on = true;
            i += pointer;
        }
        if (!on || i >= end) return;
        Append(ts, i, end);
        Flush();
    }
};

}  // namespace

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Section> SectionsOf(const Bytes& ts, std::uint16_t pid) {
    std::vector<Section> out;
    Collector c(out);
    for (std::size_t p = 0; p + 188 <= ts.size(); p += 188) {
        if (ts[p] != 0x47 || ((ts[p + 1] & 0x1Fu) << 8 | ts[p + 2]) != pid) continue;
        c.Packet(ts, p);
    }
    return out;
}

std::vector<Event> EventsOf(const Section& section) {
    const Bytes& s = section.bytes;
    std::vector<Event> out;
    if (!section.crcOk || s.size() < 18 || s[0] < 0x4E || s[0] > 0x6F) return out;
    auto u16 = [&](std::size_t i) { return std::uint16_t(s[i] << 8 | s[i + 1]); };
    const std::size_t end = s.size() - 4;
    for (std::size_t i = 14; i + 12 <= end;) {
        Event e{s[0], u16(10), u16(8), u16(3), u16(i), 0, 0, {}};
        for (std::size_t k = 0; k < 5; ++k) e.start = e.start << 8 | s[i + 2 + k];
        e.duration = std::uint32_t(s[i + 7] << 16 | s[i + 8] << 8 | s[i + 9]);
        const std::size_t loopEnd = i + 12 + ((s[i + 10] & 0x0Fu) << 8 | s[i + 11]);
        for (std::size_t d = i + 12; d + 2 <= loopEnd && d + 2 + s[d + 1] <= loopEnd;
             d += 2 + s[d + 1]) {
            if (s[d] == 0x4D && s[d + 1] >= 5 && e.name.empty()) {
                const std::size_t n = s[d + 5];
                e.name.assign(s.begin() + std::ptrdiff_t(d + 6),
                              s.begin() + std::ptrdiff_t(std::min(d + 6 + n, loopEnd)));
            }
        }
        out.push_back(std::move(e));
        i = loopEnd;
    }
    return out;
}

}  // namespace independent
