// Section collection from arbitrary datagrams. The input is split into
// datagrams by a leading length byte pair; the first byte chooses the mode.
// The callback reads every stored section through the public accessors.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kestrel/CTableFilter.h"

namespace {

CTableFilter* g_filter = nullptr;

void ReadTable(char*, std::uint32_t) {
    CTableFilter& f = *g_filter;
    volatile std::uint32_t sink = 0;
    for (int s = 0; s <= f.GetLastSection(); ++s) {
        const int len = f.GetPayLoadLength(s);
        sink = sink + f.GetValue(s, 0, 32) + f.GetValue(s, 64, 8);
        for (int i = 0; i < len + 3; i += 7) {
            if (const std::uint8_t* b = f.GetBytePointer(s, static_cast<std::uint32_t>(i)))
                sink = sink + *b;
            sink = sink + f.GetValue(s, static_cast<std::uint32_t>(i) * 8, 13);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    CTableFilter filter(ReadTable, nullptr, 0);
    g_filter = &filter;
    int error = 0;
    // Without a server the filter is refused, but the mode is kept.
    filter.OpenFilter(0x12, data[0], 0, 0, &error, 0, data[0] % 3);
    std::size_t pos = 1;
    while (pos + 2 <= size) {
        const std::size_t n =
            std::min<std::size_t>((data[pos] << 8 | data[pos + 1]) % 8193, size - pos - 2);
        pos += 2;
        std::vector<std::uint8_t> datagram(data + pos, data + pos + n);  // exact size for ASan
        filter.OnDataArrival(datagram.data(), static_cast<int>(datagram.size()));
        pos += n;
    }
    g_filter = nullptr;
    return 0;
}
