// The decoder's PES assembler, the sound levels and the output stage's OSD.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "CPesAssembler.h"
#include "CPictureOutput.h"
#include "CPresentationClock.h"
#include "CPvaWriter.h"
#include "CSoundOutput.h"
#include "mpegts/TsPacket.h"

using namespace nvdvbsrv;

namespace {

using Bytes = std::vector<uint8_t>;

// A PES packet with a PTS of 90 000 and `size` payload bytes counting up;
// `bounded` gives its length, else 0 (open-ended, as video in a stream).
Bytes Pes(size_t size, bool bounded) {
    Bytes b = {0, 0, 1, 0xE0, 0, 0, 0x80, 0x80, 5, 0x21, 0x00, 0x05, 0xBF, 0x21};
    if (bounded) {
        const size_t length = b.size() - 6 + size;
        b[4] = uint8_t(length >> 8);
        b[5] = uint8_t(length);
    }
    for (size_t i = 0; i < size; ++i) b.push_back(uint8_t(i));
    return b;
}

// Packets of 184 payload bytes (the last padded with 0xFF) from counter cc.
std::vector<Bytes> Packets(const Bytes& pes, uint8_t& cc) {
    std::vector<Bytes> out;
    for (size_t at = 0; at < pes.size(); at += 184) {
        Bytes p(188, 0xFF);
        mpegts::TsPacket::WriteHeader(p, 0x100, at == 0, 1, cc++ & 0x0F);
        std::copy(pes.begin() + std::ptrdiff_t(at),
                  pes.begin() + std::ptrdiff_t(std::min(pes.size(), at + 184)), p.begin() + 4);
        out.push_back(p);
    }
    return out;
}

struct Collector {
    std::vector<PesUnit> units;
    CPesAssembler assembler;
    void Feed(const std::vector<Bytes>& packets) {
        for (const auto& p : packets)
            assembler.Feed(*mpegts::TsPacket::View(p), [&](PesUnit&& u) { units.push_back(u); });
    }
};

}  // namespace

TEST(PesAssembler, CompletesAnnouncedAndOpenEndedPackets) {
    Collector c;
    uint8_t cc = 0;
    c.Feed(Packets(Pes(400, true), cc));  // whole with its third packet
    ASSERT_EQ(c.units.size(), 1u);
    EXPECT_EQ(c.units[0].streamId, 0xE0);
    EXPECT_EQ(c.units[0].pts, 90000u);
    ASSERT_EQ(c.units[0].payload.size(), 400u);  // the padding is not payload
    EXPECT_EQ(c.units[0].payload[399], uint8_t(399));

    c.Feed(Packets(Pes(300, false), cc));  // open-ended: waits for the next start
    EXPECT_EQ(c.units.size(), 1u);
    c.Feed(Packets(Pes(10, true), cc));
    ASSERT_EQ(c.units.size(), 3u);
    EXPECT_GE(c.units[1].payload.size(), 300u);  // with the padding of its last packet
    EXPECT_EQ(c.units[2].payload.size(), 10u);

    c.Feed(Packets(Pes(50, false), cc));
    c.assembler.Finish([&](PesUnit&& u) { c.units.push_back(u); });
    EXPECT_EQ(c.units.size(), 4u);
}

TEST(PesAssembler, DropsThePacketUnderWayAtAContinuityError) {
    Collector c;
    uint8_t cc = 0;
    auto packets = Packets(Pes(400, true), cc);
    packets.erase(packets.begin() + 1);
    c.Feed(packets);
    EXPECT_TRUE(c.units.empty());
    // A repeated packet is no error; the next packet starts afresh.
    packets = Packets(Pes(400, true), cc);
    packets.insert(packets.begin() + 1, packets[1]);
    c.Feed(packets);
    EXPECT_EQ(c.units.size(), 1u);
    // A reset forgets the packet under way.
    packets = Packets(Pes(400, true), cc);
    c.Feed({packets[0]});
    c.assembler.Reset();
    c.Feed({packets[1], packets[2]});
    EXPECT_EQ(c.units.size(), 1u);
}

TEST(SoundOutput, LevelsOfDecoderAndSoundChipMultiply) {
    double l = 0, r = 0;
    SoundSettings s;
    CSoundOutput::Gains(s, l, r);
    EXPECT_DOUBLE_EQ(l, 1.0);
    s.decoderLeft = 49;  // 20 dB below full
    s.decoderRight = 200;
    s.chipRight = 50;
    CSoundOutput::Gains(s, l, r);
    EXPECT_NEAR(l, 0.1, 1e-9);
    EXPECT_NEAR(r, 0.5, 1e-9);
    s.decoderLeft = 0;
    s.chipRight = 150;
    CSoundOutput::Gains(s, l, r);
    EXPECT_EQ(l, 0.0);
    EXPECT_NEAR(r, 1.0, 1e-9);
    s.chipMute = true;
    CSoundOutput::Gains(s, l, r);
    EXPECT_EQ(r, 0.0);
}

