// The decoder's PES assembler on any packets: whatever it completes is a
// PES payload within the limit, and a reset leaves nothing behind.
#include <cstdint>

#include "CPesAssembler.h"
#include "CTsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kLimit = 64 * 1024;
    const auto file = nvdvbsrv::CTsFile::FromBytes(std::span<const uint8_t>(data, size));
    nvdvbsrv::CPesAssembler assembler(kLimit);
    size_t units = 0;
    const auto done = [&](nvdvbsrv::PesUnit&& unit) {
        if (unit.payload.empty() || unit.payload.size() > kLimit) __builtin_trap();
        if (unit.streamId < 0xBC) __builtin_trap();
        if (unit.pts && *unit.pts >= (uint64_t(1) << 33)) __builtin_trap();
        ++units;
    };
    for (size_t i = 0; i < file.PacketCount(); ++i) {
        const auto packet = mpegts::TsPacket::View(file.Packet(i));
        if (!packet || packet->Pid() != 0) continue;
        assembler.Feed(*packet, done);
        if (i % 97 == 96) assembler.Reset();
    }
    // After a reset only a packet that starts a PES can complete one.
    assembler.Reset();
    const size_t before = units;
    for (size_t i = 0; i < file.PacketCount(); ++i) {
        const auto packet = mpegts::TsPacket::View(file.Packet(i));
        if (!packet || packet->Pid() != 0) continue;
        if (packet->PayloadUnitStart()) break;
        assembler.Feed(*packet, done);
    }
    if (units != before) __builtin_trap();
    return 0;
}
