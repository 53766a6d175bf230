#include "recording/CWSFileStreamer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "kestrel/protocol/RecorderDatagram.h"
#include "receiver/IDeviceSet.h"
#include "recording/CPlaybackPacer.h"
#include "recording/StreamFileScan.h"

namespace {

namespace datagram = kestrel::protocol::recorder;
using std::chrono::milliseconds;

constexpr int kStopped = int(RecordMode::Stopped);
constexpr int kRecording = int(RecordMode::Recording);
constexpr int kPlaying = int(RecordMode::Playing);
constexpr int kPaused = int(RecordMode::Paused);
constexpr int kSlow = int(RecordMode::Slow);
constexpr int kFast = int(RecordMode::Fast);
constexpr milliseconds kSlice{10};

std::optional<StreamKind> KindOf(int format) {
    switch (RecordFormat(format)) {
        case RecordFormat::AudioPes:
        case RecordFormat::VideoPes:
        case RecordFormat::AudioVideoPes:
            return StreamKind::PvaPackets;
        case RecordFormat::AudioMp2:
            return StreamKind::MpegAudio;
        case RecordFormat::AudioPcm:
            return StreamKind::Pcm;
        case RecordFormat::TransportStream:
            return StreamKind::TransportStream;
        case RecordFormat::None:
            break;
    }
    return std::nullopt;
}

// Only MPEG audio and the PVA forms of video have a length that a scan finds.
std::optional<StreamFileInfo> Scan(int format, StreamKind kind, ByteSource& file) {
    const auto f = RecordFormat(format);
    if (f == RecordFormat::AudioMp2 || f == RecordFormat::VideoPes ||
        f == RecordFormat::AudioVideoPes)
        return ScanStreamFile(kind, file);
    return StreamFileInfo{file.Size(), 0, 0};
}

PlaySpeed SpeedOf(int mode) {
    return mode == kSlow ? PlaySpeed::Half : mode == kFast ? PlaySpeed::Double : PlaySpeed::Normal;
}

std::uint32_t Ms(CWSFileStreamer::Clock::duration d) {
    return std::uint32_t(std::chrono::duration_cast<milliseconds>(d).count());
}

}  // namespace

std::uint32_t SmoothedRateKbit(std::uint64_t bytes, std::uint64_t elapsedMs,
                               std::uint32_t previousKbit) {
    const std::uint64_t rate = elapsedMs ? bytes * 8 / elapsedMs : 0;
    return std::uint32_t((rate + previousKbit + 1) / 2);
}

CWSFileStreamer::CWSFileStreamer(IDeviceSet& devices) : devices_(devices) {}

CWSFileStreamer::~CWSFileStreamer() {
    if (!fileOpen_) return;
    Stop();
    if (Close() == 1 || !fileOpen_) return;
    // The card refused the stop: the engine goes all the same.
    StopThread();
    CloseFileAndSocket();
    devices_.WS_RecPlayMethod(0);
}

// Operations (GUI thread).

int CWSFileStreamer::Open(const std::string& path, int format, int forPlayback) {
    SettleEnd();
    // A second open would take the card out of the network method under the first.
    if (fileOpen_) return 0;
    const bool ok = devices_.WS_RecPlayMethod(1).Ok() &&
                    (forPlayback ? OpenPlayback(path, format) : OpenRecording(path));
    if (!ok) {
        CloseFileAndSocket();
        format_ = 0;
        devices_.WS_RecPlayMethod(0);
        return 0;
    }
    isPlayback_ = forPlayback != 0;
    format_ = format;
    mode_ = kStopped;
    positionMs_ = 0;
    rateKbit_ = 0;
    fileOpen_ = true;
    StartThread();
    Post();
    return 1;
}

bool CWSFileStreamer::OpenRecording(const std::string& path) {
    // The socket first, so that a failing open leaves an existing file as it was.
    if (!socket_.Open(devices_, datagram::kRecordPortOffset)) return false;
    recordFd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    fileLength_ = durationMs_ = sampleRate_ = 0;
    return recordFd_ >= 0;
}

bool CWSFileStreamer::OpenPlayback(const std::string& path, int format) {
    const auto kind = KindOf(format);
    if (!kind || !socket_.Open(devices_, datagram::kPlaybackPortOffset)) return false;
    source_ = std::make_unique<FileSource>(path);
    if (!source_->IsOpen()) return false;
    const auto info = Scan(format, *kind, *source_);
    if (!info) return false;
    kind_ = *kind;
    fileLength_ = info->fileLength;
    durationMs_ = info->durationMs;
    sampleRate_ = info->sampleRate;
    return true;
}

void CWSFileStreamer::CloseFileAndSocket() {
    socket_.Close();
    source_.reset();
    if (recordFd_ >= 0) ::close(recordFd_);
    recordFd_ = -1;
}

