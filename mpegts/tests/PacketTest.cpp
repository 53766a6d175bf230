#include <gtest/gtest.h>

#include "Streams.h"
#include "mpegts/DescriptorLoop.h"
#include "mpegts/PesHeader.h"
#include "mpegts/SectionAssembler.h"
#include "mpegts/SectionHeader.h"
#include "mpegts/TsPacket.h"

using namespace mpegts;
using test::Bytes;

namespace {

Bytes Body(std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

std::vector<Bytes> Assemble(const std::vector<Bytes>& packets) {
    SectionAssembler a;
    std::vector<Bytes> out;
    for (const auto& p : packets)
        a.Feed(p, [&](std::span<const std::uint8_t> s) { out.emplace_back(s.begin(), s.end()); });
    return out;
}

Bytes Packet(std::uint8_t b1, std::uint8_t b3, std::uint8_t afLength) {
    Bytes p(TsPacket::kSize, 0xFF);
    p[0] = 0x47, p[1] = b1, p[2] = 0x34, p[3] = b3, p[4] = afLength;
    return p;
}

}  // namespace

TEST(TsPacketTest, HeaderFieldsAndAdaptationFieldLengths) {
    Bytes p = Packet(0xF2, 0xB7, 7);
    p[5] = 0x10;  // PCR flag; base 1, extension 2
    p[6] = p[7] = p[8] = 0, p[9] = 0, p[10] = 0x80 | 0x7E, p[11] = 2;
    const auto v = TsPacket::View(p);
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->TransportError());
    EXPECT_TRUE(v->PayloadUnitStart());
    EXPECT_TRUE(v->Priority());
    EXPECT_EQ(v->Pid(), 0x1234);
    EXPECT_EQ(v->Scrambling(), 2);
    EXPECT_EQ(v->AdaptationFieldControl(), TsPacket::kAdaptationAndPayload);
    EXPECT_EQ(v->ContinuityCounter(), 7);
    EXPECT_EQ(v->AdaptationField().size(), 7u);
    EXPECT_EQ(v->Payload().size(), 188u - 4 - 1 - 7);
    EXPECT_EQ(v->Pcr(), 1u * 300 + 2);

    struct Case {
        std::uint8_t b3, afLength;
        bool valid;
        std::size_t payload;
    } cases[] =
        {
            {0x10, 99, true, 184},  // no adaptation field: byte 4 is payload
            {0x30, 0, true, 183},  {0x30, 182, true, 1}, {0x30, 183, true, 0},
            {0x30, 184, false, 0}, {0x20, 183, true, 0}, {0x20, 255, false, 0},
            {0x00, 0, true, 0},  // reserved control value: neither
        };
    for (const auto& c : cases) {
        const Bytes bytes = Packet(0x00, c.b3, c.afLength);
        const auto q = TsPacket::View(bytes);
        EXPECT_EQ(q->AdaptationFieldValid(), c.valid) << int(c.b3) << " " << int(c.afLength);
        EXPECT_EQ(q->Payload().size(), c.payload) << int(c.b3) << " " << int(c.afLength);
        // The 0xFF filling flags a PCR in every adaptation field long enough for one.
        const bool pcr = (c.b3 & 0x20) && c.valid && c.afLength >= 7;
        EXPECT_EQ(q->Pcr().has_value(), pcr) << int(c.b3) << " " << int(c.afLength);
    }
    EXPECT_FALSE(TsPacket::View(Bytes(187, 0x47)));
    Bytes noSync = Packet(0, 0x10, 0);
    noSync[0] = 0x48;
    EXPECT_FALSE(TsPacket::View(noSync));

    Bytes w(188, 0xFF);
    TsPacket::WriteHeader(w, 0x1ABC, true, TsPacket::kPayloadOnly, 0x1F);
    EXPECT_EQ(Bytes(w.begin(), w.begin() + 4), (Bytes{0x47, 0x5A, 0xBC, 0x1F}));
    TsPacket::SetPid(w, 0x0100);
    TsPacket::SetContinuityCounter(w, 3);
    EXPECT_EQ(Bytes(w.begin(), w.begin() + 4), (Bytes{0x47, 0x41, 0x00, 0x13}));
}

