#include "CTsPlayer.h"

#include <chrono>

namespace nvdvbsrv {

namespace {
constexpr std::chrono::milliseconds kMaxLag{50};
}  // namespace

void CTsPlayer::Play(std::shared_ptr<const CTsFile> file, double speed) {
    Stop();
    if (!file || file->PacketCount() == 0) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    played_ = 0;
    for (auto* s : sinks_) s->ResetAssemblers();
    thread_ = std::thread([this, file, speed] { Run(file, speed); });
}

void CTsPlayer::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void CTsPlayer::Run(std::shared_ptr<const CTsFile> file, double speed) {
    using Clock = std::chrono::steady_clock;
    // Packets are released in slices of about 10 ms of stream time.
    const double packetsPerSecond = double(file->Bitrate()) * speed / (8.0 * CTsFile::kPacket);
    const size_t slice = std::max<size_t>(1, size_t(packetsPerSecond / 100.0));
    const size_t count = file->PacketCount();
    auto start = Clock::now();
    uint64_t sent = 0;
    size_t index = 0;
    const auto streamTime = [&](uint64_t packets) {
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(double(packets) / packetsPerSecond));
    };
    for (;;) {
        for (size_t k = 0; k < slice; ++k) {
            const auto packet = file->Packet(index);
            for (auto* s : sinks_) s->FeedPacket(packet);
            if (++index == count) {
                index = 0;
                // The loop joins two unrelated points of the stream.
                for (auto* s : sinks_) s->ResetAssemblers();
            }
        }
        sent += slice;
        played_ = sent;
        auto due = start + streamTime(sent);
        // A player that was held up does not rush to catch up: a broadcast
        // never arrives faster than its rate.
        if (Clock::now() > due + kMaxLag) {
            start = Clock::now() - streamTime(sent);
            due = start + streamTime(sent);
        }
        std::unique_lock lock(mutex_);
        if (wake_.wait_until(lock, due, [this] { return stop_; })) return;
    }
}

}  // namespace nvdvbsrv
