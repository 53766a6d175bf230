// The card's output stage: every decoded picture is scaled to the 720 x 576
// output frame with the picture settings applied, the on-screen display is
// drawn over it and the frame is published in the shared picture memory.
// Without a picture (no lock, no video PID, a radio program) the output is
// black with the on-screen display, published again whenever the display
// changes (looked at 25 times a second) and at least once a second.
//
// Paced (the card's case), a picture goes out when its time stamp says, at
// the stream's own pace however unevenly the decoder hands pictures over;
// unpaced (benchmarks, tests), as soon as it is decoded.
//
// Picture settings (brightness, contrast, saturation, 0-255 each): the
// program's defaults 170, 160 and 200 show the picture as it is decoded.
// Brightness shifts the luma by (value - 170) levels, contrast scales it by
// value / 160 and saturation scales the colour by value / 200.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CPresentationClock.h"
#include "IFrameSink.h"
#include "IOsdLayer.h"
#include "kestrel/protocol/PictureMemory.h"

extern "C" {
struct SwsContext;
}

namespace nvdvbsrv {

struct PictureSettings {
    uint8_t brightness = 170;
    uint8_t contrast = 160;
    uint8_t saturation = 200;
    bool operator==(const PictureSettings&) const = default;
};

class CPictureOutput : public IFrameSink {
  public:
    CPictureOutput();
    ~CPictureOutput() override;
    CPictureOutput(const CPictureOutput&) = delete;
    CPictureOutput& operator=(const CPictureOutput&) = delete;

    // Creates the picture memory and starts the black-frame clock; Stop (and
    // the destructor) end it and remove the memory.
    bool Start(const std::string& memoryName);
    void Stop();

    // Null: no on-screen display.
    void SetOsdLayer(const IOsdLayer* layer);
    void SetPictureSettings(const PictureSettings& settings);
    // Before the first picture.
    void SetPaced(bool paced) { paced_ = paced; }
    // The picture is gone (tune, PID change): black until the next one.
    void Clear();
    // Held (a paused playback), the last picture stays however long no
    // other one comes.
    void SetHold(bool hold) { hold_ = hold; }

    // A decoded picture, on the video decoder's thread.
    void Frame(const AVFrame& frame, const FrameTiming& timing) override;

    uint64_t FramesPublished() const { return published_.load(); }
    uint64_t PicturesShown() const { return pictures_.load(); }

  private:
    using Clock = std::chrono::steady_clock;
    void Clock25Hz();
    void PublishBlackLocked();
    void PublishLocked(const kestrel::protocol::PictureInfo& info);
    bool Scale(const AVFrame& frame);
    // False when the picture went meanwhile (Clear, Stop).
    bool WaitUntilDue(const FrameTiming& timing);

    std::mutex mutex_;  // everything below but the thread's stop flag
    std::vector<uint32_t> pixels_;
    kestrel::protocol::PictureWriter writer_;
    SwsContext* sws_ = nullptr;
    PictureSettings settings_;
    bool settingsApplied_ = false;
    std::atomic<const IOsdLayer*> osd_{nullptr};
    bool showingPicture_ = false;
    Clock::time_point lastPicture_;
    Clock::time_point lastPublish_;
    uint64_t lastRevision_ = 0;
    bool osdSwapped_ = false;  // another layer (or none) since the last frame
    bool paced_ = false;
    std::atomic<bool> hold_{false};
    std::mutex paceMutex_;  // the two below
    std::condition_variable paceWake_;
    CPresentationClock presentation_;
    bool newAnchor_ = false;  // Clear and Stop end a wait and ask for a new anchor
    std::atomic<uint64_t> published_{0};
    std::atomic<uint64_t> pictures_{0};

    std::mutex clockMutex_;
    std::condition_variable clockWake_;
    bool stop_ = false;
    std::thread clock_;
};

}  // namespace nvdvbsrv
