// A client's parameter block is outside bytes: any content, any command.
#include <array>
#include <cstdint>
#include <cstring>

#include "CEmulatedCard.h"
#include "CRequestHandler.h"

namespace {
struct NullSink : nvdvbsrv::IDatagramSink {
    void Send(uint16_t, std::span<const uint8_t>) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static NullSink sink;
    static nvdvbsrv::CEmulatedCard card(nvdvbsrv::CInstallation{}, sink);
    static nvdvbsrv::CRequestHandler handler(card);
    // The first byte picks the client, the rest fills the block (the block
    // keeps earlier bytes where the input is short, as the real one does).
    static std::array<uint8_t, 408> block{};
    if (size == 0) return 0;
    std::memcpy(block.data(), data + 1, std::min(size - 1, block.size()));
    handler.Handle(data[0] & 3, block);
    return 0;
}
