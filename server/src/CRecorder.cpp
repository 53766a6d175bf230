#include "CRecorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "CPlaybackInputs.h"
#include "ResultCodes.h"
#include "kestrel/protocol/RecorderDatagram.h"

namespace nvdvbsrv {

namespace recorder = kestrel::protocol::recorder;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kTick = std::chrono::milliseconds(50);

uint32_t Millis(Clock::duration d) {
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

}  // namespace

CRecorder::CRecorder(CDecoderFeed& feed, IDatagramSink& sink, CPostBox& posts,
                     std::optional<uint32_t> playbackAddress, uint16_t playbackPort)
    : feed_(feed),
      sink_(sink),
      posts_(posts),
      playbackAddress_(playbackAddress),
      playbackPort_(playbackPort),
      thread_([this] { Run(); }) {}

CRecorder::~CRecorder() {
    {
        Lock lock(mutex_);
        stop_ = true;
        EndSessionLocked();
    }
    wake_.notify_all();
    thread_.join();
}

std::optional<RecordingLength> CRecorder::Scan(const std::string& path, RecordFormat format) {
    CFileInput input(path);
    if (!input.Open()) return std::nullopt;
    CPlaybackParser parser(format);
    CMediaTimeline video, audio;
    video.Restart(0);
    audio.Restart(0);
    bool videoStamps = false, audioStamps = false;
    RecordingLength found;
    found.bytes = input.Size();
    const auto take = [&](PlaybackUnit&& u) {
        ++found.units;
        if (!u.unit.pts) return;
        (u.video ? video : audio).Map(*u.unit.pts);
        (u.video ? videoStamps : audioStamps) = true;
    };
    std::vector<uint8_t> bytes;
    uint64_t scanned = 0;
    while (scanned < kScanLimit && input.Read(bytes, kTick) == IPlaybackInput::Status::Data) {
        scanned += bytes.size();
        parser.Feed(bytes, take);
    }
    parser.Finish(take);
    if (found.units == 0) return std::nullopt;
    found.lengthMs = videoStamps ? video.SpanMs() : audioStamps ? audio.SpanMs() : 0;
    if (scanned > 0 && scanned < found.bytes)
        found.lengthMs = found.lengthMs * found.bytes / scanned;
    return found;
}

void CRecorder::FeedPacket(std::span<const uint8_t> packet) {
    if (!writing_.load(std::memory_order_relaxed)) return;
    std::lock_guard lock(writeMutex_);
    if (writer_ && writing_) writer_->Packet(packet);
}

void CRecorder::ResetAssemblers() {
    std::lock_guard lock(writeMutex_);
    if (writer_) writer_->Jump();
}

bool CRecorder::Emit(std::span<const uint8_t> unit) {
    if (!writing_) return false;
    written_ += unit.size();
    if (toNetwork_) {
        for (std::size_t at = 0; at < unit.size(); at += recorder::kDatagramBytes)
            sink_.Send(recorder::kRecordPortOffset,
                       unit.subspan(at, std::min(recorder::kDatagramBytes, unit.size() - at)));
        return true;
    }
    while (!unit.empty()) {
        const ssize_t n = write(fd_, unit.data(), unit.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            writeError_ = n < 0 ? errno : ENOSPC;
            writing_ = false;
            failed_ = true;  // the recorder's thread ends the recording
            return false;
        }
        unit = unit.subspan(std::size_t(n));
    }
    return true;
}

void CRecorder::StartWriterLocked(uint16_t videoPid, uint16_t audioPid, bool toNetwork) {
    std::lock_guard lock(writeMutex_);
    toNetwork_ = toNetwork;
    writer_ = std::make_unique<CRecordWriter>(format_, videoPid, audioPid,
                                              [this](std::span<const uint8_t> u) { Emit(u); });
    recordStart_ = rateStart_ = Clock::now();
    rateBytes_ = written_ = 0;
    measuredKbit_ = 0;
    failed_ = false;
    writing_ = true;
}

void CRecorder::StopWriterLocked() {
    std::lock_guard lock(writeMutex_);
    if (writer_ && writing_) writer_->Finish();
    writing_ = false;
    writer_.reset();
}

void CRecorder::EndSessionLocked() {
    StopWriterLocked();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    playback_.reset();
    session_ = Session::None;
    format_ = RecordFormat::None;
    lengthMs_ = 0;
    fileKbit_ = 0;
    path_.clear();
    if (mode_ != RecordMode::Stopped) SetModeLocked(RecordMode::Stopped);
}

void CRecorder::SetModeLocked(RecordMode mode) {
    mode_ = mode;
    // The live stream reaches the decoders unless a playback runs.
    feed_.SetLive(mode == RecordMode::Stopped || mode == RecordMode::Recording);
    NotifyLocked();
}

void CRecorder::NotifyLocked() {
    for (const auto& [client, r] : registrations_)
        posts_.Post(PostedMessage{client, r.window, r.message, uint32_t(mode_), 0});
}

uint32_t CRecorder::Open(const std::string& path, uint32_t format, bool forPlayback) {
    if (!CardFormat(format))
        return format == uint32_t(RecordFormat::Pcm) ? result::kNotSupported : result::kInvalid;
    Lock lock(mutex_);
    if (method_ != 0) return result::kFailed;
    EndSessionLocked();
    const RecordFormat f = RecordFormat(format);
    if (forPlayback) {
        const auto found = Scan(path, f);
        if (!found) return result::kFileError;
        auto input = std::make_unique<CFileInput>(path);
        if (!input->Open()) return result::kFileError;
        playback_ = std::make_unique<CPlayback>(std::move(input), f, feed_, found->lengthMs);
        lengthMs_ = found->lengthMs;
        fileKbit_ = found->lengthMs ? uint32_t(found->bytes * 8 / found->lengthMs) : 0;
        session_ = Session::FilePlay;
    } else {
        fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd_ < 0) return result::kFileError;
        session_ = Session::FileRecord;
    }
    format_ = f;
    path_ = path;
    NotifyLocked();
    return result::kOk;
}

