#include "Streams.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>

#include "mpegts/BitWriter.h"
#include "mpegts/Crc32.h"
#include "mpegts/SectionAssembler.h"
#include "mpegts/TsPacket.h"

namespace mpegts::test {

Bytes MakeSection(std::uint8_t tableId, std::uint16_t extension, std::uint8_t version,
                  std::uint8_t number, std::uint8_t last, const Bytes& body) {
    BitWriter w;
    w.U8(tableId);
    w.Flag(true);
    w.Flag(false);
    w.Reserved(2);
    w.Bits(12, static_cast<std::uint32_t>(5 + body.size() + 4));
    w.U16(extension);
    w.Reserved(2);
    w.Bits(5, version);
    w.Flag(true);
    w.U8(number);
    w.U8(last);
    w.Bytes(body);
    w.U32(Crc32Mpeg2(w.Data()));
    return Bytes(w.Data().begin(), w.Data().end());
}

std::vector<Bytes> Packetize(std::uint16_t pid, const std::vector<Bytes>& sections,
                             std::uint8_t cc) {
    Bytes stream;
    std::vector<std::size_t> starts;
    for (const auto& s : sections) {
        starts.push_back(stream.size());
        stream.insert(stream.end(), s.begin(), s.end());
    }
    std::vector<Bytes> packets;
    std::size_t pos = 0, next = 0;
    while (pos < stream.size()) {
        Bytes p(TsPacket::kSize, 0xFF);
        while (next < starts.size() && starts[next] < pos) ++next;
        const bool start = next < starts.size() && starts[next] < pos + 183;
        TsPacket::WriteHeader(p, pid, start, TsPacket::kPayloadOnly, cc++);
        std::size_t at = TsPacket::kHeaderSize;
        if (start) p[at++] = static_cast<std::uint8_t>(starts[next] - pos);
        const std::size_t n = std::min(stream.size() - pos, p.size() - at);
        std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(pos), n,
                    p.begin() + static_cast<std::ptrdiff_t>(at));
        pos += n;
        packets.push_back(p);
    }
    return packets;
}

std::string TestDataDir() { return SVL_TESTDATA_DIR; }

Bytes ReadCapture(const std::string& name) {
    std::ifstream in(TestDataDir() + "/" + name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<Bytes> SectionsOf(const Bytes& ts, std::uint16_t pid) {
    SectionAssembler a;
    std::vector<Bytes> out;
    for (std::size_t off = 0; off + TsPacket::kSize <= ts.size(); off += TsPacket::kSize) {
        const auto bytes = std::span<const std::uint8_t>(ts).subspan(off, TsPacket::kSize);
        const auto p = TsPacket::View(bytes);
        if (!p || p->Pid() != pid) continue;
        a.Feed(bytes,
               [&](std::span<const std::uint8_t> s) { out.emplace_back(s.begin(), s.end()); });
    }
    return out;
}

std::vector<Bytes> PesOf(const Bytes& ts, std::uint16_t pid) {
    std::vector<Bytes> out;
    Bytes current;
    bool started = false;
    for (std::size_t off = 0; off + TsPacket::kSize <= ts.size(); off += TsPacket::kSize) {
        const auto p =
            TsPacket::View(std::span<const std::uint8_t>(ts).subspan(off, TsPacket::kSize));
        if (!p || p->Pid() != pid) continue;
        if (p->PayloadUnitStart()) {
            if (started) out.push_back(current);
            current.clear();
            started = true;
        }
        if (started) current.insert(current.end(), p->Payload().begin(), p->Payload().end());
    }
    if (started) out.push_back(current);
    return out;
}

}  // namespace mpegts::test