TEST(SectionAssemblerTest, ReassemblesSectionsOfAnySizeAndPacking) {
    // Small sections several to a packet, one spanning many packets, one ending
    // exactly at a packet boundary.
    const std::vector<Bytes> sections = {
        test::MakeSection(0x42, 1, 0, 0, 0, Body(20, 1)),
        test::MakeSection(0x42, 2, 0, 0, 0, Body(30, 2)),
        test::MakeSection(0x50, 3, 1, 0, 0, Body(1000, 3)),
        test::MakeSection(0x4E, 4, 2, 0, 0, Body(183 - 1 - 12 - 20, 4)),
        test::MakeSection(0x70, 5, 0, 0, 0, Body(3, 5)),
    };
    EXPECT_EQ(Assemble(test::Packetize(0x12, sections, 5)), sections);
}

TEST(SectionAssemblerTest, ContinuityErrorDropsOnlyTheBrokenSection) {
    const std::vector<Bytes> sections = {test::MakeSection(0x50, 1, 0, 0, 0, Body(600, 1)),
                                         test::MakeSection(0x50, 2, 0, 0, 0, Body(20, 2))};
    auto packets = test::Packetize(0x12, sections, 0);
    ASSERT_GE(packets.size(), 4u);
    auto duplicated = packets;
    duplicated.insert(duplicated.begin() + 2, packets[1]);  // a repeated packet is skipped
    EXPECT_EQ(Assemble(duplicated), sections);
    packets.erase(packets.begin() + 1);  // lose a middle packet of the long section
    EXPECT_EQ(Assemble(packets), std::vector<Bytes>{sections[1]});
}

TEST(SectionAssemblerTest, SurvivesHostilePackets) {
    // Adaptation field longer than the packet, pointer past the payload, section
    // lengths that claim more than there is: nothing is delivered, nothing crashes.
    SectionAssembler a;
    int delivered = 0;
    auto sink = [&](std::span<const std::uint8_t>) { ++delivered; };
    Bytes p = Packet(0x40, 0x30, 200);
    a.Feed(p, sink);
    p[3] = 0x11;
    p[4] = 190;  // pointer field
    a.Feed(p, sink);
    p[3] = 0x12;
    p[4] = 0;
    p[5] = 0x42;
    p[6] = 0xFF;
    p[7] = 0xFF;  // 4095 bytes announced, never completed
    a.Feed(p, sink);
    a.Feed(Bytes(100, 0x47), sink);  // short packet
    EXPECT_EQ(delivered, 0);
}

TEST(SectionHeaderTest, ShortAndLongForms) {
    const Bytes s = test::MakeSection(0x4E, 0x1234, 21, 3, 7, Body(2, 0));
    const auto h = SectionHeader::Parse(s);
    ASSERT_TRUE(h && h->longForm);
    EXPECT_EQ(h->tableId, 0x4E);
    EXPECT_TRUE(h->syntaxIndicator);
    EXPECT_EQ(h->TotalSize(), s.size());
    EXPECT_EQ(h->longForm->tableIdExtension, 0x1234);
    EXPECT_EQ(h->longForm->version, 21);
    EXPECT_TRUE(h->longForm->currentNext);
    EXPECT_EQ(h->longForm->sectionNumber, 3);
    EXPECT_EQ(h->longForm->lastSectionNumber, 7);

    const Bytes tdt = {0x70, 0x70, 0x05, 0xC0, 0x79, 0x12};
    const auto t = SectionHeader::Parse(tdt);
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->syntaxIndicator);
    EXPECT_TRUE(t->privateIndicator);
    EXPECT_EQ(t->sectionLength, 5);
    EXPECT_FALSE(t->longForm);
    EXPECT_FALSE(SectionHeader::Parse(Bytes{0x00, 0xB0}));
}

