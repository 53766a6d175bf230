// Where the card's continuous output goes: one datagram to the card's address at
// the base port plus an offset (a filter handle, or 34/36/37).
#pragma once

#include <cstdint>
#include <span>

namespace nvdvbsrv {

class IDatagramSink {
  public:
    virtual ~IDatagramSink() = default;
    // Called from the card's streaming thread and from the request thread:
    // implementations must be thread-safe.
    virtual void Send(uint16_t portOffset, std::span<const uint8_t> data) = 0;
};

}  // namespace nvdvbsrv