namespace {

// Draws a white square whose left edge moves with the revision.
struct SquareLayer : IOsdLayer {
    std::atomic<uint64_t> revision{1};
    void Compose(uint32_t* pixels, size_t stride) const override {
        const size_t x0 = 100 + 10 * revision.load();
        for (size_t y = 100; y < 120; ++y)
            for (size_t x = x0; x < x0 + 20; ++x) pixels[y * stride / 4 + x] = 0xFFFFFFFF;
    }
    uint64_t Revision() const override { return revision.load(); }
};

}  // namespace

TEST(PictureOutput, DrawsTheOsdOverBlackAndPublishesItsChanges) {
    namespace kp = kestrel::protocol;
    const std::string name = kp::PictureMemoryName("@mediatest" + std::to_string(getpid()));
    SquareLayer layer;
    CPictureOutput output;
    ASSERT_TRUE(output.Start(name));
    kp::PictureReader reader;
    ASSERT_TRUE(reader.Open(name));
    // The next frame whose pixel at (x, 105) has the colour; a read that
    // meets the writer mid-frame is tried again.
    const auto wait = [&](size_t x, uint32_t colour) {
        kp::PictureFrame f;
        for (int i = 0; i < 200; ++i) {
            if (reader.Read(f) && f.pixels[105 * 720 + x] == colour) return f;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "no colour " << std::hex << colour << " at x " << std::dec << x;
        f.pixels.assign(720 * 576, 0);
        return f;
    };
    output.SetOsdLayer(&layer);
    kp::PictureFrame f = wait(115, 0xFFFFFFFF);
    EXPECT_EQ(f.pixels[105 * 720 + 300], 0xFF000000u);
    EXPECT_EQ(f.info.flags, 0u);
    layer.revision = 5;
    wait(155, 0xFFFFFFFF);
    output.SetOsdLayer(nullptr);
    wait(155, 0xFF000000);
    output.Stop();
    EXPECT_FALSE(reader.Open(name));  // the memory is gone with the output
}

TEST(PresentationClock, PicturesKeepTheirTimeStampsPlacesAndJumpsStartAnew) {
    using namespace std::chrono_literals;
    CPresentationClock clock;
    const auto t0 = CPresentationClock::Clock::now();
    const uint64_t pts = 900000;
    const auto first = clock.Due(pts, t0);
    EXPECT_EQ(first, t0 + CPresentationClock::kLatency);
    // The next picture 40 ms later in the stream, decoded late or early.
    EXPECT_EQ(clock.Due(pts + 3600, t0 + 70ms), first + 40ms);
    EXPECT_EQ(clock.Due(pts + 7200, t0 + 1ms), first + 80ms);
    // The loop point: time stamps back at the start, a new anchor now.
    const auto t1 = t0 + 4s;
    EXPECT_EQ(clock.Due(pts, t1), t1 + CPresentationClock::kLatency);
    // A decoder far behind does not wait for nothing.
    const auto t2 = t1 + 3s;
    EXPECT_EQ(clock.Due(pts + 3600, t2), t2 + CPresentationClock::kLatency);
    clock.Reset();
    EXPECT_EQ(clock.Due(pts + 7200, t2), t2 + CPresentationClock::kLatency);
}

TEST(PvaWriter, PacketsWithCountersTimeStampsAndCutPayloads) {
    std::vector<std::vector<uint8_t>> packets;
    CPvaWriter writer(
        [&](std::span<const uint8_t> p) { packets.emplace_back(p.begin(), p.end()); });
    const std::vector<uint8_t> picture(CPvaWriter::kMaxPayload + 100, 0xB5);
    writer.Video(picture, 0x1'2345'6789);  // 33 bits: the low 32 go into the packet
    writer.Audio(std::vector<uint8_t>(10, 0xC0));
    writer.Video(std::vector<uint8_t>(5, 0x00), std::nullopt);
    ASSERT_EQ(packets.size(), 4u);

    const std::vector<uint8_t> head(packets[0].begin(), packets[0].begin() + 12);
    EXPECT_EQ(head, (std::vector<uint8_t>{'A', 'V', 1, 0, 0x55, 0x10, 0x18, 0x00, 0x23, 0x45, 0x67,
                                          0x89}))
        << "6144 bytes after the header: the PTS and 6140 of the picture";
    EXPECT_EQ(packets[0].size(), 8 + CPvaWriter::kMaxPayload);
    // The rest of the picture: no PTS, the next video counter.
    EXPECT_EQ(std::vector<uint8_t>(packets[1].begin(), packets[1].begin() + 8),
              (std::vector<uint8_t>{'A', 'V', 1, 1, 0x55, 0x00, 0x00, 104}));
    EXPECT_EQ(std::vector<uint8_t>(packets[2].begin(), packets[2].begin() + 8),
              (std::vector<uint8_t>{'A', 'V', 2, 0, 0x55, 0x00, 0x00, 10}))
        << "audio counts on its own";
    EXPECT_EQ(packets[3][3], 2);
    EXPECT_EQ(packets[3].size(), 13u);
}
