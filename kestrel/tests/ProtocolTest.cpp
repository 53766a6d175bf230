// Shared names, frames and the block reader/writer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/BoardCodecs.h"
#include "kestrel/protocol/Codecs.h"
#include "kestrel/protocol/FrontendCodecs.h"
#include "kestrel/protocol/MediaCodecs.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/PictureMemory.h"
#include "kestrel/protocol/Wire.h"

namespace kestrel::protocol {
namespace {

TEST(Names, SuffixAndClientDigits) {
    struct {
        const char* instance;
        const char* suffix;
    } table[] = {{"", ""},
                 {"t1", "@t1"},
                 {"a/b c", "@a_b_c"},
                 {"0123456789012345678901234567890123456789", "@01234567890123456789012345678901"}};
    for (auto& row : table) EXPECT_EQ(InstanceSuffixFor(row.instance), row.suffix) << row.instance;
    EXPECT_EQ(ClientIdDigits(3), "0003");
    EXPECT_EQ(ClientIdDigits(0), "0000");
    EXPECT_EQ(ClientIdDigits(65535), "65535");
    EXPECT_EQ(StatusMemoryName("@x"), "/!NVDVBSERVER!STATUSMEMORY!@x");
    EXPECT_EQ(ParamMemoryName(3, ""), "/!NVDVBSERVER!PARAMMEMORY!0003");
    EXPECT_EQ(ServerSocketName(42, "@x"), "nvdvbsrv!42@x");
}

TEST(Frames, RoundTripAndRejection) {
    Frame f;
    f.kind = FrameKind::Posted;
    f.seq = 7;
    f.window = 0x11223344;
    f.message = 1239;
    f.wParam = 2;
    f.lParam = 0xFFFFFFFF;
    auto bytes = EncodeFrame(f);
    auto back = DecodeFrame(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kind, FrameKind::Posted);
    EXPECT_EQ(back->window, 0x11223344u);
    EXPECT_EQ(back->lParam, 0xFFFFFFFFu);
    EXPECT_EQ(bytes[0], 'K');  // little-endian magic reads "KSTL"
    EXPECT_FALSE(DecodeFrame(std::span<const std::uint8_t>(bytes.data(), 31)));
    auto bad = bytes;
    bad[4] = 9;  // unknown kind
    EXPECT_FALSE(DecodeFrame(bad));
    bad = bytes;
    bad[6] = 2;  // other version
    EXPECT_FALSE(DecodeFrame(bad));
}

TEST(BlockIO, ReadsAndWritesStayInside) {
    std::uint8_t buf[8] = {};
    BlockWriter w(buf);
    EXPECT_TRUE(w.U32(4, 0x04030201));
    EXPECT_FALSE(w.U32(5, 1));
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(buf[4], 1);
    EXPECT_EQ(buf[7], 4);
    BlockReader r(buf);
    EXPECT_EQ(r.U16(4), 0x0201);
    EXPECT_EQ(r.U32(6), 0u);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(BlockReader(buf).Text(4, 100), "\x01\x02\x03\x04");
    EXPECT_EQ(BlockReader(buf).Text(8, 100), "");
    char small[3];
    EXPECT_EQ(BlockReader(buf).TextInto(4, 100, small, sizeof small), 2u);
    EXPECT_EQ(std::string(small), "\x01\x02");
    std::uint8_t out[4];
    EXPECT_FALSE(BlockReader(buf).Bytes(6, out, 4));
    EXPECT_FALSE(BlockReader(buf).Bytes(SIZE_MAX, out, 2));  // no wrap-around
}

}  // namespace
}  // namespace kestrel::protocol

namespace codec_test {
namespace kp = kestrel::protocol;
using Block = std::array<std::uint8_t, kp::kParamBlockSize>;

std::uint32_t At32(const Block& b, std::size_t o) {
    return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | std::uint32_t(b[o + 3]) << 24;
}
void Put32(Block& b, std::size_t o, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[o + i] = std::uint8_t(v >> (8 * i));
}
}  // namespace codec_test

