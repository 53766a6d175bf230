// When the chunks of a file are due: by the play time of what was read
// (MPEG audio, raw samples) or by time stamps (PVA, transport stream), at
// each speed, and how the count starts anew.
#include <gtest/gtest.h>

#include <vector>

#include "recording/CPlaybackPacer.h"

namespace {

using Clock = CPlaybackPacer::Clock;
using std::chrono::milliseconds;

const Clock::time_point t0 = Clock::time_point() + std::chrono::hours(1);

double MsAfter(Clock::time_point t, Clock::time_point from = t0) {
    return std::chrono::duration<double, std::milli>(t - from).count();
}

StreamChunk Mp2Chunk(std::uint64_t at, std::uint64_t consumed) {
    StreamChunk c;
    c.bytes = {0xFF, 0xFD, 0xA4, 0};  // 192 kbit/s, 48 kHz: 576 bytes last 24 ms
    c.at = at;
    c.next = at + consumed;
    return c;
}

StreamChunk PvaChunk(std::uint8_t stream, std::optional<std::uint32_t> pts) {
    StreamChunk c;
    c.bytes = {'A', 'V', stream, 0, 0x55, std::uint8_t(pts ? 0x10 : 0), 0, 4};
    for (int i = 3; i >= 0; --i) c.bytes.push_back(std::uint8_t(pts.value_or(0) >> (8 * i)));
    c.next = c.bytes.size();
    return c;
}

StreamChunk TsChunk(std::uint16_t pid, std::optional<std::uint64_t> pcr) {
    StreamChunk c;
    c.bytes.assign(188, 0xFF);
    c.bytes[0] = 0x47;
    c.bytes[1] = std::uint8_t(pid >> 8);
    c.bytes[2] = std::uint8_t(pid);
    c.bytes[3] = pcr ? 0x30 : 0x10;
    if (pcr) {
        c.bytes[4] = 7;
        c.bytes[5] = 0x10;
        for (int i = 0; i < 4; ++i) c.bytes[6 + i] = std::uint8_t(*pcr >> (25 - 8 * i));
        c.bytes[10] = std::uint8_t((*pcr & 1) << 7);
    }
    c.next = 188;
    return c;
}

TEST(PlaybackPacer, FixedRateStreamsGoByThePlayTimeReadBeforeThem) {
    CPlaybackPacer mp2(StreamKind::MpegAudio);
    std::vector<double> due;
    for (int i = 0; i < 4; ++i) due.push_back(MsAfter(mp2.Due(Mp2Chunk(576 * i, 576), t0)));
    EXPECT_EQ(due, (std::vector<double>{0, 24, 48, 72}));

    // Double speed reads two frames for one datagram, and goes twice as fast:
    // one datagram every 24 ms again. Half speed: 48 ms per frame.
    CPlaybackPacer fast(StreamKind::MpegAudio);
    fast.SetSpeed(PlaySpeed::Double);
    fast.Due(Mp2Chunk(0, 1152), t0);
    EXPECT_DOUBLE_EQ(MsAfter(fast.Due(Mp2Chunk(1152, 1152), t0)), 24);
    CPlaybackPacer slow(StreamKind::MpegAudio);
    slow.SetSpeed(PlaySpeed::Half);
    slow.Due(Mp2Chunk(0, 576), t0);
    EXPECT_DOUBLE_EQ(MsAfter(slow.Due(Mp2Chunk(576, 576), t0)), 48);

    CPlaybackPacer pcm(StreamKind::Pcm);
    StreamChunk block;
    block.next = 1024;
    pcm.Due(block, t0);
    EXPECT_NEAR(MsAfter(pcm.Due(block, t0)), 1024.0 / 192, 1e-3) << "48 kHz stereo, 16 bits";
}

TEST(PlaybackPacer, RestartAndSpeedChangeSendTheNextChunkAtOnce) {
    CPlaybackPacer mp2(StreamKind::MpegAudio);
    mp2.Due(Mp2Chunk(0, 576), t0);
    mp2.Due(Mp2Chunk(576, 576), t0);
    const auto later = t0 + milliseconds(500);
    mp2.Restart();
    EXPECT_EQ(mp2.Due(Mp2Chunk(1152, 576), later), later);
    EXPECT_DOUBLE_EQ(MsAfter(mp2.Due(Mp2Chunk(1728, 576), later), later), 24);
    mp2.SetSpeed(PlaySpeed::Half);
    EXPECT_EQ(mp2.Due(Mp2Chunk(2304, 576), later), later);
    EXPECT_DOUBLE_EQ(MsAfter(mp2.Due(Mp2Chunk(2880, 576), later), later), 48);

    // A sender that fell far behind does not race to catch up.
    const auto stalled = later + milliseconds(5000);
    EXPECT_EQ(mp2.Due(Mp2Chunk(3456, 576), stalled), stalled);
}

TEST(PlaybackPacer, PvaGoesByThePtsOfTheFirstStreamThatCarriesOne) {
    CPlaybackPacer pva(StreamKind::PvaPackets);
    EXPECT_EQ(pva.Due(PvaChunk(2, std::nullopt), t0), t0) << "nothing to go by yet";
    EXPECT_EQ(pva.Due(PvaChunk(1, 90000), t0), t0);
    const auto due = pva.Due(PvaChunk(1, 90000 + 90 * 40), t0);
    EXPECT_DOUBLE_EQ(MsAfter(due), 40);
    EXPECT_EQ(pva.Due(PvaChunk(2, 5), t0), due) << "another stream's PTS is not the clock";
    EXPECT_EQ(pva.Due(PvaChunk(1, std::nullopt), t0), due) << "right after the one before";
    EXPECT_DOUBLE_EQ(MsAfter(pva.Due(PvaChunk(1, 90000 + 90 * 120), t0)), 120);
    pva.SetSpeed(PlaySpeed::Double);
    pva.Due(PvaChunk(1, 90000 + 90 * 200), t0);
    EXPECT_DOUBLE_EQ(MsAfter(pva.Due(PvaChunk(1, 90000 + 90 * 280), t0)), 40);

    // Across the wrap of the 32-bit PTS, and a jump that starts anew.
    CPlaybackPacer wrap(StreamKind::PvaPackets);
    wrap.Due(PvaChunk(1, 0xFFFFFFFFu - 90 * 20 + 1), t0);
    EXPECT_DOUBLE_EQ(MsAfter(wrap.Due(PvaChunk(1, 90 * 20), t0)), 40);
    const auto now = t0 + milliseconds(50);
    EXPECT_EQ(wrap.Due(PvaChunk(1, 90 * 60000), now), now) << "a minute ahead: a new count";
}

TEST(PlaybackPacer, TransportStreamGoesByThePcrOfItsFirstPcrPid) {
    CPlaybackPacer tsPacer(StreamKind::TransportStream);
    EXPECT_EQ(tsPacer.Due(TsChunk(0x100, std::nullopt), t0), t0);
    EXPECT_EQ(tsPacer.Due(TsChunk(0x100, 900000), t0), t0);
    EXPECT_EQ(tsPacer.Due(TsChunk(0x200, 1), t0), t0) << "another PID's PCR";
    EXPECT_DOUBLE_EQ(MsAfter(tsPacer.Due(TsChunk(0x100, 900000 + 90 * 40), t0)), 40);
    // The 33-bit PCR wraps to 0.
    CPlaybackPacer wrap(StreamKind::TransportStream);
    wrap.Due(TsChunk(0x100, (std::uint64_t(1) << 33) - 90 * 10), t0);
    EXPECT_DOUBLE_EQ(MsAfter(wrap.Due(TsChunk(0x100, 90 * 30), t0)), 40);
}

}  // namespace
