// Shared names, frames and the block reader/writer.
#include <gtest/gtest.h>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/Wire.h"

namespace kestrel::protocol {
namespace {

TEST(Names, SuffixAndClientDigits) {
    struct { const char* instance; const char* suffix; } table[] = {
        {"", ""}, {"t1", "@t1"}, {"a/b c", "@a_b_c"},
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