// Byte positions written out by hand: a codec with a wrong offset fails here
// even when its Encode and Decode agree with each other.
TEST(CodecTest, BootPathIsLengthAtEightAndBytesFromTwelve) {
    using namespace codec_test;
    Block b{};
    kp::BlockWriter w(b);
    kp::BootArmRequest{"/fw/dir"}.Encode(w);
    EXPECT_EQ(At32(b, 8), 7u);
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 19), "/fw/dir");
    EXPECT_EQ(b[19], 0);  // no terminator is sent
    kp::BlockReader r(b);
    EXPECT_EQ(kp::BootArmRequest::Decode(r)->path, "/fw/dir");
    Put32(b, 8, 397);  // one past the room in the block
    kp::BlockReader r2(b);
    EXPECT_FALSE(kp::BootArmRequest::Decode(r2));
}

TEST(CodecTest, BitFilterFieldsSitAtTheirPositions) {
    using namespace codec_test;
    Block b{};
    b.fill(0xEE);
    kp::BitFilterRequest q;
    q.pid = 0x12;
    q.length = 3;
    q.filter = {0x42, 0x01, 0x02};
    q.mask = {0xFF, 0x0F, 0xF0};
    q.type = 4;
    kp::BlockWriter w(b);
    q.Encode(w);
    EXPECT_EQ(At32(b, 8), 0x12u);
    EXPECT_EQ(b[12], 0x42);
    EXPECT_EQ(b[14], 0x02);
    EXPECT_EQ(b[15], 0xEE);  // only length bytes are written
    EXPECT_EQ(b[28], 0xFF);
    EXPECT_EQ(b[30], 0xF0);
    EXPECT_EQ(At32(b, 44), 3u);
    EXPECT_EQ(At32(b, 48), 4u);
    kp::BlockReader r(b);
    const auto d = kp::BitFilterRequest::Decode(r);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->mask[1], 0x0F);
    EXPECT_EQ(d->filter[3], 0);  // bytes past the length are not taken over
    Put32(b, 44, 17);
    kp::BlockReader r2(b);
    EXPECT_FALSE(kp::BitFilterRequest::Decode(r2));
    Put32(b, 44, 1);
    Put32(b, 8, 0x2000);
    kp::BlockReader r3(b);
    EXPECT_FALSE(kp::BitFilterRequest::Decode(r3));
}

TEST(CodecTest, DiseqcMessageFollowsLengthBurstAndFlag) {
    using namespace codec_test;
    Block b{};
    const std::uint8_t msg[4] = {0xE0, 0x10, 0x38, 0xF3};
    kp::DiseqcRequest q;
    q.message = msg;
    q.length = 4;
    q.burst = 1;
    q.flag = 7;
    kp::BlockWriter w(b);
    q.Encode(w);
    EXPECT_EQ(At32(b, 8), 4u);
    EXPECT_EQ(At32(b, 12), 1u);
    EXPECT_EQ(At32(b, 16), 7u);
    EXPECT_EQ(b[20], 0xE0);
    EXPECT_EQ(b[23], 0xF3);
    kp::BlockReader r(b);
    const auto d = kp::DiseqcRequest::Decode(r);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->decoded[2], 0x38);
    Put32(b, 8, 7);  // the card takes six bytes at most
    kp::BlockReader r2(b);
    EXPECT_FALSE(kp::DiseqcRequest::Decode(r2));
}

