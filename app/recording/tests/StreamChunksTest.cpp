// One datagram's worth of a file: a PVA packet, an MPEG audio frame, a block
// of samples, and what double and half speed make of them.
#include <gtest/gtest.h>

#include <vector>

#include "recording/StreamChunks.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Three MP2 frames of 576 bytes (48 kHz, 192 kbit/s), the fourth byte numbering them.
Bytes ThreeFrames() {
    Bytes f;
    for (std::uint8_t i = 0; i < 3; ++i) {
        f.insert(f.end(), {0xFF, 0xFD, 0xA4, i});
        f.insert(f.end(), 572, i);
    }
    return f;
}

TEST(StreamChunks, DoubleSpeedSendsEverySecondFrameHalfSpeedEachTwice) {
    const Bytes mp2 = ThreeFrames();
    MemorySource file(mp2);
    const auto normal = ReadStreamChunk(StreamKind::MpegAudio, file, 0, PlaySpeed::Normal);
    EXPECT_EQ(normal.bytes, Bytes(mp2.begin(), mp2.begin() + 576));
    EXPECT_EQ(normal.next, 576u);

    const auto fast = ReadStreamChunk(StreamKind::MpegAudio, file, 0, PlaySpeed::Double);
    EXPECT_EQ(fast.bytes, Bytes(mp2.begin() + 576, mp2.begin() + 1152)) << "the second frame";
    EXPECT_EQ(fast.next, 1152u);
    EXPECT_TRUE(ReadStreamChunk(StreamKind::MpegAudio, file, 1152, PlaySpeed::Double).bytes.empty())
        << "no second frame behind the last";

    const auto slow = ReadStreamChunk(StreamKind::MpegAudio, file, 576, PlaySpeed::Half);
    ASSERT_EQ(slow.bytes.size(), 1152u);
    EXPECT_EQ(Bytes(slow.bytes.begin(), slow.bytes.begin() + 576),
              Bytes(slow.bytes.begin() + 576, slow.bytes.end()));
    EXPECT_EQ(slow.bytes[3], 1);
    EXPECT_EQ(slow.next, 1152u);
}

TEST(StreamChunks, PvaPacketsAndSampleBlocksAndTheirEnds) {
    Bytes pva = {'A', 'V', 2, 0, 0x55, 0, 0x00, 0x03, 7, 8, 9, 'A', 'V', 1, 0, 0x55, 0, 0x01, 0x00};
    MemorySource file(pva);
    const auto first = ReadStreamChunk(StreamKind::PvaPackets, file, 0, PlaySpeed::Double);
    EXPECT_EQ(first.bytes, Bytes(pva.begin(), pva.begin() + 11)) << "PVA ignores the speed";
    EXPECT_EQ(first.next, 11u);
    EXPECT_TRUE(ReadStreamChunk(StreamKind::PvaPackets, file, 11, PlaySpeed::Normal).bytes.empty())
        << "a payload cut short by the end";
    EXPECT_TRUE(ReadStreamChunk(StreamKind::PvaPackets, file, 1, PlaySpeed::Normal).bytes.empty())
        << "no header there";

    const Bytes pcm(2500, 3);
    MemorySource samples(pcm);
    EXPECT_EQ(ReadStreamChunk(StreamKind::Pcm, samples, 0, PlaySpeed::Half).bytes.size(), 2048u);
    EXPECT_EQ(ReadStreamChunk(StreamKind::Pcm, samples, 0, PlaySpeed::Double).next, 2048u);
    EXPECT_TRUE(ReadStreamChunk(StreamKind::Pcm, samples, 2048, PlaySpeed::Normal).bytes.empty());
}

// `count` transport stream packets, the fourth byte numbering them.
Bytes TsPackets(int count) {
    Bytes f;
    for (int i = 0; i < count; ++i) {
        f.insert(f.end(), {0x47, 0x01, 0x00, std::uint8_t(0x10 | (i & 0x0F))});
        f.insert(f.end(), 184, std::uint8_t(i));
    }
    return f;
}

TEST(StreamChunks, TransportStreamGoesInSevenPacketsAndPicksUpItsSync) {
    Bytes f = TsPackets(9);
    MemorySource file(f);
    const auto first = ReadStreamChunk(StreamKind::TransportStream, file, 0, PlaySpeed::Double);
    EXPECT_EQ(first.bytes, Bytes(f.begin(), f.begin() + 7 * 188)) << "the same at every speed";
    const auto rest =
        ReadStreamChunk(StreamKind::TransportStream, file, first.next, PlaySpeed::Half);
    EXPECT_EQ(rest.bytes.size(), 2u * 188);
    EXPECT_EQ(rest.next, f.size());

    // Noise between two packets, and a packet cut short by the end.
    Bytes broken = TsPackets(2);
    broken.insert(broken.begin() + 188, {0x00, 0x47, 0x11});  // a sync that leads nowhere
    broken.insert(broken.end(), {0x47, 0x01});
    MemorySource noisy(broken);
    const auto one = ReadStreamChunk(StreamKind::TransportStream, noisy, 0, PlaySpeed::Normal);
    EXPECT_EQ(one.bytes.size(), 188u) << "up to the packet that lost its sync";
    const auto two =
        ReadStreamChunk(StreamKind::TransportStream, noisy, one.next, PlaySpeed::Normal);
    EXPECT_EQ(two.at, 191u);
    EXPECT_EQ(two.bytes, Bytes(broken.begin() + 191, broken.begin() + 191 + 188));
    EXPECT_TRUE(ReadStreamChunk(StreamKind::TransportStream, noisy, two.next, PlaySpeed::Normal)
                    .bytes.empty());
}

}  // namespace
