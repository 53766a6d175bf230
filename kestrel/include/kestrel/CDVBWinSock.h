#pragma once
// A UDP receiver on the card's network interface: bound to DVBDestIP at
// DVBBasePort + offset (address and base port come from the server, command
// 25), served by the process-wide dispatcher. Derived classes override
// OnDataArrival. Only loopback addresses (127.0.0.0/8) are accepted.
#include <cstdint>
#include <string>

class CDVBWinSock {
  public:
    static constexpr int kBufferSize = 8192;

    CDVBWinSock() = default;
    virtual ~CDVBWinSock();
    CDVBWinSock(const CDVBWinSock&) = delete;
    CDVBWinSock& operator=(const CDVBWinSock&) = delete;

    /// 1 on success, 0 on failure. error: -1 already open, -2 address and
    /// port unknown, else the socket layer's errno (0 on success).
    int SOpen(int portOffset, int* error);
    void SClose();
    bool IsOpen() const { return fd_ >= 0; }

    /// Asks the server (command 25): true when the reply's check is 0 or 6.
    /// On a failed request both strings are empty.
    static bool GetIPandPort(std::string& address, std::string& port);

    /// Called by the dispatcher when the socket is readable (error 0).
    /// Empty datagrams, datagrams longer than the buffer and datagrams from
    /// outside the loopback network are counted and dropped.
    virtual void OnReceive(int error);
    /// One received datagram, whole. Does nothing here.
    virtual void OnDataArrival(std::uint8_t* data, int length);
    /// Datagrams dropped by OnReceive.
    std::uint64_t Dropped() const { return dropped_; }

    int PortOffset() const { return portOffset_; }
    int BasePort() const { return basePort_; }
    const std::string& AddressText() const { return addressText_; }
    const std::string& PortText() const { return portText_; }
    int Descriptor() const { return fd_; }

  private:
    std::string portText_, addressText_;
    int basePort_ = 0;
    std::uint32_t address_ = 0;  ///< network byte order
    int portOffset_ = -1;
    int fd_ = -1;
    int watch_ = 0;
    std::uint64_t dropped_ = 0;
    std::uint8_t buffer_[kBufferSize] = {};
};