TEST(CodecTest, CiMessageCarriesAllDataBytesAndCutsALongLength) {
    using namespace codec_test;
    Block b{};
    kp::CiMessageRequest q;
    q.subCommand = 3;
    q.data[0] = 0x31;
    q.data[31] = 0x99;
    q.length = 40;
    kp::BlockWriter w(b);
    q.Encode(w);
    EXPECT_EQ(At32(b, 8), 3u);
    EXPECT_EQ(b[12], 0x31);
    EXPECT_EQ(b[43], 0x99);
    EXPECT_EQ(At32(b, 44), 40u);  // the length goes out as given
    kp::BlockReader r(b);
    const auto d = kp::CiMessageRequest::Decode(r);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Size(), 32u);
    EXPECT_EQ(d->data[31], 0x99);
    Put32(b, 8, 0x100);
    kp::BlockReader r2(b);
    EXPECT_FALSE(kp::CiMessageRequest::Decode(r2));
}

TEST(CodecTest, FrontendChannelStatusAndSignalRecordsSitAtTheirPositions) {
    using namespace codec_test;
    Block b{};
    kp::BlockWriter w(b);
    kp::ChannelRecord{11'778'000, 10'600'000, 27'500'000, 1, 2, 18, 1, 0}.Encode(w);
    kp::FrontendStatusReply{0xBEEF}.Encode(w);
    EXPECT_EQ(b[8] | b[9] << 8, 0xBEEF);
    EXPECT_EQ(At32(b, 12), 11'778'000u);  // frequency
    EXPECT_EQ(At32(b, 16), 10'600'000u);  // LOF
    EXPECT_EQ(At32(b, 20), 27'500'000u);  // symbol rate
    EXPECT_EQ(At32(b, 24), 1u);           // polarisation
    EXPECT_EQ(At32(b, 28), 2u);           // mode
    EXPECT_EQ(At32(b, 32), 18u);          // LNB voltage
    EXPECT_EQ(At32(b, 36), 1u);           // 22 kHz tone
    Put32(b, 40, 7);                      // reserved, last field
    kp::BlockReader r(b);
    const auto c = kp::ChannelRecord::Decode(r);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->voltage, 18u);
    EXPECT_EQ(c->reserved, 7u);

    kp::SignalRecord s;
    s.afc = -1500;
    s.berMantissa = 0x1234;
    s.berExponent = -7;
    s.tenths = 612;
    s.quality = 93;
    Block sb{};
    kp::BlockWriter sw(sb);
    s.Encode(sw);
    // The record starts at 16: AFC 16, mantissa 22, exponent 24, tenths 30, quality 32.
    EXPECT_EQ(At32(sb, 16), std::uint32_t(-1500));
    EXPECT_EQ(sb[22] | sb[23] << 8, 0x1234);
    EXPECT_EQ(sb[24] | sb[25] << 8, 0xFFF9);
    EXPECT_EQ(sb[30] | sb[31] << 8, 612);
    EXPECT_EQ(At32(sb, 32), 93u);
    const auto back = kp::SignalRecord::FromBytes(std::span(sb).subspan(16, 20));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->afc, -1500);
    EXPECT_EQ(back->berExponent, -7);
    EXPECT_FALSE(kp::SignalRecord::FromBytes(std::span(sb).subspan(16, 19)));  // short
}

