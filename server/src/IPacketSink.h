// A consumer of the transport packets of the stream being played.
#pragma once

#include <cstdint>
#include <span>

namespace nvdvbsrv {

class IPacketSink {
  public:
    virtual ~IPacketSink() = default;
    // One 188-byte packet; called on the player's thread.
    virtual void FeedPacket(std::span<const uint8_t> packet) = 0;
    // The stream jumped (loop point, new transponder): drop what is under way.
    virtual void ResetAssemblers() = 0;
};

}  // namespace nvdvbsrv
