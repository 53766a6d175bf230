// The engine's file scan: MPEG audio frame headers and durations, PVA time
// stamps from the first packets and the last MiB, and re-synchronisation.
#include <gtest/gtest.h>

#include <vector>

#include "recording/StreamFileScan.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Counts the bytes read, to see which parts of a file a scan touched.
struct CountingSource : MemorySource {
    using MemorySource::MemorySource;
    std::uint64_t read = 0;
    bool ReadAt(std::uint64_t at, std::uint8_t* out, std::size_t n) override {
        read += n;
        return MemorySource::ReadAt(at, out, n);
    }
};

// `count` frames of MPEG audio with the header bytes 1 and 2 given.
Bytes Frames(std::uint8_t b1, std::uint8_t b2, std::size_t length, int count) {
    Bytes f;
    for (int i = 0; i < count; ++i) {
        f.insert(f.end(), {0xFF, b1, b2, 0xC4});
        f.insert(f.end(), length - 4, 0x55);
    }
    return f;
}

void Pva(Bytes& f, std::uint8_t stream, std::optional<std::uint32_t> pts, std::size_t payload) {
    const std::size_t length = payload + (pts ? 4 : 0);
    f.insert(f.end(), {'A', 'V', stream, 0, 0x55, std::uint8_t(pts ? 0x10 : 0),
                       std::uint8_t(length >> 8), std::uint8_t(length)});
    if (pts)
        for (int i = 3; i >= 0; --i) f.push_back(std::uint8_t(*pts >> (8 * i)));
    f.insert(f.end(), payload, 0);
}

TEST(MpegAudioFrame, BitRatesSamplingRatesAndLengths) {
    const std::uint8_t mpeg1[] = {0xFF, 0xFD, 0xA4, 0xC4};  // layer II, 192 kbit/s, 48 kHz
    const auto f = ParseMpegAudioFrame(mpeg1);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->bitrateKbit, 192u);
    EXPECT_EQ(f->sampleRate, 48000u);
    EXPECT_EQ(f->length, 576u);
    const std::uint8_t padded[] = {0xFF, 0xFD, 0x92, 0xC4};  // 160 kbit/s, 44.1 kHz, padding
    EXPECT_EQ(ParseMpegAudioFrame(padded)->length, 160u * 144000 / 44100 + 1);
    const std::uint8_t lsf[] = {0xFF, 0xF5, 0x84, 0xC4};  // MPEG-2: 64 kbit/s, 24 kHz
    EXPECT_EQ(ParseMpegAudioFrame(lsf)->sampleRate, 24000u);
    EXPECT_EQ(ParseMpegAudioFrame(lsf)->length, 384u);
    for (const std::uint8_t b2 : {0x04, 0xF4, 0xAC}) {  // free, bad bit rate, reserved rate
        const std::uint8_t bad[] = {0xFF, 0xFD, b2, 0xC4};
        EXPECT_FALSE(ParseMpegAudioFrame(bad)) << int(b2);
    }
    const std::uint8_t noSync[] = {0xFF, 0xED, 0xA4, 0xC4};
    EXPECT_FALSE(ParseMpegAudioFrame(noSync));
}

TEST(StreamFileScan, MpegAudioDurationFromTheFirstFrame) {
    const Bytes mp2 = Frames(0xFD, 0xA4, 576, 1000);  // 48 kHz, 192 kbit/s
    MemorySource source(mp2);
    const auto info = ScanStreamFile(StreamKind::MpegAudio, source);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fileLength, 576000u);
    EXPECT_EQ(info->durationMs, 24000u);
    EXPECT_EQ(info->sampleRate, 48000u);

    // MPEG-2 at 24 kHz: 1152 samples last 48 ms.
    const Bytes lsf = Frames(0xF5, 0x84, 384, 100);
    MemorySource lsfSource(lsf);
    EXPECT_EQ(ScanStreamFile(StreamKind::MpegAudio, lsfSource)->durationMs, 4800u);

    Bytes late = mp2;
    late.insert(late.begin(), 0x00);
    MemorySource lateSource(late);
    EXPECT_FALSE(ScanStreamFile(StreamKind::MpegAudio, lateSource)) << "no frame at offset 0";
}

TEST(StreamFileScan, PvaReadsTheFirstPacketsAndTheLastMiBOnly) {
    Bytes f;
    Pva(f, 2, std::nullopt, 200);
    Pva(f, 1, 1000, 1000);  // the first video PTS
    while (f.size() < 3 * 1048576) Pva(f, 2, std::nullopt, 4000);
    Pva(f, 1, 1000 + 90 * 60000, 1000);  // a minute later
    Pva(f, 2, std::nullopt, 100);
    CountingSource source(f);
    const auto info = ScanStreamFile(StreamKind::PvaPackets, source);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->durationMs, 60000u);
    EXPECT_LT(source.read, 1048576u + 2 * 16384u) << "the middle of the file is not read";

    Bytes audioOnly;
    Pva(audioOnly, 2, std::nullopt, 100);
    Pva(audioOnly, 1, std::nullopt, 100);
    MemorySource noVideo(audioOnly);
    EXPECT_FALSE(ScanStreamFile(StreamKind::PvaPackets, noVideo));
}

TEST(StreamFileScan, ResynchronisesOnTheNextWholePacketOrFrame) {
    Bytes f(100, 'A');                                         // noise, "A" without "V"
    f.insert(f.end(), {'A', 'V', 1, 0, 0x55, 0, 0x30, 0x00});  // a payload too long
    const std::size_t packet = f.size();
    Pva(f, 2, std::nullopt, 50);
    Pva(f, 2, std::nullopt, 50);
    MemorySource pva(f);
    EXPECT_EQ(Resynchronise(StreamKind::PvaPackets, pva, 0), packet);
    EXPECT_FALSE(Resynchronise(StreamKind::PvaPackets, pva, packet + 1))
        << "the last packet has no packet behind it";

    Bytes mp2 = Frames(0xFD, 0xA4, 576, 3);
    mp2.insert(mp2.begin(), {0xFF, 0xFD, 0xA4, 0x00, 0x00});  // a sync that leads nowhere
    MemorySource audio(mp2);
    EXPECT_EQ(Resynchronise(StreamKind::MpegAudio, audio, 0), 5u);

    const Bytes pcm(3000, 0);
    MemorySource samples(pcm);
    EXPECT_EQ(Resynchronise(StreamKind::Pcm, samples, 1000), 2024u);
    EXPECT_FALSE(Resynchronise(StreamKind::Pcm, samples, 2000));
}

}  // namespace
