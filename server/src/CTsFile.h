// A transponder's transport stream held in memory: whole 188-byte packets from
// the first sync on, the stream's own bit rate measured from its PCRs and its
// own time, that of its first TDT or TOT.
#pragma once

#include <cstdint>
#include <ctime>
#include <ios>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mpegts/TsPacket.h"

namespace nvdvbsrv {

class CTsFile {
  public:
    static constexpr size_t kPacket = mpegts::TsPacket::kSize;
    static constexpr uint64_t kFallbackBitrate = 4000000;                    // streams without PCR
    static constexpr std::streamoff kMaxFileSize = std::streamoff(1) << 30;  // held in memory

    static std::optional<CTsFile> Load(const std::string& path, std::string& error);
    static CTsFile FromBytes(std::span<const uint8_t> bytes);

    size_t PacketCount() const { return packets_.size() / kPacket; }
    std::span<const uint8_t> Packet(size_t i) const {
        return std::span<const uint8_t>(packets_).subspan(i * kPacket, kPacket);
    }
    std::span<const uint8_t> Bytes() const { return packets_; }
    // Bits per second; from the PCR of the first PID that carries one.
    uint64_t Bitrate() const { return bitrate_; }
    bool BitrateFromPcr() const { return fromPcr_; }
    // The UTC time of the first TDT or TOT (PID 0x14); nothing without one.
    std::optional<std::time_t> StreamTime() const { return streamTime_; }

  private:
    void MeasureBitrate();
    void FindStreamTime();

    std::vector<uint8_t> packets_;
    uint64_t bitrate_ = kFallbackBitrate;
    bool fromPcr_ = false;
    std::optional<std::time_t> streamTime_;
};

}  // namespace nvdvbsrv
