// The recorder's intake of outside bytes: the playback's parser on any
// recording (the first byte picks the form, the second the size of the
// pieces it comes in), and the recording writer on any stream.
//
// Checked: the units are the same whether the bytes come whole or in pieces;
// every unit has a payload, an MPEG audio file gives sound only, stamps fit
// 33 bits; the writer's units are whole PVA packets of at most 6152 bytes or
// groups of at most seven transport packets.
#include <cstdint>
#include <vector>

#include "CPlaybackParser.h"
#include "CRecordWriter.h"
#include "CTsFile.h"

using namespace nvdvbsrv;

namespace {

constexpr RecordFormat kForms[] = {RecordFormat::AudioPes, RecordFormat::Mp2,
                                   RecordFormat::VideoPes, RecordFormat::Pva,
                                   RecordFormat::Transport};

std::vector<PlaybackUnit> Parse(RecordFormat f, std::span<const uint8_t> b, size_t piece) {
    std::vector<PlaybackUnit> units;
    CPlaybackParser p(f);
    const auto take = [&](PlaybackUnit&& u) {
        if (u.unit.payload.empty()) __builtin_trap();
        if (u.unit.pts && *u.unit.pts >= (uint64_t(1) << 33)) __builtin_trap();
        if (f == RecordFormat::Mp2 && u.video) __builtin_trap();
        units.push_back(std::move(u));
    };
    for (size_t at = 0; at < b.size(); at += piece)
        p.Feed(b.subspan(at, std::min(piece, b.size() - at)), take);
    p.Finish(take);
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const RecordFormat form = kForms[data[0] % 5];
    const size_t piece = 1 + data[1] % 200;
    const std::span<const uint8_t> bytes(data + 2, size - 2);
    const auto whole = Parse(form, bytes, bytes.size() + 1);
    const auto pieces = Parse(form, bytes, piece);
    if (whole.size() != pieces.size()) __builtin_trap();
    for (size_t i = 0; i < whole.size(); ++i)
        if (whole[i].unit.payload != pieces[i].unit.payload || whole[i].video != pieces[i].video)
            __builtin_trap();

    const auto file = CTsFile::FromBytes(bytes);
    const uint16_t video = uint16_t(data[1] & 1 ? 0 : 0x100), audio = 0x101;
    CRecordWriter writer(form, video, audio, [&](std::span<const uint8_t> unit) {
        if (unit.empty()) __builtin_trap();
        if (form == RecordFormat::Pva && (unit.size() > 8 + 6144 || unit[0] != 'A' ||
                                          unit.size() != 8u + (unit[6] << 8 | unit[7])))
            __builtin_trap();
        if (form == RecordFormat::Transport && (unit.size() % 188 != 0 || unit.size() > 7 * 188))
            __builtin_trap();
    });
    for (size_t i = 0; i < file.PacketCount(); ++i) {
        writer.Packet(file.Packet(i));
        if (i % 101 == 100) writer.Jump();
    }
    writer.Finish();
    return 0;
}
