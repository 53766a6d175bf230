#include "ProgramTables.h"

#include <algorithm>

#include "mpegts/BitReader.h"
#include "mpegts/BitWriter.h"
#include "mpegts/Crc32.h"
#include "mpegts/SectionHeader.h"
#include "mpegts/TsPacket.h"

namespace nvdvbsrv::ProgramTables {
namespace {

constexpr uint8_t kPatTable = 0x00;
constexpr uint8_t kPmtTable = 0x02;
constexpr std::size_t kCrcSize = 4;

// The body between the long header and the CRC of a valid section of that table.
std::optional<mpegts::BitReader> Body(std::span<const uint8_t> section, uint8_t table,
                                      uint16_t& extension) {
    const auto h = mpegts::SectionHeader::Parse(section);
    if (!h || h->tableId != table || !h->syntaxIndicator || !h->longForm ||
        h->TotalSize() != section.size() ||
        section.size() < mpegts::SectionHeader::kLongSize + kCrcSize ||
        !mpegts::SectionCrcValid(section))
        return std::nullopt;
    extension = h->longForm->tableIdExtension;
    return mpegts::BitReader(
        section.subspan(mpegts::SectionHeader::kLongSize,
                        section.size() - mpegts::SectionHeader::kLongSize - kCrcSize));
}

// Header and body with section_length and CRC filled in.
std::vector<uint8_t> Finish(mpegts::BitWriter& w) {
    std::vector<uint8_t> s(w.Data().begin(), w.Data().end());
    const std::size_t length = s.size() - 3 + kCrcSize;
    s[1] = uint8_t(0xB0 | (length >> 8 & 0x0F));
    s[2] = uint8_t(length);
    const uint32_t crc = mpegts::Crc32Mpeg2(s);
    for (int shift = 24; shift >= 0; shift -= 8) s.push_back(uint8_t(crc >> shift));
    return s;
}

void LongHeader(mpegts::BitWriter& w, uint8_t table, uint16_t extension) {
    w.U8(table);
    w.U16(0);  // flags and length, filled in by Finish
    w.U16(extension);
    w.Bits(2, 3);
    w.Bits(5, 0);  // version
    w.Flag(true);  // current
    w.U8(0);
    w.U8(0);
}

}  // namespace

std::optional<std::vector<PatEntry>> ParsePat(std::span<const uint8_t> section) {
    uint16_t tsid = 0;
    auto r = Body(section, kPatTable, tsid);
    if (!r) return std::nullopt;
    std::vector<PatEntry> out;
    while (r->BytesLeft() >= 4) {
        PatEntry e;
        e.program = r->U16();
        r->Skip(3);
        e.pmtPid = uint16_t(r->Bits(13));
        if (e.program != 0) out.push_back(e);
    }
    return out;
}

std::optional<ProgramMap> ParsePmt(std::span<const uint8_t> section) {
    ProgramMap m;
    auto r = Body(section, kPmtTable, m.program);
    if (!r) return std::nullopt;
    r->Skip(3);
    m.pcrPid = uint16_t(r->Bits(13));
    r->Skip(4);
    r->SkipBytes(r->Bits(12));  // program_info
    while (r->Ok() && r->BytesLeft() >= 5) {
        PmtStream s;
        s.type = r->U8();
        r->Skip(3);
        s.pid = uint16_t(r->Bits(13));
        r->Skip(4);
        const auto info = r->Bytes(r->Bits(12));
        s.descriptors.assign(info.begin(), info.end());
        if (r->Ok()) m.streams.push_back(std::move(s));
    }
    if (!r->Ok()) return std::nullopt;
    return m;
}

bool IsVideo(const PmtStream& s) {
    // MPEG-1, MPEG-2, MPEG-4 part 2, H.264, H.265
    return s.type == 0x01 || s.type == 0x02 || s.type == 0x10 || s.type == 0x1B || s.type == 0x24;
}

bool IsAudio(const PmtStream& s) {
    // MPEG-1 and MPEG-2 audio, AAC (ADTS, LATM), AC-3 as ATSC carries it
    if (s.type == 0x03 || s.type == 0x04 || s.type == 0x0F || s.type == 0x11 || s.type == 0x81)
        return true;
    if (s.type != 0x06) return false;
    // Private data with an AC-3 or enhanced AC-3 descriptor (EN 300 468).
    for (std::size_t i = 0; i + 1 < s.descriptors.size(); i += 2 + s.descriptors[i + 1]) {
        if (s.descriptors[i] == 0x6A || s.descriptors[i] == 0x7A) return true;
    }
    return false;
}

std::vector<uint8_t> WritePat(uint16_t transportStreamId, uint16_t program, uint16_t pmtPid) {
    mpegts::BitWriter w;
    LongHeader(w, kPatTable, transportStreamId);
    w.U16(program);
    w.Bits(3, 7);
    w.Bits(13, pmtPid);
    return Finish(w);
}

std::vector<uint8_t> WritePmt(const ProgramMap& map) {
    mpegts::BitWriter w;
    LongHeader(w, kPmtTable, map.program);
    w.Bits(3, 7);
    w.Bits(13, map.pcrPid);
    w.Bits(4, 15);
    w.Bits(12, 0);
    for (const PmtStream& s : map.streams) {
        w.U8(s.type);
        w.Bits(3, 7);
        w.Bits(13, s.pid);
        w.Bits(4, 15);
        w.Bits(12, uint32_t(s.descriptors.size()));
        w.Bytes(s.descriptors);
    }
    return Finish(w);
}

std::vector<uint8_t> Packetize(std::span<const uint8_t> section, uint16_t pid, uint8_t& cc) {
    using mpegts::TsPacket;
    std::vector<uint8_t> out;
    bool first = true;
    do {
        std::vector<uint8_t> p(TsPacket::kSize, 0xFF);
        TsPacket::WriteHeader(p, pid, first, TsPacket::kPayloadOnly, cc);
        cc = (cc + 1) & 0x0F;
        std::size_t at = TsPacket::kHeaderSize;
        if (first) p[at++] = 0;  // pointer_field
        const std::size_t n = std::min(section.size(), TsPacket::kSize - at);
        std::copy_n(section.begin(), n, p.begin() + std::ptrdiff_t(at));
        section = section.subspan(n);
        out.insert(out.end(), p.begin(), p.end());
        first = false;
    } while (!section.empty());
    return out;
}

}  // namespace nvdvbsrv::ProgramTables
