// The recorder's byte work without a card: MPEG audio frame sizes, and
// recordings made from packets of a known program read back by the
// playback's parser, whole and cut at every byte.
#include <gtest/gtest.h>

#include <vector>

#include "CPlaybackParser.h"
#include "CRecordWriter.h"
#include "MpegAudioHeader.h"
#include "ProgramTables.h"
#include "mpegts/TsPacket.h"

using namespace nvdvbsrv;

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint16_t kVideo = 0x100, kAudio = 0x101, kPmt = 0x80;

// A bounded PES packet with that PTS and `size` payload bytes from `seed`.
Bytes Pes(uint8_t streamId, uint64_t pts, size_t size, uint8_t seed) {
    Bytes b = {0,
               0,
               1,
               streamId,
               0,
               0,
               0x80,
               0x80,
               5,
               uint8_t(0x21 | (pts >> 29 & 0x0E)),
               uint8_t(pts >> 22),
               uint8_t(pts >> 14 | 1),
               uint8_t(pts >> 7),
               uint8_t(pts << 1 | 1)};
    for (size_t i = 0; i < size; ++i) b.push_back(uint8_t(seed + i));
    const size_t length = b.size() - 6;
    b[4] = uint8_t(length >> 8);
    b[5] = uint8_t(length);
    return b;
}

void Packets(Bytes& ts, const Bytes& payload, uint16_t pid, uint8_t& cc) {
    for (size_t at = 0; at < payload.size(); at += 184) {
        Bytes p(188, 0xFF);
        mpegts::TsPacket::WriteHeader(p, pid, at == 0, 1, cc++ & 0x0F);
        std::copy(payload.begin() + std::ptrdiff_t(at),
                  payload.begin() + std::ptrdiff_t(std::min(payload.size(), at + 184)),
                  p.begin() + 4);
        ts.insert(ts.end(), p.begin(), p.end());
    }
}

// A second of a program: its tables, then 25 pictures of 3000 bytes and 5
// sound PES packets, 40 ms apart.
Bytes Program() {
    Bytes ts;
    uint8_t patCc = 0, pmtCc = 0, vCc = 0, aCc = 0;
    ProgramMap map;
    map.program = 7;
    map.pcrPid = kVideo;
    map.streams = {{0x02, kVideo, {}}, {0x03, kAudio, {0x0A, 0x04, 'd', 'e', 'u', 0}}};
    const auto pat = ProgramTables::Packetize(ProgramTables::WritePat(1, 7, kPmt), 0, patCc);
    const auto pmt = ProgramTables::Packetize(ProgramTables::WritePmt(map), kPmt, pmtCc);
    ts.insert(ts.end(), pat.begin(), pat.end());
    ts.insert(ts.end(), pmt.begin(), pmt.end());
    for (int i = 0; i < 25; ++i) {
        Packets(ts, Pes(0xE0, 90000 + 3600 * uint64_t(i), 3000, uint8_t(i)), kVideo, vCc);
        if (i % 5 == 0)
            Packets(ts, Pes(0xC0, 89000 + 3600 * uint64_t(i), 900, uint8_t(i)), kAudio, aCc);
    }
    return ts;
}

Bytes Record(RecordFormat format, const Bytes& ts) {
    Bytes out;
    CRecordWriter w(format, kVideo, kAudio,
                    [&](std::span<const uint8_t> u) { out.insert(out.end(), u.begin(), u.end()); });
    for (size_t at = 0; at + 188 <= ts.size(); at += 188)
        w.Packet(std::span<const uint8_t>(ts).subspan(at, 188));
    w.Finish();
    return out;
}

std::vector<PlaybackUnit> Parse(RecordFormat format, std::span<const uint8_t> bytes,
                                size_t piece = 1000) {
    std::vector<PlaybackUnit> units;
    CPlaybackParser p(format);
    const auto take = [&](PlaybackUnit&& u) { units.push_back(std::move(u)); };
    for (size_t at = 0; at < bytes.size(); at += piece)
        p.Feed(bytes.subspan(at, std::min(piece, bytes.size() - at)), take);
    p.Finish(take);
    return units;
}

