#pragma once
// The network engine's datagram socket: bound to the card's address at base
// port + 33 (recording) or + 35 (playback), with an 8192-byte send buffer, no
// routing and a send time-out of 10 ms. The receive buffer holds a whole
// picture: the card sends a picture's packets back to back, and a buffer of
// 8192 bytes (room for two such datagrams here, the kernel counting its own
// bookkeeping) lost the third and every later one of an I frame. Datagrams
// go to the card's own address at the same port: the card's address with the
// host bits of its subnet mask set (127.0.0.255 for 127.0.0.1/255.0.0.0),
// where the card listens instead of at a broadcast, which these machines do
// not carry. Only loopback addresses are used.
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class IDeviceSet;

/// Where the socket of a port offset lives and sends to, in host byte order.
struct RecorderEndpoints {
    std::uint32_t local = 0;
    std::uint32_t destination = 0;
    std::uint16_t port = 0;
};

/// Nothing when an address does not parse, is not a loopback address, or
/// base + offset is no port.
std::optional<RecorderEndpoints> RecorderEndpointsOf(const std::string& ip, const std::string& mask,
                                                     const std::string& basePort,
                                                     std::uint16_t portOffset);

class CRecorderSocket {
  public:
    static constexpr int kBufferBytes = 8192;
    /// Asked for; the kernel caps it at net.core.rmem_max (208 KiB by default).
    static constexpr int kReceiveBufferBytes = 256 * 1024;
    static constexpr std::chrono::milliseconds kSendTimeout{10};

    CRecorderSocket() = default;
    CRecorderSocket(const CRecorderSocket&) = delete;
    CRecorderSocket& operator=(const CRecorderSocket&) = delete;
    ~CRecorderSocket() { Close(); }

    /// Asks the card for its address, base port and subnet mask and opens the
    /// socket at `portOffset`; false (and closed) when any step fails.
    bool Open(IDeviceSet& devices, std::uint16_t portOffset);
    bool Open(const RecorderEndpoints& endpoints);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const RecorderEndpoints& Endpoints() const { return endpoints_; }

    /// Waits at most `wait` for a datagram and reads it into `buffer`; its
    /// length, 0 when none came.
    std::size_t Receive(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait);
    /// Waits at most `wait` for room and sends `datagram` to the destination;
    /// false when it did not go.
    bool Send(std::span<const std::uint8_t> datagram, std::chrono::milliseconds wait);

  private:
    int fd_ = -1;
    RecorderEndpoints endpoints_;
};