int CWSFileStreamer::Record() {
    return Change([&] { return fileOpen_ && !isPlayback_ && mode_ != kRecording; },
                  [&] { return devices_.WS_Record(format_); }, kRecording);
}

int CWSFileStreamer::Playback(std::uint32_t startMs) {
    return Change([&] { return PlaybackOpen() && mode_ != kPlaying; },
                  [&] {
                      const CardResult r =
                          devices_.WS_Playback(format_, std::uint16_t(sampleRate_));
                      if (r.Ok()) {
                          // Before the mode, so that the worker sees them with it.
                          seekRequestMs_ = startMs;
                          positionMs_ = startMs;
                      }
                      return r;
                  },
                  kPlaying);
}

int CWSFileStreamer::Pause() {
    return Change([&] { return PlaybackOpen(); }, [&] { return devices_.WS_Pause(); }, kPaused);
}

int CWSFileStreamer::SlowPlayback(std::uint8_t speed) {
    return Change([&] { return PlaybackOpen() && mode_ != kSlow; },
                  [&] { return devices_.WS_PlaySlow(speed); }, kSlow);
}

int CWSFileStreamer::FastPlayback(int speed) {
    return Change([&] { return PlaybackOpen() && mode_ != kFast; },
                  [&] { return devices_.WS_PlayFast(speed); }, kFast);
}

int CWSFileStreamer::Stop() {
    endPending_ = false;  // the stop tells the card anyway
    {
        std::lock_guard lock(modeMutex_);
        if (!devices_.WS_Stop().Ok()) return 0;
        ++stops_;
        mode_ = kStopped;
    }
    Post();
    return 1;
}

int CWSFileStreamer::Close() {
    SettleEnd();
    if (mode_ != kStopped) return 0;
    // The worker ends before the socket and the file it uses are closed.
    StopThread();
    CloseFileAndSocket();
    fileOpen_ = false;
    fileLength_ = durationMs_ = sampleRate_ = 0;
    rateKbit_ = positionMs_ = 0;
    format_ = 0;
    return devices_.WS_RecPlayMethod(0).Ok() ? 1 : 0;
}

int CWSFileStreamer::GetStatus(RecPlayStatus& status) {
    SettleEnd();
    status.lengthMs = durationMs_;
    status.kbits = rateKbit_;
    status.positionMs = positionMs_;
    status.mode = mode_;
    status.format = format_;
    return 1;
}

int CWSFileStreamer::SetStatusChangedMessage(std::function<void()> notify, unsigned int message,
                                             int enable) {
    std::lock_guard lock(notifyMutex_);
    notify_ = std::move(notify);
    message_ = message;
    notifyEnabled_ = enable != 0;
    return 1;
}

int CWSFileStreamer::Change(const std::function<bool()>& precondition,
                            const std::function<CardResult()>& call, int mode) {
    SettleEnd();
    {
        std::lock_guard lock(modeMutex_);
        if (!precondition() || !call().Ok()) return 0;
        mode_ = mode;
    }
    Post();
    return 1;
}

void CWSFileStreamer::SettleEnd() {
    if (endPending_.exchange(false)) devices_.WS_Stop();
}

void CWSFileStreamer::Post() {
    std::lock_guard lock(notifyMutex_);
    if (notifyEnabled_ && notify_) notify_();
}

// The worker.

void CWSFileStreamer::StartThread() {
    StopThread();
    offset_ = 0;
    seenStops_ = stops_;
    pacer_ = std::make_unique<CPlaybackPacer>(kind_);
    runFlag_ = kRunning;
    worker_ = std::thread(&CWSFileStreamer::Run, this);
}

// Every wait of the worker is short (kIdleSleep at most), so that it ends well
// within the grace; it is joined in any case, as a thread cannot be killed
// safely.
void CWSFileStreamer::StopThread() {
    if (!worker_.joinable()) return;
    runFlag_ = kIdle;
    const auto deadline = Clock::now() + kStopGrace;
    while (runFlag_ != kEnded && Clock::now() < deadline) std::this_thread::sleep_for(kSlice / 10);
    worker_.join();
    runFlag_ = kIdle;
}

void CWSFileStreamer::Run() {
    Idle();  // also when an operation came before the thread's first step
    while (runFlag_ == kRunning) {
        if (mode_ == kStopped || stops_ != seenStops_)
            Idle();
        else if (isPlayback_)
            PlayStep();
        else
            RecordStep();
    }
    runFlag_ = kEnded;
}

