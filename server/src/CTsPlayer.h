// Plays a transponder's stream in a loop at its own bit rate (times a speed
// factor) on a thread of its own and hands every packet to its consumers
// (section filters, teletext).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "CTsFile.h"
#include "IPacketSink.h"

namespace nvdvbsrv {

class CTsPlayer {
  public:
    explicit CTsPlayer(std::vector<IPacketSink*> sinks) : sinks_(std::move(sinks)) {}
    ~CTsPlayer() { Stop(); }
    CTsPlayer(const CTsPlayer&) = delete;
    CTsPlayer& operator=(const CTsPlayer&) = delete;

    // Starts playing (stopping what played before). The file must outlive Stop().
    void Play(std::shared_ptr<const CTsFile> file, double speed);
    void Stop();
    bool Playing() const { return thread_.joinable(); }
    // Packets handed out since Play (for status figures and tests).
    uint64_t PacketsPlayed() const { return played_.load(); }

  private:
    void Run(std::shared_ptr<const CTsFile> file, double speed);

    std::vector<IPacketSink*> sinks_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<uint64_t> played_{0};
};

}  // namespace nvdvbsrv
