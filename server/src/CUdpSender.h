// Sends the card's datagrams to its own address (a loopback address) at the
// base port plus the offset. Thread-safe: one socket, one sendto per datagram.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "IDatagramSink.h"

namespace nvdvbsrv {

class CUdpSender : public IDatagramSink {
  public:
    // Refuses (IsOpen false) any address outside 127.0.0.0/8.
    CUdpSender(const std::string& ip, uint16_t basePort);
    ~CUdpSender() override;
    CUdpSender(const CUdpSender&) = delete;
    CUdpSender& operator=(const CUdpSender&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    void Send(uint16_t portOffset, std::span<const uint8_t> data) override;
    uint64_t Sent() const { return sent_.load(); }

  private:
    int fd_ = -1;
    uint32_t address_ = 0;  // network byte order
    uint16_t basePort_;
    std::atomic<uint64_t> sent_{0};
};

}  // namespace nvdvbsrv
