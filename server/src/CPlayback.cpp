#include "CPlayback.h"

namespace nvdvbsrv {
namespace {
constexpr uint64_t kPtsMask = (uint64_t(1) << 33) - 1;
constexpr auto kReadWait = std::chrono::milliseconds(50);
}  // namespace

CPlayback::CPlayback(std::unique_ptr<IPlaybackInput> input, RecordFormat format,
                     IPlaybackOutput& output, uint64_t lengthMs)
    : input_(std::move(input)), output_(output), lengthMs_(lengthMs), parser_(format) {
    timeline_.Restart(0);
    thread_ = std::thread([this] { Run(); });
}

CPlayback::~CPlayback() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void CPlayback::Play(Pace pace, double factor, std::optional<uint64_t> fromMs) {
    {
        std::lock_guard lock(mutex_);
        if (fromMs) seek_ = fromMs;
        pace_ = pace;
        factor_ = factor;
        playing_ = true;
        changed_ = true;
        ended_ = false;
        lastJump_ = Clock::now();
    }
    output_.Hold(false);
    wake_.notify_all();
}

void CPlayback::Pause() {
    {
        std::lock_guard lock(mutex_);
        playing_ = false;
        changed_ = true;
    }
    output_.Hold(true);
    wake_.notify_all();
}

void CPlayback::Stop() {
    {
        std::lock_guard lock(mutex_);
        playing_ = false;
        changed_ = true;
        seek_ = 0;
    }
    output_.Hold(false);
    wake_.notify_all();
}

double CPlayback::Speed() const {
    switch (pace_) {
        case Pace::Slow:
            return 1.0 / factor_;
        case Pace::Fast:
            return factor_;
        case Pace::Forward:
            return kWindSpeed;
        default:
            return 1.0;
    }
}

void CPlayback::ReanchorLocked() {
    anchorWall_ = Clock::now();
    anchorMedia_ = int64_t(positionMs_.load()) * 90;
    anchorOut_ = (lastOut_ + CMediaTimeline::kStep) & kPtsMask;
    changed_ = false;
}

void CPlayback::SeekLocked(std::unique_lock<std::mutex>& lock, uint64_t ms) {
    units_.clear();
    parser_.Reset();
    if (lengthMs_ > 0 || ms == 0)
        input_->Seek(lengthMs_ > 0 ? double(std::min(ms, lengthMs_)) / double(lengthMs_) : 0.0);
    timeline_.Restart(ms);
    positionMs_ = ms;
    lock.unlock();
    output_.Restart();
    lock.lock();
    changed_ = true;
}

bool CPlayback::NextUnitLocked(std::unique_lock<std::mutex>& lock) {
    std::vector<uint8_t> bytes;
    lock.unlock();
    const auto status = input_->Read(bytes, kReadWait);
    lock.lock();
    const auto take = [this](PlaybackUnit&& u) { units_.push_back(std::move(u)); };
    if (status == IPlaybackInput::Status::Data) parser_.Feed(bytes, take);
    if (status != IPlaybackInput::Status::End) return true;
    parser_.Finish(take);
    return !units_.empty();
}

void CPlayback::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || playing_ || seek_; });
        if (stop_) return;
        if (seek_) {
            const uint64_t to = *seek_;
            seek_.reset();
            SeekLocked(lock, to);
            continue;
        }
        if (changed_) ReanchorLocked();
        if (pace_ == Pace::Backward && Clock::now() - lastJump_ >= kBackStep) {
            lastJump_ = Clock::now();
            const uint64_t at = positionMs_.load();
            if (at == 0) {
                playing_ = false;
                ended_ = true;
                continue;
            }
            const uint64_t back = uint64_t(kBackJump.count());
            SeekLocked(lock, at > back ? at - back : 0);
            continue;
        }
        if (units_.empty()) {
            if (!NextUnitLocked(lock)) {
                playing_ = false;
                ended_ = true;
            }
            continue;
        }
        PlaybackUnit unit = std::move(units_.front());
        units_.pop_front();
        if (unit.unit.pts) {
            const int64_t media = timeline_.Map(*unit.unit.pts);
            const double ticks = double(media - anchorMedia_) / Speed();
            const auto due =
                anchorWall_ + std::chrono::microseconds(int64_t(ticks * 1000.0 / 90.0)) - kLead;
            if (wake_.wait_until(lock, due, [this] { return stop_ || changed_ || seek_; })) {
                units_.push_front(std::move(unit));
                continue;
            }
            lastOut_ = (anchorOut_ + uint64_t(std::max(ticks, 0.0))) & kPtsMask;
            unit.unit.pts = lastOut_;
            positionMs_ = uint64_t(std::max<int64_t>(media, 0) / 90);
        }
        const bool sound = pace_ == Pace::Normal;
        lock.unlock();
        if (unit.video)
            output_.Video(std::move(unit.unit));
        else if (sound)
            output_.Audio(std::move(unit.unit));
        lock.lock();
    }
}

}  // namespace nvdvbsrv
