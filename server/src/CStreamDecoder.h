// The decoder of one elementary stream of the card (the video or the audio
// PID): takes the PID's transport packets on the player's thread, joins them
// into PES packets and decodes them on a thread of its own. The queue
// between the two is bounded; when the decoder falls behind, the oldest PES
// packet goes, so that the player is never held up. The codec is found from
// the stream itself: MPEG-1/2, H.264 or H.265 video; MPEG audio layer I-III,
// AAC (ADTS) or AC-3 / E-AC-3 sound.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "CPesAssembler.h"
#include "IFrameSink.h"
#include "IPacketSink.h"

namespace nvdvbsrv {

class CCodec;

class CStreamDecoder : public IPacketSink {
  public:
    enum class Kind { Video, Audio };
    // DropOldest for the card; Wait lets a feeder that runs faster than real
    // time (the benchmark) wait for room instead.
    enum class Overflow { DropOldest, Wait };
    static constexpr uint16_t kNoPid = 0x1FFF;
    static constexpr size_t kQueueLimit = 48;

    CStreamDecoder(Kind kind, IFrameSink& sink, Overflow overflow = Overflow::DropOldest);
    ~CStreamDecoder() override;
    CStreamDecoder(const CStreamDecoder&) = delete;
    CStreamDecoder& operator=(const CStreamDecoder&) = delete;

    // Request thread. Both drop what is under way; when they return, no frame
    // of before reaches the sink any more.
    void SetPid(uint16_t pid);
    void Flush();
    uint16_t Pid() const { return pid_.load(); }

    // Player thread.
    void FeedPacket(std::span<const uint8_t> packet) override;
    void ResetAssemblers() override;
    // A PES unit from elsewhere than the PID's packets (a recording played
    // back); any thread.
    void FeedUnit(PesUnit&& unit);

    // Waits until every queued PES packet is decoded (benchmark, tests).
    void Drain();
    uint64_t FramesDecoded() const { return frames_.load(); }
    uint64_t PesDropped() const { return dropped_.load(); }

  private:
    struct Item {
        PesUnit unit;
        uint64_t restart = 0;  // not 0: the stream jumped, start the codec afresh (its number)
        bool drain = false;    // with restart: first hand on what the codec still holds
    };
    void Push(Item item);
    void Run();
    void Decode(Item& item);

    const Kind kind_;
    IFrameSink& sink_;
    const Overflow overflow_;
    std::atomic<uint16_t> pid_{kNoPid};
    std::mutex feedMutex_;  // the assembler (player and request thread)
    CPesAssembler assembler_;

    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<Item> queue_;
    bool busy_ = false;
    bool stop_ = false;
    uint64_t restarts_ = 0;     // the number of the last restart queued
    uint64_t restartDone_ = 0;  // and of the last one the decoder thread carried out
    std::unique_ptr<CCodec> codec_;
    std::atomic<uint64_t> frames_{0};
    std::atomic<uint64_t> dropped_{0};
    std::thread thread_;
};

}  // namespace nvdvbsrv
