// Drives the archive reader over arbitrary bytes with reads chosen by the
// bytes themselves. The reader must never read outside the input, its
// position must stay within it, and once a read fails the fault must stay
// (same offset and message), the reader must sit at its end and every
// further read must give zero, empty or nullptr.
#include <cstdlib>
#include <string>

#include "channellist/CArchiveReader.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CArchiveReader in(std::span<const std::uint8_t>(data, size));
    static constexpr std::uint8_t widths[] = {4, 2, 2, 4, 1};
    std::size_t failedAt = 0;
    std::string failedWith;
    for (int step = 0; step < 4096; ++step) {
        const bool failedBefore = in.Failed();
        const std::uint8_t op = in.ReadU8();
        switch (op % 8) {
            case 0:
                Check(in.ReadU16() == 0 || !in.Failed());
                break;
            case 1:
                Check(in.ReadU32() == 0 || !in.Failed());
                break;
            case 2:
                Check(in.ReadCount() == 0 || !in.Failed());
                break;
            case 3:
                Check(in.ReadString().empty() || !in.Failed());
                break;
            case 4:
                Check(in.ReadBytes().empty() || !in.Failed());
                break;
            case 5:
                Check(in.ReadObject() == nullptr || !in.Failed());
                break;
            case 6: {
                const std::uint8_t* run = in.ReadFixed(widths, 13);
                if (in.Failed())
                    for (int k = 0; k < 13; ++k) Check(run[k] == 0);
                else
                    Check(run >= data && run + 13 <= data + size);
                break;
            }
            case 7:
                Check(in.ReadRaw(op >> 3).size() == static_cast<std::size_t>(op >> 3) ||
                      in.Failed());
        }
        Check(in.Offset() <= size && in.Offset() + in.Remaining() == size);
        if (in.Failed()) {
            Check(in.Remaining() == 0 && in.Error().offset <= size && !in.Error().message.empty());
            if (failedBefore) {
                Check(in.Error().offset == failedAt && in.Error().message == failedWith);
                break;  // one read after the fault is enough to see it stay
            }
            failedAt = in.Error().offset;
            failedWith = in.Error().message;
        }
    }
    return 0;
}