TEST(CodecTest, FrontendStatusRepliesSitAtTheirPositions) {
    using namespace codec_test;
    Block b{};
    kp::BlockWriter w(b);
    kp::StatusReply{0x1F, -3, 125, 1, 0}.Encode(w);
    EXPECT_EQ(b[8], 0x1F);
    EXPECT_EQ(At32(b, 12), std::uint32_t(-3));
    EXPECT_EQ(At32(b, 16), 125u);
    EXPECT_EQ(b[20], 1);
    EXPECT_EQ(b[24], 0);

    Block e{};
    kp::BlockWriter ew(e);
    kp::BitErrorRateReply{0x4321, -9, 1, 0x1F}.Encode(ew);
    EXPECT_EQ(At32(e, 8), 0x4321u);
    EXPECT_EQ(At32(e, 12), std::uint32_t(-9));
    EXPECT_EQ(e[16], 1);
    EXPECT_EQ(e[20], 0x1F);

    Block d{};
    kp::BlockWriter dw(d);
    kp::DemodStatusReply{{0x1F, 140, 0xABCD}}.Encode(dw);
    EXPECT_EQ(d[8], 0x1F);
    EXPECT_EQ(d[12] | d[13] << 8, 140);
    EXPECT_EQ(d[16] | d[17] << 8, 0xABCD);
    kp::FrontendArgumentRequest{0x01020304}.Encode(dw);
    EXPECT_EQ(At32(d, 12), 0x01020304u);  // the argument shares slot 1

    Block s{};
    kp::BlockWriter sw(s);
    kp::StatusSignalReply ss;
    ss.lockState[0] = 0x1F;
    ss.lockState[15] = 0xEE;
    ss.SetSignal(1000, 95, 612, 80, -250);
    ss.Encode(sw);
    EXPECT_EQ(s[8], 0x1F);
    EXPECT_EQ(s[23], 0xEE);
    EXPECT_EQ(At32(s, 48), 1000u);  // AGC
    EXPECT_EQ(At32(s, 52), 95u);    // SNR
    EXPECT_EQ(At32(s, 56), 612u);   // strength
    EXPECT_EQ(At32(s, 60), 80u);    // quality
    EXPECT_EQ(At32(s, 64), std::uint32_t(-250));
    kp::BlockReader r(s);
    const auto back = kp::StatusSignalReply::Decode(r);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->signal, ss.signal);
    EXPECT_EQ(back->lockState, ss.lockState);
}

namespace codec_test {
std::string TextAt(const Block& b, std::size_t o) {
    return std::string(reinterpret_cast<const char*>(b.data() + o));
}
}  // namespace codec_test

TEST(CodecTest, BoardTextsSitAtTheirPositionsWithLengthsAndTerminators) {
    using namespace codec_test;
    Block b;
    b.fill(0xAA);  // a missing terminator shows as trailing 0xAA
    kp::BlockWriter w(b);
    kp::IpConfigReply{0, "127.0.0.1", "255.0.0.0", 27000}.Encode(w);
    EXPECT_EQ(At32(b, 8), 0u);
    EXPECT_EQ(At32(b, 12), 9u);
    EXPECT_EQ(At32(b, 16), 9u);
    EXPECT_EQ(TextAt(b, 20), "127.0.0.1");
    EXPECT_EQ(TextAt(b, 100), "255.0.0.0");
    EXPECT_EQ(b[180] | b[181] << 8, 27000);
    // The reader bounds the IP text by the mask field even with a huge length.
    Put32(b, 12, 0xFFFFFFFF);
    std::fill(b.begin() + 20, b.begin() + 100, 'x');
    kp::BlockReader r(b);
    const auto ip = kp::IpConfigReply::Decode(r);
    ASSERT_TRUE(ip);
    EXPECT_EQ(ip->ip, std::string(80, 'x'));
    EXPECT_EQ(ip->mask, "255.0.0.0");
    EXPECT_EQ(ip->udpPort, 27000);

    Block v{};
    kp::BlockWriter vw(v);
    kp::VersionReply{0x10261F0A, 0x20001, 0xA1B2, "Jan 01 2001 and more", "12:00:00"}.Encode(vw);
    EXPECT_EQ(At32(v, 8), 0x10261F0Au);
    EXPECT_EQ(At32(v, 12), 0x20001u);
    EXPECT_EQ(At32(v, 16), 0xA1B2u);
    EXPECT_EQ(TextAt(v, 20), "Jan 01 2001 ");  // the card sends at most 12 characters
    EXPECT_EQ(TextAt(v, 100), "12:00:00");

    Block m{};
    kp::BlockWriter mw(m);
    kp::BoardMfgReply{"Maker", "Board X"}.Encode(mw);
    EXPECT_EQ(At32(m, 8), 5u);
    EXPECT_EQ(At32(m, 12), 7u);
    EXPECT_EQ(TextAt(m, 16), "Maker");
    EXPECT_EQ(TextAt(m, 108), "Board X");
    kp::MacReply{-1, "00:11:22:33:44:55"}.Encode(mw);
    EXPECT_EQ(At32(m, 8), 0xFFFFFFFFu);
    EXPECT_EQ(TextAt(m, 16), "00:11:22:33:44:55");

    Block s{};
    kp::BlockWriter sw(s);
    kp::SelfTestReply{3, "RAM ok"}.Encode(sw);
    EXPECT_EQ(At32(s, 8), 3u);
    EXPECT_EQ(At32(s, 12), 6u);
    EXPECT_EQ(TextAt(s, 16), "RAM ok");
    Put32(s, 12, 3);  // the length slot cuts the text on reading
    kp::BlockReader sr(s);
    EXPECT_EQ(kp::SelfTestReply::Decode(sr)->text, "RAM");
}

