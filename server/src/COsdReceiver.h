// Receives the on-screen display's bitmap datagrams: a UDP socket bound to
// the card's own address (the directed broadcast address of the card
// network, a loopback address) at base port + 36, served by a thread of its
// own that hands every datagram from a loopback sender to the OSD.
#pragma once

#include <cstdint>
#include <string>
#include <thread>

namespace nvdvbsrv {

class COsd;

class COsdReceiver {
  public:
    // address in host byte order; refuses (IsOpen false, error set) anything
    // outside 127.0.0.0/8 or a port that cannot be bound.
    COsdReceiver(COsd& osd, uint32_t address, uint16_t port);
    ~COsdReceiver();
    COsdReceiver(const COsdReceiver&) = delete;
    COsdReceiver& operator=(const COsdReceiver&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Error() const { return error_; }

  private:
    void Run();

    COsd& osd_;
    int fd_ = -1;
    int stopFd_ = -1;
    std::string error_;
    std::thread thread_;
};

}  // namespace nvdvbsrv
