// The card's teletext page assembly on any input. The first byte picks the
// way in: the rest as one PES packet (FeedPes), as transport packets of the
// acquired PID (FeedPacket), or as 42-byte teletext lines that the target
// wraps into well-formed data units, so that the page rules themselves are
// reached. Every page sent must be a whole datagram with a page number
// 100-899 at 8-10 and the fixed bytes in range.
#include <cstdint>
#include <span>
#include <vector>

#include "CTeletextDecoder.h"
#include "IDatagramSink.h"

namespace {

struct CheckingSink : nvdvbsrv::IDatagramSink {
    void Send(uint16_t port, std::span<const uint8_t> d) override {
        if (port != nvdvbsrv::CTeletextDecoder::kPort) __builtin_trap();
        if (d.size() != nvdvbsrv::CTeletextDecoder::kPageSize) __builtin_trap();
        for (size_t i = 0; i < 8; ++i)
            if (d[i] != 0x20) __builtin_trap();
        for (size_t i = 8; i < 11; ++i)
            if (d[i] < '0' || d[i] > '9') __builtin_trap();
        const int number = (d[8] - '0') * 100 + (d[9] - '0') * 10 + (d[10] - '0');
        if (number < 100 || number > 899) __builtin_trap();
        if (d[1000] != number / 100 || d[1001] != 0 || d[1002] > 15 || d[1003] > 7)
            __builtin_trap();
        for (size_t i = 1004; i < d.size(); ++i)
            if (d[i] != 0) __builtin_trap();
    }
};

// One PES packet with a teletext data unit around each line (address and
// data bytes as carried, bit order turned round).
std::vector<uint8_t> WrapLines(std::span<const uint8_t> lines) {
    std::vector<uint8_t> pes = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x00, 0x84, 0x00, 0x00, 0x10};
    for (size_t off = 0; off + 42 <= lines.size(); off += 42) {
        const uint8_t unit[] = {0x02, 0x2C, 0xE7, 0xE4};
        pes.insert(pes.end(), std::begin(unit), std::end(unit));
        pes.insert(pes.end(), lines.begin() + std::ptrdiff_t(off),
                   lines.begin() + std::ptrdiff_t(off + 42));
    }
    const size_t length = pes.size() - 6;
    if (length > 0xFFFF) return {};
    pes[4] = uint8_t(length >> 8);
    pes[5] = uint8_t(length);
    return pes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::span<const uint8_t> rest(data + 1, size - 1);
    CheckingSink sink;
    nvdvbsrv::CTeletextDecoder decoder(sink);
    decoder.SetPid(0x42);
    switch (data[0] % 3) {
        case 0:
            decoder.FeedPes(rest);
            break;
        case 1:
            for (size_t off = 0; off + 188 <= rest.size(); off += 188)
                decoder.FeedPacket(rest.subspan(off, 188));
            break;
        default:
            // Two PES packets, so that the pages of the first are ended.
            decoder.FeedPes(WrapLines(rest));
            decoder.FeedPes(WrapLines(rest.subspan(rest.size() / 2 / 42 * 42)));
            break;
    }
    decoder.Stop();
    return 0;
}
