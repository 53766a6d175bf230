// The card's recorder: records the tuned program (the decoder's video and
// audio PIDs) and plays recordings through the card's decoders, with the
// server doing the file work (the file method) or with the stream travelling
// as datagrams between the card and the program (the network method):
// recordings go to the card's address at base port + 33, one unit a datagram;
// playbacks come to the card's own address at base port + 35, each datagram
// the 2-byte prefix and a piece of the recording.
//
// One recording or playback at a time. Every change of mode, and every
// 500 ms while recording or playing, is posted to each client that asked for
// it. A recording writes each unit through to the file as it is made, so
// that whatever was received is in the file should the server die; a write
// that fails (a full disk) ends the recording.
//
// Threading: the operations come from the request thread; FeedPacket from
// the player's thread; a thread of the recorder's own carries out what
// happens by itself (the end of a playback, a failed write, the status every
// 500 ms).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "CDecoderFeed.h"
#include "CPlayback.h"
#include "CPostBox.h"
#include "CRecordWriter.h"
#include "IDatagramSink.h"
#include "IPacketSink.h"
#include "RecordFormat.h"

namespace nvdvbsrv {

struct RecorderStatus {
    uint32_t lengthMs = 0;
    uint32_t kbit = 0;
    uint32_t positionMs = 0;
    uint32_t mode = 0;
    uint32_t format = 0;
};

// What the scan of a recording at its opening found.
struct RecordingLength {
    uint64_t lengthMs = 0;
    uint64_t bytes = 0;
    uint64_t units = 0;
};

class CRecorder : public IPacketSink {
  public:
    static constexpr auto kStatusPeriod = std::chrono::milliseconds(500);
    // A file is scanned this far for its length; beyond, the length grows
    // with the bytes.
    static constexpr uint64_t kScanLimit = 256ull * 1024 * 1024;

    // playbackAddress: the card's own address (host order) for the network
    // method's playback, at playbackPort; nothing when there is none.
    CRecorder(CDecoderFeed& feed, IDatagramSink& sink, CPostBox& posts,
              std::optional<uint32_t> playbackAddress, uint16_t playbackPort);
    ~CRecorder() override;
    CRecorder(const CRecorder&) = delete;
    CRecorder& operator=(const CRecorder&) = delete;

    static std::optional<RecordingLength> Scan(const std::string& path, RecordFormat format);

    // The live stream (the player's thread).
    void FeedPacket(std::span<const uint8_t> packet) override;
    void ResetAssemblers() override;

    // The file method; each returns a result code (ResultCodes.h).
    uint32_t Open(const std::string& path, uint32_t format, bool forPlayback);
    uint32_t Close();
    uint32_t Record(uint16_t videoPid, uint16_t audioPid);
    uint32_t Stop();
    uint32_t Playback(uint32_t startMs);
    // Pause, Slow and Fast serve both methods.
    uint32_t Pause();
    uint32_t Wind(bool forward);
    uint32_t Slow(uint32_t divisor);
    uint32_t Fast(uint32_t step);
    RecorderStatus Status();
    // window, message: what the client's window gets posted (wParam the mode).
    void SetStatusMessage(uint32_t client, uint32_t window, uint32_t message, bool enable);
    void RemoveClient(uint32_t client);

    // The network method.
    uint32_t SetMethod(uint32_t method);
    uint32_t NetRecord(uint32_t format, uint16_t videoPid, uint16_t audioPid);
    uint32_t NetPlayback(uint32_t format);
    uint32_t NetStop();

  private:
    enum class Session { None, FileRecord, FilePlay, NetRecord, NetPlay };
    using Lock = std::unique_lock<std::mutex>;
    bool Recording(Session s) const { return s == Session::FileRecord || s == Session::NetRecord; }
    bool Playing(Session s) const { return s == Session::FilePlay || s == Session::NetPlay; }

    void StartWriterLocked(uint16_t videoPid, uint16_t audioPid, bool toNetwork);
    void StopWriterLocked();
    // Ends the session: the writer stops, the file closes, the playback goes.
    void EndSessionLocked();
    uint32_t PlayLocked(CPlayback::Pace pace, double factor, RecordMode mode,
                        std::optional<uint64_t> fromMs);
    void SetModeLocked(RecordMode mode);
    void NotifyLocked();
    // Writes one unit through to the file or sends it; false when a write failed.
    bool Emit(std::span<const uint8_t> unit);
    void Run();
    void WriteFailedLocked();

    CDecoderFeed& feed_;
    IDatagramSink& sink_;
    CPostBox& posts_;
    const std::optional<uint32_t> playbackAddress_;
    const uint16_t playbackPort_;

    std::mutex mutex_;  // the state below; taken before writeMutex_
    uint32_t method_ = 0;
    Session session_ = Session::None;
    RecordFormat format_ = RecordFormat::None;
    std::string path_;
    RecordMode mode_ = RecordMode::Stopped;
    uint64_t lengthMs_ = 0;
    uint32_t fileKbit_ = 0;
    std::unique_ptr<CPlayback> playback_;
    struct Registration {
        uint32_t window = 0;
        uint32_t message = 0;
    };
    std::map<uint32_t, Registration> registrations_;
    std::chrono::steady_clock::time_point recordStart_, rateStart_;
    uint64_t rateBytes_ = 0;
    uint32_t measuredKbit_ = 0;

    // The recording's path from the live stream to the file or the socket.
    std::mutex writeMutex_;
    std::unique_ptr<CRecordWriter> writer_;
    int fd_ = -1;
    bool toNetwork_ = false;
    std::atomic<bool> writing_{false};
    std::atomic<uint64_t> written_{0};
    std::atomic<bool> failed_{false};
    int writeError_ = 0;

    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace nvdvbsrv
