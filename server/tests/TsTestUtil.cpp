#include "TsTestUtil.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>

#include "mpegts/Crc32.h"

namespace testutil {

Bytes MakeSection(uint8_t tableId, uint16_t ext, uint8_t version, uint8_t number, uint8_t last,
                  const Bytes& body, bool currentNext) {
    const size_t length = 5 + body.size() + 4;
    Bytes s = {tableId,         uint8_t(0xB0 | (length >> 8)),
               uint8_t(length), uint8_t(ext >> 8),
               uint8_t(ext),    uint8_t(0xC0 | (version & 0x1F) << 1 | (currentNext ? 1 : 0)),
               number,          last};
    s.insert(s.end(), body.begin(), body.end());
    const uint32_t crc = mpegts::Crc32Mpeg2(s);
    for (int k = 3; k >= 0; --k) s.push_back(uint8_t(crc >> (8 * k)));
    return s;
}

std::vector<Bytes> Packetize(uint16_t pid, const std::vector<Bytes>& sections, uint8_t& cc) {
    // The stream of section bytes with the offsets where sections start.
    Bytes stream;
    std::vector<size_t> starts;
    for (const auto& s : sections) {
        starts.push_back(stream.size());
        stream.insert(stream.end(), s.begin(), s.end());
    }
    std::vector<Bytes> packets;
    size_t pos = 0, next = 0;
    while (pos < stream.size()) {
        Bytes p(188, 0xFF);
        p[0] = 0x47;
        p[2] = uint8_t(pid);
        p[3] = uint8_t(0x10 | (cc++ & 0x0F));
        size_t at = 4;
        while (next < starts.size() && starts[next] < pos) ++next;
        bool start = next < starts.size() && starts[next] < pos + 183;
        p[1] = uint8_t((start ? 0x40 : 0) | (pid >> 8));
        if (start) p[at++] = uint8_t(starts[next] - pos);
        size_t n = std::min(stream.size() - pos, 188 - at);
        std::copy_n(stream.begin() + std::ptrdiff_t(pos), n, p.begin() + std::ptrdiff_t(at));
        pos += n;
        packets.push_back(p);
    }
    return packets;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<Bytes> ExtractSections(const Bytes& ts, uint16_t pid) {
    // Runs of payload between continuity breaks, with the positions where a
    // pointer field says a section begins.
    std::vector<Bytes> out;
    Bytes run;
    bool synced = false;
    int lastCc = -1;
    auto cut = [&](size_t from) {
        // Sections back to back from 'from' until stuffing or the end of the run.
        size_t i = from;
        while (i + 3 <= run.size() && run[i] != 0xFF) {
            size_t len = 3 + ((run[i + 1] & 0x0F) << 8 | run[i + 2]);
            if (i + len > run.size()) break;
            out.emplace_back(run.begin() + std::ptrdiff_t(i),
                             run.begin() + std::ptrdiff_t(i + len));
            i += len;
        }
        return i;
    };
    for (size_t off = 0; off + 188 <= ts.size(); off += 188) {
        const uint8_t* p = &ts[off];
        if (p[0] != 0x47 || ((p[1] & 0x1F) << 8 | p[2]) != pid || !(p[3] & 0x10)) continue;
        int cc = p[3] & 0x0F;
        if (lastCc >= 0 && cc != ((lastCc + 1) & 0x0F)) synced = false;
        lastCc = cc;
        size_t at = 4 + ((p[3] & 0x20) ? 1 + p[4] : 0);
        if (at >= 188) continue;
        if (p[1] & 0x40) {
            size_t pointer = p[at];
            const uint8_t* pay = p + at + 1;
            size_t n = 188 - at - 1;
            if (synced) run.insert(run.end(), pay, pay + std::min(pointer, n));
            if (synced) cut(0);
            run.assign(pay + std::min(pointer, n), pay + n);
            synced = true;
            // Sections that end inside this packet are cut at the next start.
            size_t used = cut(0);
            run.erase(run.begin(), run.begin() + std::ptrdiff_t(used));
            if (!run.empty() && run[0] == 0xFF) run.clear(), synced = false;
        } else if (synced) {
            run.insert(run.end(), p + at, p + 188);
            size_t used = cut(0);
            run.erase(run.begin(), run.begin() + std::ptrdiff_t(used));
            if (!run.empty() && run[0] == 0xFF) run.clear(), synced = false;
        }
    }
    return out;
}

std::string TestDataDir() {
#ifdef SVL_TESTDATA_DIR
    return SVL_TESTDATA_DIR;
#else
    return "";
#endif
}

}  // namespace testutil