TEST(CodecTest, StatisticsAndMulticastListSitAtTheirPositions) {
    using namespace codec_test;
    Block b{};
    kp::BlockWriter w(b);
    kp::StatisticsReply st;
    st.counters[0] = 11;
    st.counters[35] = 99;
    st.Encode(w);
    EXPECT_EQ(At32(b, 8), 11u);
    EXPECT_EQ(At32(b, 8 + 4 * 35), 99u);

    Block m;
    m.fill(0xAA);
    kp::BlockWriter mw(m);
    kp::MulticastListReply ml;
    ml.count = 2;
    ml.addresses[0] = 0x01;
    ml.addresses[95] = 0x5F;
    ml.extra[5] = 0x66;
    ml.value = 0x12345678;
    ml.Encode(mw);
    EXPECT_EQ(At32(m, 8), 2u);
    EXPECT_EQ(m[12], 0x01);
    EXPECT_EQ(m[107], 0x5F);
    EXPECT_EQ(m[108], 0xAA);  // 108..111 are not part of the reply
    EXPECT_EQ(m[117], 0x66);
    EXPECT_EQ(At32(m, 120), 0x12345678u);
    kp::BlockReader r(m);
    const auto back = kp::MulticastListReply::Decode(r);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->addresses, ml.addresses);
    EXPECT_EQ(back->extra, ml.extra);
}

TEST(CodecTest, DecoderRecordingOverlayAndTpsSitAtTheirPositions) {
    using namespace codec_test;
    Block b{};
    kp::BlockWriter w(b);
    kp::VideoStateReply vs;
    vs.SetPicture(720, 576, 2, 3, 4500);
    vs.Encode(w);  // the record starts at 8
    EXPECT_EQ(b[46] | b[47] << 8, 720);
    EXPECT_EQ(b[48] | b[49] << 8, 576);
    EXPECT_EQ(b[50] | b[51] << 8, 2);
    EXPECT_EQ(b[52] | b[53] << 8, 3);
    EXPECT_EQ(b[54] | b[55] << 8, 4500);

    Block o{};
    kp::BlockWriter ow(o);
    kp::RecordOpenRequest{1, 1, "rec.ts"}.Encode(ow);
    EXPECT_EQ(At32(o, 8), 1u);
    EXPECT_EQ(At32(o, 12), 1u);
    EXPECT_EQ(At32(o, 16), 6u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(o.data() + 20)), "rec.ts");
    EXPECT_EQ(o[26], 0);

    Block s{};
    for (std::uint32_t i = 0; i < 5; ++i) Put32(s, 8 + 4 * i, 100 + i);
    kp::BlockReader sr(s);
    const auto st = kp::RecordStatusReply::Decode(sr);
    ASSERT_TRUE(st);
    EXPECT_EQ(st->lengthMs, 100u);
    EXPECT_EQ(st->kbits, 101u);
    EXPECT_EQ(st->positionMs, 102u);
    EXPECT_EQ(st->mode, 103u);
    EXPECT_EQ(st->format, 104u);

    Block t;
    t.fill(0xAA);
    kp::BlockWriter tw(t);
    kp::OverlayTextRequest{3, 40, 50, "Hi!", 2}.Encode(tw);
    EXPECT_EQ(At32(t, 8), 3u);
    EXPECT_EQ(At32(t, 12), 40u);
    EXPECT_EQ(At32(t, 16), 50u);
    EXPECT_EQ(At32(t, 20), 2u);
    EXPECT_EQ(t[24], 'H');
    EXPECT_EQ(t[25], 'i');
    EXPECT_EQ(t[26], 0xAA);  // only count characters, no terminator

    // TPS: each record field comes from its own byte position.
    Block p{};
    const std::size_t at[16] = {40, 56, 44, 28, 24, 36, 16, 20, 32, 48, 52, 12, 64, 68, 60, 8};
    for (std::uint32_t i = 0; i < 16; ++i) Put32(p, at[i], 1000 + i);
    kp::BlockReader pr(p);
    const auto tps = kp::TpsReply::Decode(pr);
    ASSERT_TRUE(tps);
    for (std::uint32_t i = 0; i < 16; ++i) EXPECT_EQ(tps->fields[i], 1000 + i) << i;
}