TEST(DescriptorLoopTest, WholeDescriptorsAndOverruns) {
    struct Case {
        const char* name;
        Bytes loop;
        std::vector<std::uint8_t> tags;
        bool overrun;
    } cases[] = {
        {"empty", {}, {}, false},
        {"two", {0x48, 2, 'a', 'b', 0x52, 0}, {0x48, 0x52}, false},
        {"length past the end", {0x48, 1, 'a', 0x4D, 5, 1, 2}, {0x48}, true},
        {"lone tag at the end", {0x52, 1, 7, 0x0A}, {0x52}, true},
        {"first already too long", {0x40, 200, 1}, {}, true},
    };
    for (const auto& c : cases) {
        const DescriptorLoop loop(c.loop);
        std::vector<std::uint8_t> tags;
        std::size_t bytes = 0;
        for (const Descriptor& d : loop) {
            tags.push_back(d.tag);
            bytes += 2 + d.Length();
        }
        EXPECT_EQ(tags, c.tags) << c.name;
        EXPECT_EQ(loop.Overrun(), c.overrun) << c.name;
        EXPECT_EQ(loop.ValidBytes(), bytes) << c.name;
    }
    const Bytes two = {0x48, 2, 'a', 'b', 0x52, 1, 9};
    const auto d = DescriptorLoop(two).Find(0x52);
    ASSERT_TRUE(d);
    EXPECT_EQ(Bytes(d->body.begin(), d->body.end()), Bytes{9});
    EXPECT_FALSE(DescriptorLoop(two).Find(0x4D));
}

TEST(PesHeaderTest, TimestampsLengthsAndStreamsWithoutTheOptionalHeader) {
    // Video: PTS 0x1_2345_6789 and DTS 0x0_0000_0001, unbounded length.
    const Bytes video = {0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x84, 0xC0, 0x0A, 0x39, 0x8D,
                         0x15, 0xCF, 0x13, 0x11, 0x00, 0x01, 0x00, 0x03, 0xAA, 0xBB};
    const auto v = PesHeader::Parse(video);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->streamId, 0xE0);
    EXPECT_TRUE(v->dataAlignment);
    EXPECT_EQ(v->pts, 0x123456789ull);
    EXPECT_EQ(v->dts, 1u);
    EXPECT_EQ(v->payloadOffset, 19u);
    EXPECT_EQ(Bytes(v->payload.begin(), v->payload.end()), (Bytes{0xAA, 0xBB}));

    // Private stream 1 with a length shorter than the bytes given.
    const Bytes ttx = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x05, 0x80, 0x00, 0x00, 0x10, 0x02, 0xFF};
    const auto t = PesHeader::Parse(ttx);
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->pts);
    EXPECT_EQ(Bytes(t->payload.begin(), t->payload.end()), (Bytes{0x10, 0x02}));

    const Bytes padding = {0x00, 0x00, 0x01, 0xBE, 0x00, 0x02, 0xFF, 0xFF};
    const auto pad = PesHeader::Parse(padding);
    ASSERT_TRUE(pad);
    EXPECT_FALSE(pad->hasOptionalHeader);
    EXPECT_EQ(pad->payloadOffset, 6u);

    struct Bad {
        const char* why;
        Bytes pes;
    } bad[] = {
        {"no prefix", {0x00, 0x00, 0x02, 0xE0, 0, 0, 0x80, 0, 0}},
        {"cut in the header", {0x00, 0x00, 0x01, 0xE0, 0, 0, 0x80}},
        {"header data past the end", {0x00, 0x00, 0x01, 0xE0, 0, 0, 0x80, 0x00, 0x04, 1, 2}},
        {"PTS flagged, no room", {0x00, 0x00, 0x01, 0xE0, 0, 0, 0x80, 0x80, 0x02, 0x21, 0, 1}},
    };
    for (const auto& b : bad) EXPECT_FALSE(PesHeader::Parse(b.pes)) << b.why;
}