int Count(const std::vector<PlaybackUnit>& units, bool video) {
    return int(std::count_if(units.begin(), units.end(),
                             [&](const PlaybackUnit& u) { return u.video == video; }));
}

}  // namespace

TEST(MpegAudioHeader, FrameSizesAndSamplesOfTheThreeLayersAndVersions) {
    struct Case {
        uint8_t b1, b2;
        uint32_t bytes, rate, samples;
    } cases[] = {
        {0xFD, 0xA4, 576, 48000, 1152},  // MPEG-1 layer II, 192 kbit/s
        {0xFD, 0x82, 418, 44100, 1152},  // 128 kbit/s, padded
        {0xFB, 0x10, 104, 44100, 1152},  // layer III, 32 kbit/s
        {0xFF, 0x18, 48, 32000, 384},    // layer I, 32 kbit/s
        {0xF3, 0x84, 192, 24000, 576},   // MPEG-2 layer III, 64 kbit/s
        {0xF5, 0x84, 384, 24000, 1152},  // MPEG-2 layer II
        {0xE5, 0x48, 576, 8000, 1152},   // MPEG-2.5 layer II, 32 kbit/s
    };
    for (const Case& c : cases) {
        const uint8_t b[4] = {0xFF, c.b1, c.b2, 0xC4};
        const auto h = MpegAudioHeader::Parse(b);
        ASSERT_TRUE(h) << int(c.b1) << " " << int(c.b2);
        EXPECT_EQ(h->frameBytes, c.bytes) << int(c.b2);
        EXPECT_EQ(h->sampleRate, c.rate) << int(c.b2);
        EXPECT_EQ(h->samples, c.samples) << int(c.b2);
    }
    // Free format, a bad rate index, a reserved rate, version or layer, no sync.
    for (const Bytes& bad :
         {Bytes{0xFF, 0xFD, 0x04, 0}, Bytes{0xFF, 0xFD, 0xF4, 0}, Bytes{0xFF, 0xFD, 0xAC, 0},
          Bytes{0xFF, 0xED, 0xA4, 0}, Bytes{0xFF, 0xF9, 0xA4, 0}, Bytes{0xFE, 0xFD, 0xA4, 0}})
        EXPECT_FALSE(MpegAudioHeader::Parse(bad));
}

TEST(RecordFormats, EveryFormPlaysBackWhatWasRecorded) {
    const Bytes ts = Program();
    struct Case {
        RecordFormat format;
        int video, audio;
    } cases[] = {
        {RecordFormat::Pva, 25, 5},
        {RecordFormat::VideoPes, 25, 0},
        {RecordFormat::AudioPes, 0, 5},
        {RecordFormat::Transport, 25, 5},
    };
    for (const Case& c : cases) {
        const auto units = Parse(c.format, Record(c.format, ts));
        EXPECT_EQ(Count(units, true), c.video) << int(c.format);
        EXPECT_EQ(Count(units, false), c.audio) << int(c.format);
        // The pictures' bytes and stamps come back as they went in.
        const auto first =
            std::find_if(units.begin(), units.end(), [](const PlaybackUnit& u) { return u.video; });
        if (c.video == 0) continue;
        ASSERT_NE(first, units.end());
        const Bytes picture = Pes(0xE0, 0, 3000, 0);
        EXPECT_EQ(first->unit.payload, Bytes(picture.begin() + 14, picture.end()));
        ASSERT_TRUE(first->unit.pts);
        const auto second =
            std::find_if(first + 1, units.end(), [](const PlaybackUnit& u) { return u.video; });
        EXPECT_EQ(*second->unit.pts - *first->unit.pts, 3600u) << int(c.format);
    }
}