uint32_t CRecorder::Close() {
    Lock lock(mutex_);
    if (session_ == Session::NetRecord || session_ == Session::NetPlay) return result::kFailed;
    EndSessionLocked();
    NotifyLocked();
    return result::kOk;
}

uint32_t CRecorder::Record(uint16_t videoPid, uint16_t audioPid) {
    Lock lock(mutex_);
    if (session_ != Session::FileRecord) return result::kFailed;
    if (mode_ == RecordMode::Recording) return result::kOk;
    StartWriterLocked(videoPid, audioPid, false);
    SetModeLocked(RecordMode::Recording);
    return result::kOk;
}

uint32_t CRecorder::Stop() {
    Lock lock(mutex_);
    if (Recording(session_)) StopWriterLocked();
    if (Playing(session_)) playback_->Stop();
    SetModeLocked(RecordMode::Stopped);
    return result::kOk;
}

uint32_t CRecorder::PlayLocked(CPlayback::Pace pace, double factor, RecordMode mode,
                               std::optional<uint64_t> fromMs) {
    if (!Playing(session_)) return result::kFailed;
    // From a stop, and where the recording ended, it starts at the beginning.
    if (mode_ == RecordMode::Stopped && !fromMs) fromMs = 0;
    playback_->Play(pace, factor, fromMs);
    SetModeLocked(mode);
    return result::kOk;
}

uint32_t CRecorder::Playback(uint32_t startMs) {
    Lock lock(mutex_);
    if (session_ != Session::FilePlay) return result::kFailed;
    // Play after a pause or a winding goes on where the picture is; a start
    // position or a stopped recorder starts there.
    const bool resume =
        mode_ != RecordMode::Stopped && mode_ != RecordMode::Playing && startMs == 0;
    return PlayLocked(CPlayback::Pace::Normal, 1.0, RecordMode::Playing,
                      resume ? std::nullopt : std::optional<uint64_t>(startMs));
}

uint32_t CRecorder::Pause() {
    Lock lock(mutex_);
    if (!Playing(session_)) return result::kFailed;
    playback_->Pause();
    SetModeLocked(RecordMode::Paused);
    return result::kOk;
}

uint32_t CRecorder::Wind(bool forward) {
    Lock lock(mutex_);
    if (session_ != Session::FilePlay) return result::kFailed;
    return forward ? PlayLocked(CPlayback::Pace::Forward, 1.0, RecordMode::Forward, std::nullopt)
                   : PlayLocked(CPlayback::Pace::Backward, 1.0, RecordMode::Backward, std::nullopt);
}

uint32_t CRecorder::Slow(uint32_t divisor) {
    Lock lock(mutex_);
    return PlayLocked(CPlayback::Pace::Slow, std::clamp<uint32_t>(divisor, 2, 8), RecordMode::Slow,
                      std::nullopt);
}

uint32_t CRecorder::Fast(uint32_t step) {
    Lock lock(mutex_);
    return PlayLocked(CPlayback::Pace::Fast, std::clamp<uint32_t>(step + 1, 2, 8), RecordMode::Fast,
                      std::nullopt);
}

