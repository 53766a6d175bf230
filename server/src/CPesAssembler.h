// Joins the transport packets of one PID into whole PES packets: a packet
// ends where its PES_packet_length says, or, when that is 0 (video), where
// the next one starts. A continuity error, a transport error or a packet that
// grows past the limit drops the packet under way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "mpegts/TsPacket.h"

namespace nvdvbsrv {

// One PES packet's elementary-stream bytes with what its header told.
struct PesUnit {
    uint8_t streamId = 0;
    std::optional<uint64_t> pts;  // 90 kHz
    std::vector<uint8_t> payload;
    // The whole PES packet, header included; only from an assembler that
    // keeps them (the recorder writes them as they came).
    std::vector<uint8_t> packet;
};

class CPesAssembler {
  public:
    using Done = std::function<void(PesUnit&&)>;
    static constexpr size_t kDefaultLimit = 2 * 1024 * 1024;

    explicit CPesAssembler(size_t limit = kDefaultLimit, bool keepPackets = false)
        : limit_(limit), keepPackets_(keepPackets) {}

    // One packet of the PID; `done` receives every PES packet it completes.
    void Feed(const mpegts::TsPacket& packet, const Done& done);
    // Forgets the packet under way (the stream jumped).
    void Reset();
    // The stream ends here: an open-ended packet under way is complete, one
    // of announced length that is not is dropped.
    void Finish(const Done& done);

  private:
    void Complete(const Done& done);

    size_t limit_;
    bool keepPackets_;
    std::vector<uint8_t> bytes_;
    bool collecting_ = false;
    int lastCc_ = -1;
};

}  // namespace nvdvbsrv
