// The card's section filters: per PID a section assembler, per filter up to 16
// filter/mask bytes compared with the first bytes of each section (bytes 1 and 2,
// the section length, never take part). Every matching section goes out as one
// datagram at the filter's handle.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "IDatagramSink.h"
#include "IPacketSink.h"
#include "mpegts/SectionAssembler.h"

namespace nvdvbsrv {

struct SectionFilterSetting {
    uint16_t pid = 0;
    std::array<uint8_t, 16> filter{};
    std::array<uint8_t, 16> mask{};
    uint8_t length = 0;  // filter/mask bytes in use, at most 16
    uint32_t type = 4;
};

class CSectionFilterBank : public IPacketSink {
  public:
    static constexpr size_t kMaxLength = 16;

    explicit CSectionFilterBank(IDatagramSink& sink) : sink_(sink) {}

    // Adds a filter for a client under the given handle; false when the setting is
    // malformed (length above 16, PID above 0x1FFF) or the handle is in use.
    bool Add(uint32_t client, uint16_t handle, const SectionFilterSetting& setting);
    bool Remove(uint32_t client, uint16_t handle);
    // Removes every filter of the client; their handles.
    std::vector<uint16_t> RemoveClient(uint32_t client);
    bool InUse(uint16_t handle) const;
    size_t Count() const;
    // The settings of every filter, by handle order.
    std::vector<SectionFilterSetting> Settings() const;

    // Streaming side: one transport packet of the received stream.
    void FeedPacket(std::span<const uint8_t> packet) override;
    // The stream jumped (new transponder, loop): drop sections in progress.
    void ResetAssemblers() override;

    static bool Matches(const SectionFilterSetting& setting, std::span<const uint8_t> section);

    // With the live clock on, TDT and TOT sections carry the current time, and
    // once the stream's own time is known the events of the EIT sections move
    // by the distance from it to now (CEitRestamper).
    void SetLiveClock(bool on) { liveClock_ = on; }
    // The time of the stream now playing (CTsFile::StreamTime); nothing for
    // a stream without time tables, whose EIT is never moved.
    void SetStreamTime(std::optional<std::time_t> t);

  private:
    struct Filter {
        uint32_t client;
        SectionFilterSetting setting;
    };
    struct PidState {
        mpegts::SectionAssembler assembler;
        int filters = 0;
    };
    void Deliver(uint16_t pid, std::span<const uint8_t> section);

    IDatagramSink& sink_;
    mutable std::mutex mutex_;
    std::map<uint16_t, Filter> filters_;  // by handle
    std::map<uint16_t, PidState> pids_;
    std::atomic<bool> liveClock_{false};
    std::optional<std::time_t> streamTime_;  // under mutex_
    std::vector<uint8_t> scratch_;
    std::vector<uint16_t> matched_;
};

}  // namespace nvdvbsrv