RecorderStatus CRecorder::Status() {
    Lock lock(mutex_);
    RecorderStatus s;
    s.mode = uint32_t(mode_);
    s.format = uint32_t(format_);
    if (Recording(session_) && mode_ == RecordMode::Recording) {
        s.positionMs = s.lengthMs = Millis(Clock::now() - recordStart_);
        s.kbit = measuredKbit_;
    } else if (Playing(session_)) {
        s.lengthMs = uint32_t(lengthMs_);
        s.kbit = fileKbit_;
        s.positionMs = uint32_t(playback_->PositionMs());
    }
    return s;
}

void CRecorder::SetStatusMessage(uint32_t client, uint32_t window, uint32_t message, bool enable) {
    Lock lock(mutex_);
    if (enable)
        registrations_[client] = Registration{window, message};
    else
        registrations_.erase(client);
}

void CRecorder::RemoveClient(uint32_t client) {
    Lock lock(mutex_);
    registrations_.erase(client);
}

uint32_t CRecorder::SetMethod(uint32_t method) {
    if (method > 1) return result::kBadRequest;
    Lock lock(mutex_);
    if (method == method_) return result::kOk;
    // What runs in the other method ends with the switch.
    EndSessionLocked();
    method_ = method;
    return result::kOk;
}

uint32_t CRecorder::NetRecord(uint32_t format, uint16_t videoPid, uint16_t audioPid) {
    if (!CardFormat(format))
        return format == uint32_t(RecordFormat::Pcm) ? result::kNotSupported : result::kInvalid;
    Lock lock(mutex_);
    if (method_ != 1) return result::kFailed;
    EndSessionLocked();
    session_ = Session::NetRecord;
    format_ = RecordFormat(format);
    StartWriterLocked(videoPid, audioPid, true);
    SetModeLocked(RecordMode::Recording);
    return result::kOk;
}

uint32_t CRecorder::NetPlayback(uint32_t format) {
    if (!CardFormat(format))
        return format == uint32_t(RecordFormat::Pcm) ? result::kNotSupported : result::kInvalid;
    Lock lock(mutex_);
    if (method_ != 1 || !playbackAddress_) return result::kFailed;
    if (session_ == Session::NetPlay && format_ == RecordFormat(format)) {
        // Play after a pause or another speed: on at the normal pace.
        return PlayLocked(CPlayback::Pace::Normal, 1.0, RecordMode::Playing, std::nullopt);
    }
    EndSessionLocked();
    auto input = std::make_unique<CDatagramInput>(*playbackAddress_, playbackPort_);
    if (!input->Open()) {
        std::cerr << "nvdvbsrv: Wiedergabe-Datagramme werden nicht empfangen: " << input->Error()
                  << "\n";
        return result::kFailed;
    }
    playback_ = std::make_unique<CPlayback>(std::move(input), RecordFormat(format), feed_, 0);
    session_ = Session::NetPlay;
    format_ = RecordFormat(format);
    playback_->Play(CPlayback::Pace::Normal, 1.0, 0);
    SetModeLocked(RecordMode::Playing);
    return result::kOk;
}

uint32_t CRecorder::NetStop() {
    Lock lock(mutex_);
    if (method_ != 1) return result::kFailed;
    EndSessionLocked();
    NotifyLocked();
    return result::kOk;
}

void CRecorder::WriteFailedLocked() {
    std::cerr << "nvdvbsrv: Aufnahme abgebrochen, die Datei " << path_
              << " kann nicht weiter geschrieben werden: " << std::strerror(writeError_) << "\n";
    EndSessionLocked();
}

void CRecorder::Run() {
    Lock lock(mutex_);
    auto lastStatus = Clock::now();
    while (!wake_.wait_for(lock, kTick, [this] { return stop_; })) {
        if (failed_.exchange(false) && session_ == Session::FileRecord) {
            WriteFailedLocked();
            continue;
        }
        if (Playing(session_) && playback_->Ended() && mode_ != RecordMode::Stopped &&
            mode_ != RecordMode::Paused) {
            SetModeLocked(RecordMode::Stopped);
            continue;
        }
        const auto now = Clock::now();
        if (now - lastStatus < kStatusPeriod) continue;
        lastStatus = now;
        if (mode_ == RecordMode::Stopped || mode_ == RecordMode::Paused) continue;
        if (mode_ == RecordMode::Recording) {
            const uint64_t bytes = written_.load();
            const uint32_t ms = std::max<uint32_t>(1, Millis(now - rateStart_));
            const uint32_t kbit = uint32_t((bytes - rateBytes_) * 8 / ms);
            measuredKbit_ = measuredKbit_ ? (kbit + measuredKbit_ + 1) / 2 : kbit;
            rateBytes_ = bytes;
            rateStart_ = now;
        }
        NotifyLocked();
    }
}

}  // namespace nvdvbsrv
