#pragma once
// The program's own record/playback back end: the card is switched to its
// network method, and the stream travels as datagrams between the card and
// this engine, which does the file work. While recording, every datagram
// that arrives at base port + 33 is written to the file; while playing, the
// file goes to the card at base port + 35 in chunks (a PVA packet, an MPEG
// audio frame, a block of samples or up to seven transport stream packets),
// each behind the 2-byte prefix of the network method, paced at the
// stream's own rate.
//
// Threads: the operations run on the GUI thread, as do all calls to the
// device set. A worker thread, started at open and ended at close, moves the
// data; it shares the mode, the position, the bit rate, the seek request and
// its run flag with the GUI thread through atomics, and calls `notify` (set
// by SetStatusChangedMessage), which must only post. When playback reaches
// the end of its file, the worker stops by itself; the card is told of it
// (WS_Stop) at the next call from the GUI thread, which the notification
// brings about at once (the VCR bar asks for the status).
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "kestrel/protocol/RecorderDatagram.h"
#include "receiver/ReceiverTypes.h"
#include "recording/ByteSource.h"
#include "recording/CRecorderSocket.h"
#include "recording/IRecPlayBackEnd.h"
#include "recording/StreamChunks.h"

class IDeviceSet;

/// The bit rate of one window, smoothed with the one before:
/// (bytes * 8 / elapsedMs + previous + 1) / 2, in kbit/s.
std::uint32_t SmoothedRateKbit(std::uint64_t bytes, std::uint64_t elapsedMs,
                               std::uint32_t previousKbit);

class CWSFileStreamer : public IRecPlayBackEnd {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kRateWindow{500};
    static constexpr std::chrono::milliseconds kIdleSleep{20};
    static constexpr std::chrono::milliseconds kSocketWait{5};
    static constexpr std::chrono::milliseconds kEndWait{100};
    static constexpr std::chrono::milliseconds kStopGrace{200};

    explicit CWSFileStreamer(IDeviceSet& devices);
    CWSFileStreamer(const CWSFileStreamer&) = delete;
    CWSFileStreamer& operator=(const CWSFileStreamer&) = delete;
    /// Stops and closes what is open.
    ~CWSFileStreamer() override;

    int Open(const std::string& path, int format, int forPlayback) override;
    int Record() override;
    int Playback(std::uint32_t startMs) override;
    int Pause() override;
    int SlowPlayback(std::uint8_t speed) override;
    int FastPlayback(int speed) override;
    int Stop() override;
    int Close() override;
    int GetStatus(RecPlayStatus& status) override;
    int SetStatusChangedMessage(std::function<void()> notify, unsigned int message,
                                int enable) override;

  private:
    enum RunFlag { kIdle = 0, kRunning = 1, kEnded = 2 };

    bool OpenRecording(const std::string& path);
    bool OpenPlayback(const std::string& path, int format);
    void CloseFileAndSocket();
    bool PlaybackOpen() const { return fileOpen_ && isPlayback_; }
    /// Runs a library call and, when it succeeds, sets `mode` and posts.
    int Change(const std::function<bool()>& precondition, const std::function<CardResult()>& call,
               int mode);
    /// Tells the card of a playback that ended by itself.
    void SettleEnd();
    void Post();

    void StartThread();
    void StopThread();
    void Run();
    void Idle();
    void RecordStep();
    void PlayStep();
    bool Seek(std::uint32_t ms);
    void EndPlayback();
    void SendChunk(const StreamChunk& chunk);
    /// Sleeps in short slices until `until`; false as soon as the mode, the
    /// seek request or the run flag changes.
    bool WaitUntil(Clock::time_point until, int mode);
    void CountBytes(std::size_t n);

    IDeviceSet& devices_;

    // Set on the GUI thread while no worker runs; read by the worker.
    bool fileOpen_ = false;
    bool isPlayback_ = false;
    int format_ = 0;
    StreamKind kind_ = StreamKind::PvaPackets;
    std::uint32_t sampleRate_ = 0;
    std::uint64_t fileLength_ = 0;
    std::uint32_t durationMs_ = 0;
    std::unique_ptr<FileSource> source_;  ///< playback
    int recordFd_ = -1;                   ///< recording
    CRecorderSocket socket_;

    // Shared by both threads.
    std::atomic<int> mode_{0};
    std::atomic<std::uint32_t> positionMs_{0};
    std::atomic<std::uint32_t> rateKbit_{0};
    std::atomic<std::uint32_t> seekRequestMs_{0};
    std::atomic<int> runFlag_{kIdle};
    std::atomic<bool> endPending_{false};
    std::atomic<std::uint32_t> stops_{0};  ///< counts the stops, so that none goes unseen
    std::mutex modeMutex_;                 ///< a change of mode and its library call go together
    std::mutex notifyMutex_;
    std::function<void()> notify_;
    unsigned int message_ = 0;
    bool notifyEnabled_ = false;

    // The worker's own.
    std::thread worker_;
    std::uint64_t offset_ = 0;
    Clock::time_point start_{}, windowStart_{};
    std::uint64_t windowBytes_ = 0;
    std::uint32_t seenStops_ = 0;
    std::array<std::uint8_t, kestrel::protocol::recorder::kDatagramBytes> buffer_{};
    std::optional<StreamChunk> pending_;  ///< read, waiting for its time
    PlaySpeed pendingSpeed_ = PlaySpeed::Normal;
    Clock::time_point due_{};
    bool held_ = false;  ///< paused since the last chunk
    std::unique_ptr<class CPlaybackPacer> pacer_;
};
