// The packet grid of a file: found behind a partial packet, found again after
// broken bytes, and missing in bytes that are no transport stream.
#include <gtest/gtest.h>

#include <vector>

#include "TsScan.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Packets(int count, std::uint8_t fill) {
    Bytes b;
    for (int i = 0; i < count; ++i) {
        b.push_back(0x47);
        b.insert(b.end(), 187, std::uint8_t(fill + i));
    }
    return b;
}

std::vector<std::uint8_t> FirstBytesAfterSync(const Bytes& bytes) {
    std::vector<std::uint8_t> out;
    const bool ts = svlepg::ForEachPacket(bytes, [&](std::span<const std::uint8_t> p) {
        EXPECT_EQ(p.size(), 188u);
        EXPECT_EQ(p[0], 0x47);
        out.push_back(p[1]);
    });
    EXPECT_TRUE(ts);
    return out;
}

TEST(TsScan, LeadingPartialPacketAndABrokenStretchAreSkipped) {
    Bytes b(100, 0x47);  // a cut packet, sync bytes in it at the wrong spacing
    const Bytes first = Packets(6, 1), second = Packets(6, 20);
    b.insert(b.end(), first.begin(), first.end());
    b.insert(b.end(), 50, 0x00);  // the grid breaks
    b.insert(b.end(), second.begin(), second.end());
    b.insert(b.end(), 10, 0x47);  // a cut packet at the end
    EXPECT_EQ(svlepg::FindSync(b), 100u);
    EXPECT_EQ(FirstBytesAfterSync(b),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 20, 21, 22, 23, 24, 25}));
}

TEST(TsScan, ShortStreamsNeedTwoPacketsInAGrid) {
    EXPECT_EQ(FirstBytesAfterSync(Packets(2, 7)), (std::vector<std::uint8_t>{7, 8}));
    EXPECT_FALSE(svlepg::FindSync(Packets(1, 7)));
    Bytes text(2000, 'x');
    text[0] = text[188] = 0x47;  // two in a row, then none: a run of five is asked for
    EXPECT_FALSE(svlepg::ForEachPacket(text, [](std::span<const std::uint8_t>) {}));
    EXPECT_FALSE(svlepg::ForEachPacket(Bytes{}, [](std::span<const std::uint8_t>) {}));
}

}  // namespace