TEST(RecordFormats, PvaStampsRunOnWhereTheStreamLoops) {
    const Bytes ts = Program();
    Bytes out;
    CRecordWriter w(RecordFormat::Pva, kVideo, kAudio,
                    [&](std::span<const uint8_t> u) { out.insert(out.end(), u.begin(), u.end()); });
    for (int loop = 0; loop < 2; ++loop) {
        for (size_t at = 0; at + 188 <= ts.size(); at += 188)
            w.Packet(std::span<const uint8_t>(ts).subspan(at, 188));
        w.Jump();
    }
    std::vector<uint64_t> stamps;
    for (const auto& u : Parse(RecordFormat::Pva, out))
        if (u.video) stamps.push_back(*u.unit.pts);
    ASSERT_EQ(stamps.size(), 50u);
    for (size_t i = 1; i < stamps.size(); ++i) EXPECT_GT(stamps[i], stamps[i - 1]) << i;
}

// A recording cut anywhere plays up to its last whole packet.
TEST(RecordFormats, ACutRecordingPlaysUpToItsLastWholePacket) {
    const Bytes pva = Record(RecordFormat::Pva, Program());
    const Bytes ts = Record(RecordFormat::Transport, Program());
    // Where each PVA packet ends.
    std::vector<size_t> ends;
    for (size_t at = 0; at + 8 <= pva.size(); at += 8 + (pva[at + 6] << 8 | pva[at + 7]))
        ends.push_back(at + 8 + (pva[at + 6] << 8 | pva[at + 7]));
    for (size_t cut = 0; cut <= pva.size(); cut += 37) {
        const auto units = Parse(RecordFormat::Pva, std::span<const uint8_t>(pva).first(cut), 333);
        const int whole = int(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
        // A picture is one PVA packet here; a sound PES packet one too.
        EXPECT_EQ(int(units.size()), whole) << cut;
    }
    const size_t full = Parse(RecordFormat::Transport, ts).size();
    for (size_t cut = ts.size() / 2; cut <= ts.size(); cut += 61) {
        const auto units = Parse(RecordFormat::Transport, std::span<const uint8_t>(ts).first(cut));
        EXPECT_LE(units.size(), full);
        EXPECT_GE(units.size() + 2, full * cut / ts.size()) << cut;
    }
}

TEST(RecordFormats, Mp2RecordingIsTheFramesOfTheSound) {
    // Three layer II frames of 576 bytes in two PES packets, split mid-frame.
    Bytes frames;
    for (int i = 0; i < 3; ++i) {
        Bytes f(576, uint8_t(i));
        f[0] = 0xFF, f[1] = 0xFD, f[2] = 0xA4, f[3] = 0xC4;
        frames.insert(frames.end(), f.begin(), f.end());
    }
    Bytes ts;
    uint8_t cc = 0;
    for (const auto& part : {Bytes(frames.begin(), frames.begin() + 1000),
                             Bytes(frames.begin() + 1000, frames.end())}) {
        Bytes pes = Pes(0xC0, 90000, 0, 0);
        pes.insert(pes.end(), part.begin(), part.end());
        const size_t length = pes.size() - 6;
        pes[4] = uint8_t(length >> 8), pes[5] = uint8_t(length);
        Packets(ts, pes, kAudio, cc);
    }
    std::vector<Bytes> units;
    CRecordWriter w(RecordFormat::Mp2, kVideo, kAudio,
                    [&](std::span<const uint8_t> u) { units.emplace_back(u.begin(), u.end()); });
    for (size_t at = 0; at + 188 <= ts.size(); at += 188)
        w.Packet(std::span<const uint8_t>(ts).subspan(at, 188));
    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(units[0], Bytes(frames.begin(), frames.begin() + 576));
    EXPECT_EQ(units[2], Bytes(frames.begin() + 1152, frames.end()));
    const auto played = Parse(RecordFormat::Mp2, frames);
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(*played[1].unit.pts, 1152u * 90000 / 48000);  // counted from the samples
}
