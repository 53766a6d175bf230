#pragma once
// Layout of the two shared blocks. All values are little-endian.
#include <cstddef>
#include <cstdint>

namespace kestrel::protocol {

/// The status block: one 32-bit word, the server's "window" (its process id,
/// from which the client derives the socket name).
inline constexpr std::size_t kStatusBlockSize = 4;
inline constexpr std::size_t kStatusServerWindowOffset = 0;

/// The per-client parameter block carrying a request and then its reply.
inline constexpr std::size_t kParamBlockSize = 408;
/// 16-bit command code.
inline constexpr std::size_t kCommandOffset = 0;
/// Bytes 2..7 are never written by the client.
inline constexpr std::size_t kFirstSlotOffset = 8;

/// Offset of 32-bit slot k.
constexpr std::size_t Slot(std::size_t k) { return kFirstSlotOffset + 4 * k; }

/// Fixed offsets of embedded fields used by more than one side.
namespace offs {
// 21 BootARM: 8 length, path bytes from 12 (no terminator)
inline constexpr std::size_t kBootPathLength = 8;
inline constexpr std::size_t kBootPath = 12;
// 25 GetIP: 8 check, 12 ip length, 16 mask length, 20 ip, 100 mask, 180 port
inline constexpr std::size_t kIpCheck = 8;
inline constexpr std::size_t kIpLength = 12;
inline constexpr std::size_t kMaskLength = 16;
inline constexpr std::size_t kIpText = 20;
inline constexpr std::size_t kMaskText = 100;
inline constexpr std::size_t kUdpPort = 180;
// 60 SetBitFilter: 8 PID, 12 filter bytes, 28 mask bytes, 44 length, 48 type
inline constexpr std::size_t kFilterPid = 8;
inline constexpr std::size_t kFilterBytes = 12;
inline constexpr std::size_t kMaskBytes = 28;
inline constexpr std::size_t kFilterLength = 44;
inline constexpr std::size_t kFilterType = 48;
inline constexpr std::size_t kMaxFilterLength = 16;
// 118 Open: 8 format, 12 mode, 16 name length, 20 name with terminator
inline constexpr std::size_t kRecFormat = 8;
inline constexpr std::size_t kRecForPlayback = 12;
inline constexpr std::size_t kRecNameLength = 16;
inline constexpr std::size_t kRecName = 20;
inline constexpr std::size_t kMaxRecNameLength = 380;
// 130 CI message: 8 sub-command, 12 up to 32 data bytes, 44 data length
inline constexpr std::size_t kCiSubCommand = 8;
inline constexpr std::size_t kCiData = 12;
inline constexpr std::size_t kCiDataLength = 44;
inline constexpr std::size_t kMaxCiData = 32;
// 43 / 4909 DiSEqC: 8 length, 12 burst, 16 flag, 20 message bytes
inline constexpr std::size_t kDiseqcLength = 8;
inline constexpr std::size_t kDiseqcBurst = 12;
inline constexpr std::size_t kDiseqcFlag = 16;
inline constexpr std::size_t kDiseqcMessage = 20;
// 97 WriteText: 8 window, 12 x, 16 y, 20 count, 24 bytes
inline constexpr std::size_t kOsdTextCount = 20;
inline constexpr std::size_t kOsdText = 24;
// 4906 zSetChannel: 32-byte CHANNEL_TYPE from 12; 4902 zGetChannel likewise
inline constexpr std::size_t kChannelRecord = 12;
inline constexpr std::size_t kChannelRecordSize = 32;
// 4904 zGetSignal: 20-byte SIGNAL_TYPE from 16
inline constexpr std::size_t kSignalRecord = 16;
inline constexpr std::size_t kSignalRecordSize = 20;
// 54 GetDecoderStatus: 92-byte VIDEOSTATE from 8
inline constexpr std::size_t kVideoStateSize = 92;
}  // namespace offs

}  // namespace kestrel::protocol
