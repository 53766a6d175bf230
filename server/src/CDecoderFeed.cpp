#include "CDecoderFeed.h"

namespace nvdvbsrv {

void CDecoderFeed::SetLive(bool live) {
    const bool was = live_.exchange(live);
    if (live) picture_.SetHold(false);
    if (was == live) return;
    Restart();
}

void CDecoderFeed::FeedPacket(std::span<const uint8_t> packet) {
    if (!live_.load(std::memory_order_relaxed)) return;
    video_.FeedPacket(packet);
    audio_.FeedPacket(packet);
}

void CDecoderFeed::ResetAssemblers() {
    if (!live_.load()) return;
    video_.ResetAssemblers();
    audio_.ResetAssemblers();
}

void CDecoderFeed::Restart() {
    video_.Flush();
    audio_.Flush();
}

}  // namespace nvdvbsrv
