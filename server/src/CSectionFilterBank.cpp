#include "CSectionFilterBank.h"

#include <ctime>

#include "CEitRestamper.h"
#include "CTimeStamper.h"
#include "mpegts/TsPacket.h"

namespace nvdvbsrv {

bool CSectionFilterBank::Matches(const SectionFilterSetting& setting,
                                 std::span<const uint8_t> section) {
    for (size_t i = 0; i < setting.length && i < kMaxLength; ++i) {
        if (i == 1 || i == 2) continue;  // section_length
        uint8_t m = setting.mask[i];
        if (m == 0) continue;
        if (i >= section.size()) return false;
        if ((section[i] & m) != (setting.filter[i] & m)) return false;
    }
    return true;
}

bool CSectionFilterBank::Add(uint32_t client, uint16_t handle,
                             const SectionFilterSetting& setting) {
    if (setting.length > kMaxLength || setting.pid > 0x1FFF) return false;
    std::lock_guard lock(mutex_);
    if (filters_.count(handle)) return false;
    filters_.emplace(handle, Filter{client, setting});
    pids_[setting.pid].filters++;
    return true;
}

bool CSectionFilterBank::Remove(uint32_t client, uint16_t handle) {
    std::lock_guard lock(mutex_);
    auto it = filters_.find(handle);
    if (it == filters_.end() || it->second.client != client) return false;
    auto pid = pids_.find(it->second.setting.pid);
    if (pid != pids_.end() && --pid->second.filters <= 0) pids_.erase(pid);
    filters_.erase(it);
    return true;
}

std::vector<uint16_t> CSectionFilterBank::RemoveClient(uint32_t client) {
    std::lock_guard lock(mutex_);
    std::vector<uint16_t> removed;
    for (auto it = filters_.begin(); it != filters_.end();) {
        if (it->second.client != client) {
            ++it;
            continue;
        }
        auto pid = pids_.find(it->second.setting.pid);
        if (pid != pids_.end() && --pid->second.filters <= 0) pids_.erase(pid);
        removed.push_back(it->first);
        it = filters_.erase(it);
    }
    return removed;
}

bool CSectionFilterBank::InUse(uint16_t handle) const {
    std::lock_guard lock(mutex_);
    return filters_.count(handle) != 0;
}

std::vector<SectionFilterSetting> CSectionFilterBank::Settings() const {
    std::lock_guard lock(mutex_);
    std::vector<SectionFilterSetting> out;
    for (const auto& [handle, f] : filters_) out.push_back(f.setting);
    return out;
}

size_t CSectionFilterBank::Count() const {
    std::lock_guard lock(mutex_);
    return filters_.size();
}

void CSectionFilterBank::ResetAssemblers() {
    std::lock_guard lock(mutex_);
    for (auto& [pid, state] : pids_) state.assembler.Reset();
}

void CSectionFilterBank::SetStreamTime(std::optional<std::time_t> t) {
    std::lock_guard lock(mutex_);
    streamTime_ = t;
}

void CSectionFilterBank::FeedPacket(std::span<const uint8_t> packet) {
    // Tested apart from the view, so that no view is kept across the lock
    // for the many packets on PIDs without a filter.
    if (!mpegts::TsPacket::IsPacket(packet)) return;
    const uint16_t pid = mpegts::TsPacket::View(packet)->Pid();
    std::lock_guard lock(mutex_);
    auto it = pids_.find(pid);
    if (it == pids_.end()) return;
    it->second.assembler.Feed(packet,
                              [&](std::span<const uint8_t> section) { Deliver(pid, section); });
}

void CSectionFilterBank::Deliver(uint16_t pid, std::span<const uint8_t> section) {
    // Called with the mutex held; the sink does not call back into the bank.
    if (liveClock_ && pid == CTimeStamper::kPid) {
        // The time tables tell the time of now, not of the recording.
        scratch_.assign(section.begin(), section.end());
        if (CTimeStamper::Stamp(scratch_, std::time(nullptr))) section = scratch_;
    }
    matched_.clear();
    for (const auto& [handle, f] : filters_) {
        if (f.setting.pid == pid && Matches(f.setting, section)) matched_.push_back(handle);
    }
    if (matched_.empty()) return;
    if (liveClock_ && pid == CEitRestamper::kPid && streamTime_) {
        // The guide moves with them. The first start time lies beyond the 16
        // bytes a filter compares, so the filters were matched on the
        // section as it came; only a section that a filter takes is changed.
        scratch_.assign(section.begin(), section.end());
        const auto offset = CEitRestamper::Offset(*streamTime_, std::time(nullptr));
        if (CEitRestamper::Shift(scratch_, offset)) section = scratch_;
    }
    for (const uint16_t handle : matched_) sink_.Send(handle, section);
}

}  // namespace nvdvbsrv
