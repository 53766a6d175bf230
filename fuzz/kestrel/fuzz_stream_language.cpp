// The stream record's language text and stored form on arbitrary bytes. The
// first byte chooses the case option and the name look-up; the rest is the
// descriptor loop, and also a stored record to load.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "kestrel/CStreamInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::vector<std::uint8_t> loop(data + 1, data + size);  // exact size for ASan
    CStreamInfo info(2, 0x100, loop);
    const std::string text = info.GetLanguageText(data[0] & 3, (data[0] & 4) != 0);
    volatile std::size_t sink = text.size();
    std::uint8_t tag = 0, length = 0;
    const std::uint8_t* body = nullptr;
    while (info.GetNextDescriptor(tag, length, body)) sink = sink + (length ? body[length - 1] : 0);
    CStreamInfo loaded;
    std::size_t pos = 0;
    if (loaded.Load(loop, pos)) {
        sink = sink + loaded.GetLanguageText(1, true).size();
        std::vector<std::uint8_t> stored;
        loaded.Store(stored);
        // What was loaded stores and loads again unchanged (a long count
        // for a short loop reads, but stores in the short form).
        CStreamInfo again;
        std::size_t at = 0;
        if (!again.Load(stored, at) || at != stored.size() || again.GetData() != loaded.GetData() ||
            again.GetStreamType() != loaded.GetStreamType() || again.GetPID() != loaded.GetPID())
            __builtin_trap();
    }
    (void)sink;
    return 0;
}
