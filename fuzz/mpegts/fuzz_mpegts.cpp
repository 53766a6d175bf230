// Arbitrary bytes through the transport-stream floor: 188-byte packets into the
// packet view and the section assembler, every section into the header parser,
// the CRC check and a descriptor loop, the packets' payloads into the PES
// parser, the raw input through the bit reader and, as a video elementary
// stream, through the start-code search and the sequence header and parameter
// set parsers. Every view handed out must lie inside the bytes it came from.
#include <cstddef>
#include <cstdint>
#include <span>

#include "mpegts/BitReader.h"
#include "mpegts/Crc32.h"
#include "mpegts/DescriptorLoop.h"
#include "mpegts/DvbTime.h"
#include "mpegts/PesHeader.h"
#include "mpegts/SectionAssembler.h"
#include "mpegts/SectionHeader.h"
#include "mpegts/TsPacket.h"
#include "mpegts/VideoHeaders.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

void Inside(Bytes part, Bytes whole) {
    if (part.empty()) return;
    if (part.data() < whole.data() || part.data() + part.size() > whole.data() + whole.size())
        __builtin_trap();
}

void Descriptors(Bytes loop) {
    const mpegts::DescriptorLoop descriptors(loop);
    std::size_t bytes = 0;
    for (const mpegts::Descriptor& d : descriptors) {
        Inside(d.body, loop);
        bytes += 2 + d.Length();
    }
    if (bytes != descriptors.ValidBytes() || bytes > loop.size()) __builtin_trap();
    (void)descriptors.Find(0x48);
}

void Section(Bytes s) {
    const auto h = mpegts::SectionHeader::Parse(s);
    if (!h || h->TotalSize() != s.size() || s.size() > mpegts::SectionAssembler::kMaxSection)
        __builtin_trap();
    (void)mpegts::SectionCrcValid(s);
    mpegts::BitReader r(s);
    r.SkipBytes(h->syntaxIndicator ? mpegts::SectionHeader::kLongSize : 3);
    r.Skip(4);
    const auto loop = r.Bytes(r.Bits(12));
    Inside(loop, s);
    Descriptors(loop);
    mpegts::BitReader t(s);  // as if it were a time table
    t.SkipBytes(3);
    (void)mpegts::UtcToUnix(std::uint64_t(t.U16()) << 24 | t.U24());
}

void Pes(Bytes pes) {
    const auto h = mpegts::PesHeader::Parse(pes);
    if (!h) return;
    Inside(h->payload, pes);
    if (h->payloadOffset + h->payload.size() > pes.size()) __builtin_trap();
}

void Reader(Bytes data) {
    mpegts::BitReader r(data);
    for (std::size_t i = 0; i < data.size() && r.Ok(); ++i) {
        const unsigned width = data[i] % 36;  // 0 and 33 are errors
        if (width == 33 && r.BytesLeft() > 0)
            Inside(r.Bytes(data[i] % (r.BytesLeft() + 1)), data);
        else if (width == 34)
            (void)r.ExpGolomb();
        else if (width == 35)
            (void)r.SignedExpGolomb();
        else
            (void)r.Bits(width);
    }
}

// Every start code found lies after from and inside the stream; the unit up
// to the next one goes through the parsers, and a picture read from it is
// never empty nor larger than the largest coded size accepted.
void VideoStream(Bytes es) {
    std::size_t from = 0;
    while (const auto at = mpegts::FindStartCode(es, from)) {
        if (*at < from + 3 || *at > es.size()) __builtin_trap();
        const auto next = mpegts::FindStartCode(es, *at);
        const Bytes unit = es.subspan(*at, (next ? *next - 3 : es.size()) - *at);
        (void)mpegts::Mpeg2SequenceHeader::Parse(unit);
        if (const auto sps = mpegts::AvcSequenceParameterSet::Parse(unit)) {
            if (sps->width == 0 || sps->height == 0 || sps->width > 16384 || sps->height > 32768)
                __builtin_trap();
        }
        if (mpegts::AvcRbsp(unit).size() > unit.size()) __builtin_trap();
        from = *at;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, size);
    mpegts::SectionAssembler assembler;
    for (std::size_t off = 0; off + mpegts::TsPacket::kSize <= size;
         off += mpegts::TsPacket::kSize) {
        const Bytes bytes = input.subspan(off, mpegts::TsPacket::kSize);
        const auto packet = mpegts::TsPacket::View(bytes);
        if (!packet) continue;
        Inside(packet->Payload(), bytes);
        Inside(packet->AdaptationField(), bytes);
        (void)packet->Pcr();
        if (packet->PayloadUnitStart()) Pes(packet->Payload());
        assembler.Feed(bytes, [](Bytes s) { Section(s); });
    }
    Pes(input);
    Descriptors(input);
    Reader(input);
    VideoStream(input);
    return 0;
}
