// What the card's two decoders are given: the live stream's packets of
// their PIDs, or, while a recording plays, the playback's units instead
// (the live stream then reaches them no more, and comes back when the
// playback ends).
#pragma once

#include <atomic>

#include "CPictureOutput.h"
#include "CStreamDecoder.h"
#include "IPacketSink.h"
#include "IPlaybackInput.h"

namespace nvdvbsrv {

class CDecoderFeed : public IPacketSink, public IPlaybackOutput {
  public:
    CDecoderFeed(CStreamDecoder& video, CStreamDecoder& audio, CPictureOutput& picture)
        : video_(video), audio_(audio), picture_(picture) {}

    // Live (true) or a playback's (false); either way the decoders start afresh.
    void SetLive(bool live);
    bool Live() const { return live_.load(); }

    // The live stream, on the player's thread.
    void FeedPacket(std::span<const uint8_t> packet) override;
    void ResetAssemblers() override;

    // A playback, on its thread.
    void Video(PesUnit&& unit) override { video_.FeedUnit(std::move(unit)); }
    void Audio(PesUnit&& unit) override { audio_.FeedUnit(std::move(unit)); }
    void Restart() override;
    void Hold(bool hold) override { picture_.SetHold(hold); }

  private:
    CStreamDecoder& video_;
    CStreamDecoder& audio_;
    CPictureOutput& picture_;
    std::atomic<bool> live_{true};
};

}  // namespace nvdvbsrv