TEST(CodecTest, SingleValueReadsItsWidthFromSlotZero) {
    using namespace codec_test;
    Block b{};
    Put32(b, 8, 0x11223344);
    kp::BlockReader r(b);
    EXPECT_EQ(kp::SingleValue<std::uint32_t>::Decode(r)->value, 0x11223344u);
    EXPECT_EQ(kp::SingleValue<std::uint16_t>::Decode(r)->value, 0x3344);
    EXPECT_EQ(kp::SingleValue<std::uint8_t>::Decode(r)->value, 0x44);
    Block w{};
    kp::BlockWriter bw(w);
    kp::SingleValue<std::uint16_t>{0x1FFF}.Encode(bw);
    EXPECT_EQ(At32(w, 8), 0x1FFFu);
    const std::array<std::uint8_t, 9> tiny{};  // slot 0 does not fit
    kp::BlockReader tr(tiny);
    EXPECT_FALSE(kp::SingleValue<std::uint16_t>::Decode(tr));
}

TEST(PictureMemory, AReaderGetsWholeFramesOnly) {
    using namespace kestrel::protocol;
    const std::string name = PictureMemoryName(InstanceSuffixFor("pic" + std::to_string(getpid())));
    PictureWriter writer;
    ASSERT_TRUE(writer.Create(name));
    PictureReader reader;
    ASSERT_TRUE(reader.Open(name));
    PictureFrame frame;
    EXPECT_FALSE(reader.Read(frame)) << "nothing published yet";

    std::vector<std::uint32_t> pixels(std::size_t(kPictureWidth) * kPictureHeight, 0xFF102030);
    pixels[kPictureWidth * 575 + 719] = 0xFFFFFFFF;
    writer.Publish(pixels.data(), kPictureWidth * 4, {352, 288, 2, kPictureDecoded, 900, 0, 40000});
    ASSERT_TRUE(reader.Read(frame));
    EXPECT_EQ(frame.sequence, 2u);
    EXPECT_EQ(frame.pixels, pixels);
    EXPECT_EQ(frame.info.sourceWidth, 352u);
    EXPECT_EQ(frame.info.aspect, 2u);
    EXPECT_EQ(frame.info.pts, 900u);
    EXPECT_EQ(frame.info.frame, 1u);
    EXPECT_EQ(frame.info.frameDurationUs, 40000u);

    // A frame half written (odd counter) is never taken.
    SharedMemory raw;
    ASSERT_TRUE(raw.Open(name, kPictureMemorySize, true) && raw.Map());
    reinterpret_cast<PictureHeader*>(raw.data())->sequence.store(3);
    EXPECT_FALSE(reader.Read(frame, 3));
    raw.Close();
    writer.Close();
    EXPECT_FALSE(PictureReader().Open(name)) << "the name goes with the writer";
}