// Stopped: back to the start of the file until the mode changes. A new
// recording replaces the old one instead of writing over its beginning only.
void CWSFileStreamer::Idle() {
    seenStops_ = stops_;
    offset_ = 0;
    pending_.reset();
    if (recordFd_ >= 0) ::lseek(recordFd_, 0, SEEK_SET);
    while (mode_ == kStopped && runFlag_ == kRunning && stops_ == seenStops_)
        std::this_thread::sleep_for(kIdleSleep);
    if (runFlag_ != kRunning || mode_ == kStopped) return;
    start_ = windowStart_ = Clock::now();
    windowBytes_ = 0;
    rateKbit_ = 0;
    if (!isPlayback_) {
        positionMs_ = 0;
        if (recordFd_ >= 0 && ::ftruncate(recordFd_, 0) != 0) return;
    }
    pacer_->Restart();
    held_ = false;
}

void CWSFileStreamer::RecordStep() {
    const std::size_t n = socket_.Receive(buffer_, kSocketWait);
    for (std::size_t written = 0; written < n;) {
        const ssize_t w = ::write(recordFd_, buffer_.data() + written, n - written);
        if (w <= 0) break;  // a full disk loses the datagram, not the recording
        written += std::size_t(w);
    }
    CountBytes(n);
}

void CWSFileStreamer::PlayStep() {
    const int mode = mode_;
    if (mode == kPaused) {
        // Nothing goes while paused; afterwards the count starts anew.
        held_ = true;
        pending_.reset();
        WaitUntil(Clock::now() + kIdleSleep, mode);
        CountBytes(0);
        return;
    }
    const PlaySpeed speed = SpeedOf(mode);
    if (held_ || speed != pendingSpeed_) {
        held_ = false;
        pending_.reset();
        pacer_->Restart();
    }
    pacer_->SetSpeed(speed);
    if (const std::uint32_t seek = seekRequestMs_.exchange(0)) {
        pending_.reset();
        pacer_->Restart();
        if (!Seek(seek)) return EndPlayback();
    }
    positionMs_ =
        fileLength_ ? std::uint32_t(std::uint64_t(durationMs_) * offset_ / fileLength_) : 0;
    if (!pending_) {
        pending_ = ReadStreamChunk(kind_, *source_, offset_, speed);
        if (pending_->bytes.empty()) return EndPlayback();
        pendingSpeed_ = speed;
        due_ = pacer_->Due(*pending_, Clock::now());
    }
    if (!WaitUntil(due_, mode)) return;
    SendChunk(*pending_);
    offset_ = pending_->next;
    CountBytes(pending_->bytes.size());
    pending_.reset();
}

// The target lies where the position is in proportion to the length; a file
// of unknown length plays from where it is.
bool CWSFileStreamer::Seek(std::uint32_t ms) {
    if (durationMs_ == 0) return true;
    const std::uint64_t target = std::uint64_t(ms) * fileLength_ / durationMs_;
    if (target >= fileLength_) {
        positionMs_ = durationMs_;
        return false;
    }
    const auto resumed = Resynchronise(kind_, *source_, target);
    if (!resumed) return false;
    offset_ = *resumed;
    return true;
}

void CWSFileStreamer::EndPlayback() {
    const int mode = mode_;
    if (!WaitUntil(Clock::now() + kEndWait, mode)) return;
    {
        std::lock_guard lock(modeMutex_);
        if (mode_ != mode) return;
        mode_ = kStopped;
        endPending_ = true;
    }
    Post();
}

void CWSFileStreamer::SendChunk(const StreamChunk& chunk) {
    // A unit larger than a datagram goes in pieces, each with its own prefix.
    for (std::size_t sent = 0; sent < chunk.bytes.size();) {
        const std::size_t n = std::min(datagram::kMaxPayload, chunk.bytes.size() - sent);
        datagram::WritePrefix(buffer_.data(), n);
        std::copy_n(chunk.bytes.begin() + std::ptrdiff_t(sent), n,
                    buffer_.begin() + datagram::kPrefixBytes);
        const std::span<const std::uint8_t> out(buffer_.data(), datagram::kPrefixBytes + n);
        while (!socket_.Send(out, kSocketWait))
            if (runFlag_ != kRunning || mode_ == kStopped) return;
        sent += n;
    }
}

bool CWSFileStreamer::WaitUntil(Clock::time_point until, int mode) {
    for (;;) {
        if (runFlag_ != kRunning || mode_ != mode || seekRequestMs_ != 0 || stops_ != seenStops_)
            return false;
        const auto now = Clock::now();
        if (now >= until) return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(until - now, kSlice));
    }
}

void CWSFileStreamer::CountBytes(std::size_t n) {
    windowBytes_ += n;
    const auto now = Clock::now();
    if (now - windowStart_ < kRateWindow) return;
    rateKbit_ = SmoothedRateKbit(windowBytes_, Ms(now - windowStart_), rateKbit_);
    if (!isPlayback_) positionMs_ = Ms(now - start_);
    windowBytes_ = 0;
    windowStart_ = now;
    Post();
}
