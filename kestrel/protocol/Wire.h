#pragma once
// The local-socket link that replaces the server window and its registered
// "DVB Client Message". One SOCK_SEQPACKET connection per client, in the
// abstract Unix-socket namespace under ServerSocketName(pid). Every record on
// it is one fixed 32-byte frame (little-endian):
//
//   off  0 u32 magic  kFrameMagic ("KSTL")
//   off  4 u16 kind   FrameKind
//   off  6 u16 version kWireVersion
//   off  8 u32 seq    sender's sequence number; a Result echoes the Send's
//   off 12 u32 window target window token (Posted only; else 0)
//   off 16 u32 message kDvbClientMessage for Send/Post/Result, the posted
//                      message number for Posted (e.g. 1239)
//   off 20 u32 wParam  client id for Send/Post, 0 in Result, as posted for Posted
//   off 24 u32 lParam  LinkOp for Send/Post, the result for Result, as posted
//   off 28 u32 reserved 0
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kestrel::protocol {

inline constexpr std::uint32_t kFrameMagic = 0x4C54534Bu;  // "KSTL"
inline constexpr std::uint16_t kWireVersion = 1;
inline constexpr std::size_t kFrameSize = 32;
/// The id standing for the registered message "DVB Client Message".
inline constexpr std::uint32_t kDvbClientMessage = 0xC0DBu;

enum class FrameKind : std::uint16_t {
    Send = 1,    ///< client -> server, the server answers with one Result
    Post = 2,    ///< client -> server, no answer
    Result = 3,  ///< server -> client, answer to the Send with the same seq
    Posted = 4,  ///< server -> client, a message posted to one of the client's windows
};

struct Frame {
    FrameKind kind = FrameKind::Send;
    std::uint32_t seq = 0;
    std::uint32_t window = 0;
    std::uint32_t message = kDvbClientMessage;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
};

std::array<std::uint8_t, kFrameSize> EncodeFrame(const Frame& f);
/// Nothing when the bytes are not exactly one valid frame.
std::optional<Frame> DecodeFrame(std::span<const std::uint8_t> bytes);

/// Server: a listening socket under that abstract name (-1 on failure).
int ListenLocal(const std::string& name);
/// Client: connects to that abstract name (-1 on failure).
int ConnectLocal(const std::string& name);

/// Whether the process at the other end of a connected local socket runs
/// as this user (or, with allowRoot, as root). The abstract names are open
/// to every user, so both sides check whom they talk to.
bool PeerIsThisUser(int fd, bool allowRoot);

/// Writes one frame; false when the peer is gone.
bool SendFrame(int fd, const Frame& f);
/// A send that never waits: Sent, Full when the socket takes nothing more
/// now (try again when it is writable), Failed when the connection is gone.
enum class SendStatus { Sent, Full, Failed };
SendStatus TrySendFrame(int fd, const Frame& f);

enum class RecvStatus { Ok, Timeout, Closed, Garbage };
/// Reads one record. timeoutMs < 0 waits without limit.
RecvStatus RecvFrame(int fd, Frame& out, int timeoutMs);

}  // namespace kestrel::protocol
