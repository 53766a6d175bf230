#include "receiver/CKestrelDeviceSet.h"

#include <cstring>
#include <vector>

#include "kestrel/CChannels.h"
#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/PsiTree.h"

namespace {

CardResult ResultOf(ErrReturn r) { return {static_cast<int>(r)}; }

CHANNEL_TYPE ToCard(const ChannelRecord& c) {
    CHANNEL_TYPE channel;
    channel.Frequency = c.frequency;
    channel.LOF = c.lof;
    channel.SymbolRate = c.symbolRate;
    channel.Polarisation = c.polarisation;
    channel.Mode = c.mode;
    channel.LNBVoltage = c.lnbVoltage;
    channel.Tone22kHz = c.tone22kHz;
    channel.Reserved = c.reserved;
    return channel;
}

ChannelRecord FromCard(const CHANNEL_TYPE& c) {
    return {c.Frequency, c.LOF,        c.SymbolRate, c.Polarisation,
            c.Mode,      c.LNBVoltage, c.Tone22kHz,  c.Reserved};
}

SignalRecord FromCard(const SIGNAL_TYPE& s) {
    SignalRecord signal;
    signal.afc = s.Level();
    signal.berMantissa = s.BerMantissa();
    signal.berExponent = s.BerExponent();
    signal.strengthTenths = s.Tenths();
    signal.quality = static_cast<std::uint16_t>(s.Value16());
    return signal;
}

}  // namespace

CKestrelDeviceSet::~CKestrelDeviceSet() {
    CloseReceivers();
    // The posted-message handler points at this object.
    if (recorderMessage_) kestrel::CServerConnection::Instance().SetPostedMessageHandler(nullptr);
}

void CKestrelDeviceSet::CloseReceivers() {
    for (auto* socket : {&eventSocket_, &scheduleSocket_, &spareSocket_, &remoteKeySocket_})
        socket->Close();
    nitFilter_.CloseFilter();
    if (psi_) psi_->AbortDecoding();
    commonInterface_.Close();
}

bool CKestrelDeviceSet::CCallbackSocket::Open(int portOffset, DatagramCallback callback) {
    Close();
    callback_ = std::move(callback);
    int error = 0;
    if (SOpen(portOffset, &error)) return true;
    callback_ = nullptr;
    return false;
}

void CKestrelDeviceSet::CCallbackSocket::Close() {
    SClose();
    callback_ = nullptr;
}

void CKestrelDeviceSet::CCallbackSocket::OnDataArrival(std::uint8_t* data, int length) {
    if (!callback_) return;
    // A copy: the callback may close this receiver and so drop its own function.
    const DatagramCallback callback = callback_;
    callback(std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
}

CPIDFilter& CKestrelDeviceSet::Filter(FilterRole filter) {
    switch (filter) {
        case FilterRole::Event:
            return eventFilter_;
        case FilterRole::Schedule:
            return scheduleFilter_;
        case FilterRole::Spare:
            break;
    }
    return spareFilter_;
}

CKestrelDeviceSet::CCallbackSocket& CKestrelDeviceSet::Socket(FilterRole filter) {
    switch (filter) {
        case FilterRole::Event:
            return eventSocket_;
        case FilterRole::Schedule:
            return scheduleSocket_;
        case FilterRole::Spare:
            break;
    }
    return spareSocket_;
}

CardResult CKestrelDeviceSet::InitPCI() { return ResultOf(board_.InitPCI()); }
CardResult CKestrelDeviceSet::BootARM(const std::string& folder) {
    return ResultOf(board_.BootARM(folder.c_str()));
}
CardResult CKestrelDeviceSet::GetStatistics(std::span<std::uint32_t> counters) {
    return ResultOf(
        board_.GetStatistics(counters.data(), static_cast<std::uint8_t>(counters.size())));
}
CardResult CKestrelDeviceSet::GetFrontendType(int& type) {
    FrontendChipType chip{};
    const ErrReturn r = board_.GetFrontendType(chip);
    if (r == CCommonDVB::RET_OK) type = static_cast<int>(chip);
    return ResultOf(r);
}
CardResult CKestrelDeviceSet::GetBoardMfg(std::string& manufacturer, std::string& boardType) {
    return ResultOf(board_.GetBoardMfg(manufacturer, boardType));
}
CardResult CKestrelDeviceSet::GetBEVersion(FirmwareVersion& version) {
    BE_VERSION v;
    const ErrReturn r = board_.GetBEVersion(v);
    if (r != CCommonDVB::RET_OK) return ResultOf(r);
    version.firmware = v.Firmware;
    version.runtime = v.Runtime;
    version.videoDecoder = v.VideoDecoder;
    version.date.assign(v.Date, ::strnlen(v.Date, sizeof v.Date));
    version.time.assign(v.Time, ::strnlen(v.Time, sizeof v.Time));
    return ResultOf(r);
}
CardResult CKestrelDeviceSet::GetIP(std::string& address, std::string& mask, int& check) {
    return ResultOf(board_.GetIP(address, mask, check));
}
CardResult CKestrelDeviceSet::GetMAC(std::string& address, int& check) {
    return ResultOf(board_.GetMAC(address, check));
}

CardResult CKestrelDeviceSet::FrontendInit() { return ResultOf(frontend_.Init()); }
CardResult CKestrelDeviceSet::SendDiSEqCMsg(std::span<const std::uint8_t> message,
                                            std::uint8_t burst) {
    return ResultOf(frontend_.SendDiSEqCMsg(message.empty() ? nullptr : message.data(),
                                            static_cast<std::uint32_t>(message.size()), burst, 0));
}
FrontendReading<ChannelRecord> CKestrelDeviceSet::zSetChannel(const ChannelRecord& channel) {
    FrontendReading<ChannelRecord> reading;
    reading.result = ResultOf(frontend_.zSetChannel(reading.status, ToCard(channel)));
    reading.record = channel;
    return reading;
}
FrontendReading<ChannelRecord> CKestrelDeviceSet::zGetChannel() {
    FrontendReading<ChannelRecord> reading;
    CHANNEL_TYPE channel;
    reading.result = ResultOf(frontend_.zGetChannel(reading.status, channel));
    reading.record = FromCard(channel);
    return reading;
}
FrontendReading<SignalRecord> CKestrelDeviceSet::zGetSignal(std::uint16_t value) {
    FrontendReading<SignalRecord> reading;
    SIGNAL_TYPE signal;
    reading.result = ResultOf(frontend_.zGetSignal(reading.status, signal, value));
    reading.record = FromCard(signal);
    return reading;
}

CardResult CKestrelDeviceSet::SetVideoPID(std::uint16_t pid) {
    return ResultOf(decoder_.SetVideoPID(pid));
}
CardResult CKestrelDeviceSet::SetAudioPID(std::uint16_t pid) {
    return ResultOf(decoder_.SetAudioPID(pid));
}
CardResult CKestrelDeviceSet::GetVideoPID(std::uint16_t& pid) {
    return ResultOf(decoder_.GetVideoPID(pid));
}
CardResult CKestrelDeviceSet::GetAudioPid(std::uint16_t& pid) {
    return ResultOf(decoder_.GetAudioPid(pid));
}
CardResult CKestrelDeviceSet::GetAudioBufferStatus(std::uint8_t& fill) {
    return ResultOf(decoder_.GetAudioBufferStatus(fill));
}
DecoderState CKestrelDeviceSet::GetDecoderStatus() {
    DecoderState state;
    VIDEOSTATE video;
    state.result = ResultOf(decoder_.GetDecoderStatus(&video));
    if (!state.result.Ok()) return state;
    state.width = video.Width();
    state.height = video.Height();
    state.format = video.Format();
    state.frameRate = video.FrameRate();
    state.bitRate = video.BitRate();
    state.skippedPictures = video.SkippedPictures();
    state.repeatedPictures = video.RepeatedPictures();
    return state;
}
CardResult CKestrelDeviceSet::SetVolume(std::uint8_t left, std::uint8_t right) {
    return ResultOf(decoder_.SetVolume(left, right));
}
CardResult CKestrelDeviceSet::SetAudioMute(bool mute) {
    return ResultOf(decoder_.SetAudioMute(mute ? 1 : 0));
}
CardResult CKestrelDeviceSet::SetAudioChannel(int channel) {
    return ResultOf(decoder_.SetAudioChannel(static_cast<AB_CHANNELS>(channel)));
}
CardResult CKestrelDeviceSet::SetPictureParameters(const PictureSettings& p) {
    return ResultOf(decoder_.SetPictureParameters(p.brightness, p.contrast, p.saturation));
}
CardResult CKestrelDeviceSet::SetVideoOutputMode(int mode) {
    return ResultOf(decoder_.SetVideoOutputMode(static_cast<VIDEOOUTPUTMODE>(mode)));
}
CardResult CKestrelDeviceSet::SetVideoStandard(int standard) {
    return ResultOf(decoder_.SetVideoStandard(static_cast<VIDEOSTANDARD>(standard)));
}
CardResult CKestrelDeviceSet::SetAspectRatio(int ratio) {
    return ResultOf(decoder_.SetAspectRatio(static_cast<TYPE_MONITOR_AR>(ratio)));
}
CardResult CKestrelDeviceSet::SetVideoTestMode(int mode) {
    return ResultOf(decoder_.SetVideoTestMode(static_cast<VIDEOTESTMODE>(mode)));
}
CardResult CKestrelDeviceSet::LoopCDAudio(int loop) { return ResultOf(decoder_.LoopCDAudio(loop)); }
CardResult CKestrelDeviceSet::MspInit() { return ResultOf(soundChip_.Init()); }

CardResult CKestrelDeviceSet::CreateOSDWindow(std::uint8_t window, int type, std::uint16_t width,
                                              std::uint16_t height) {
    return ResultOf(overlay_.CreateOSDWindow(window, static_cast<DISPTYPE>(type), width, height));
}
CardResult CKestrelDeviceSet::DestroyOSDWindow(std::uint8_t window) {
    return ResultOf(overlay_.DestroyOSDWindow(window));
}
CardResult CKestrelDeviceSet::MoveWindowAbs(std::uint8_t window, std::uint16_t x, std::uint16_t y) {
    return ResultOf(overlay_.MoveWindowAbs(window, x, y));
}
CardResult CKestrelDeviceSet::SetColor(std::uint8_t window, int palette, std::uint16_t index,
                                       std::uint16_t a, std::uint16_t b) {
    return ResultOf(overlay_.SetColor(window, static_cast<OSDPALTYPE>(palette), index, a, b));
}
CardResult CKestrelDeviceSet::SetBlend(std::uint8_t window, int palette, std::uint16_t index,
                                       std::uint8_t blend) {
    return ResultOf(overlay_.SetBlend(window, static_cast<OSDPALTYPE>(palette), index, blend));
}
CardResult CKestrelDeviceSet::SetColorBlend(std::uint8_t window) {
    return ResultOf(overlay_.SetColorBlend(window));
}
CardResult CKestrelDeviceSet::BringToTop(std::uint8_t window) {
    return ResultOf(overlay_.BringToTop(window));
}
CardResult CKestrelDeviceSet::WriteText(std::uint8_t window, std::uint16_t x, std::uint16_t y,
                                        std::uint8_t count, const std::string& text) {
    // The card takes `count` bytes: the text, then an empty rest of the field.
    std::vector<char> field(count, '\0');
    text.copy(field.data(), count);
    return ResultOf(overlay_.WriteText(window, x, y, count, field.data()));
}
CardResult CKestrelDeviceSet::DrawBlock(std::uint8_t window, std::uint16_t x, std::uint16_t y,
                                        std::uint16_t width, std::uint16_t height,
                                        std::uint16_t colour) {
    return ResultOf(overlay_.DrawBlock(window, x, y, width, height, colour));
}

CardResult CKestrelDeviceSet::TTXOn(std::uint16_t pid) { return ResultOf(teletext_.TTXOn(pid)); }
CardResult CKestrelDeviceSet::TTXOff() { return ResultOf(teletext_.TTXOff()); }
CardResult CKestrelDeviceSet::SetRemoteControl(int type, std::uint16_t value) {
    return ResultOf(remoteControl_.SetRemoteControl(static_cast<IR_TYPE>(type), value));
}

CardResult CKestrelDeviceSet::SetBitFilter(FilterRole filter, std::uint16_t pid,
                                           std::span<const std::uint8_t> bytes,
                                           std::span<const std::uint8_t> mask, std::uint8_t type) {
    if (bytes.size() != mask.size()) return {CCommonDVB::RET_INVALID};
    return ResultOf(Filter(filter).SetBitFilter(pid, bytes.data(), mask.data(),
                                                static_cast<std::uint8_t>(bytes.size()), type));
}
CardResult CKestrelDeviceSet::ShutDownFilter(FilterRole filter) {
    return ResultOf(Filter(filter).ShutDownFilter());
}
bool CKestrelDeviceSet::OpenReceiver(FilterRole filter, DatagramCallback callback) {
    return Socket(filter).Open(Filter(filter).GetFilterHandle(), std::move(callback));
}
void CKestrelDeviceSet::CloseReceiver(FilterRole filter) { Socket(filter).Close(); }
bool CKestrelDeviceSet::OpenRemoteKeys(DatagramCallback callback) {
    return remoteKeySocket_.Open(remoteControl_.GetFilterHandle(), std::move(callback));
}
void CKestrelDeviceSet::CloseRemoteKeys() { remoteKeySocket_.Close(); }

CardResult CKestrelDeviceSet::RecOpen(const std::string& path, int format, int forPlayback) {
    return ResultOf(recorder_.Open(path, static_cast<TYPE_REC_PLAY_FORMAT>(format), forPlayback));
}
CardResult CKestrelDeviceSet::RecClose() { return ResultOf(recorder_.Close()); }
CardResult CKestrelDeviceSet::RecRecord() { return ResultOf(recorder_.Record()); }
CardResult CKestrelDeviceSet::RecStop() { return ResultOf(recorder_.Stop()); }
CardResult CKestrelDeviceSet::RecPlayback(std::uint32_t startMs) {
    return ResultOf(recorder_.Playback(startMs));
}
CardResult CKestrelDeviceSet::RecPause() { return ResultOf(recorder_.Pause()); }
CardResult CKestrelDeviceSet::RecForward() { return ResultOf(recorder_.Forward()); }
CardResult CKestrelDeviceSet::RecBackward() { return ResultOf(recorder_.Backward()); }
CardResult CKestrelDeviceSet::RecSlowPlayback(std::uint8_t speed) {
    return ResultOf(recorder_.SlowPlayback(speed));
}
CardResult CKestrelDeviceSet::RecFastPlayback(int speed) {
    return ResultOf(recorder_.FastPlayback(speed));
}
RecorderStatus CKestrelDeviceSet::RecGetStatus() {
    RecorderStatus status;
    REC_PLAY_MODE mode{};
    TYPE_REC_PLAY_FORMAT format{};
    status.result = ResultOf(
        recorder_.GetStatus(status.lengthMs, status.kbits, status.positionMs, mode, format));
    if (status.result.Ok()) {
        status.mode = static_cast<int>(mode);
        status.format = static_cast<int>(format);
    }
    return status;
}
CardResult CKestrelDeviceSet::RecSetStatusChangedMessage(std::function<void()> onChange,
                                                         unsigned int message, int enable) {
    const CardResult r =
        ResultOf(recorder_.SetStatusChangedMessage(kRecorderWindow, message, enable));
    if (!r.Ok()) return r;
    recorderMessage_ = message;
    recorderChanged_ = enable ? std::move(onChange) : nullptr;
    kestrel::CServerConnection::Instance().SetPostedMessageHandler(
        [this](std::uint32_t window, std::uint32_t posted, std::uint32_t, std::uint32_t) {
            if (window != kRecorderWindow || posted != recorderMessage_ || !recorderChanged_)
                return;
            auto callback = recorderChanged_;  // the callback may register anew
            callback();
        });
    return r;
}
CardResult CKestrelDeviceSet::WS_RecPlayMethod(int network) {
    return ResultOf(networkRecorder_.WS_RecPlayMethod(network));
}
CardResult CKestrelDeviceSet::WS_Record(int format) {
    return ResultOf(networkRecorder_.WS_Record(static_cast<TYPE_REC_PLAY_FORMAT>(format)));
}
CardResult CKestrelDeviceSet::WS_Stop() { return ResultOf(networkRecorder_.WS_Stop()); }
CardResult CKestrelDeviceSet::WS_Playback(int format, std::uint16_t samplingHz) {
    return ResultOf(
        networkRecorder_.WS_Playback(static_cast<TYPE_REC_PLAY_FORMAT>(format), samplingHz));
}
CardResult CKestrelDeviceSet::WS_Pause() { return ResultOf(networkRecorder_.WS_Pause()); }
CardResult CKestrelDeviceSet::WS_PlaySlow(std::uint8_t speed) {
    return ResultOf(networkRecorder_.WS_PlaySlow(speed));
}
CardResult CKestrelDeviceSet::WS_PlayFast(int speed) {
    return ResultOf(networkRecorder_.WS_PlayFast(speed));
}
bool CKestrelDeviceSet::GetIPandPort(std::string& address, std::string& port) {
    return CDVBWinSock::GetIPandPort(address, port);
}

// The modules' messages arrive at their own port and go to the listener.
CardResult CKestrelDeviceSet::CiInit() { return {commonInterface_.Init()}; }
CardResult CKestrelDeviceSet::CiClose() { return {commonInterface_.Close()}; }
CardResult CKestrelDeviceSet::SendTime() { return {commonInterface_.SendTime()}; }
CardResult CKestrelDeviceSet::ReadPSIFast(std::uint16_t serviceId) {
    return ResultOf(commonInterface_.ReadPSIFast(serviceId));
}

int CKestrelDeviceSet::StartPsiDecoding() {
    if (!psi_) psi_ = std::make_unique<CPsiDecoder>();
    return psi_->StartDecoding(kPsiRoot, kPsiSubkey, "SVL_Editor");
}
bool CKestrelDeviceSet::PsiDecodingComplete() {
    if (!psi_) return false;
    int pat = 0, pmts = 0, sdt = 0;
    std::uint32_t elapsedMs = 0;
    return psi_->GetProgress(pat, pmts, sdt, elapsedMs) == 1;
}
void CKestrelDeviceSet::AbortPsiDecoding() {
    if (psi_) psi_->AbortDecoding();
}
bool CKestrelDeviceSet::ReadPsiTree(kestrel::PsiTree& tree) {
    if (!psi_) return false;
    kestrel::CRegistry store;
    if (!store.Open(kestrel::CRegistry::DefaultPath(), false)) return false;
    return kestrel::ReadPsiTree(store, psi_->ResultPath(), tree);
}

bool CKestrelDeviceSet::StartNitReception() {
    constexpr std::uint16_t kNitPid = 0x10;
    constexpr std::uint8_t kNitActual = 0x40;
    constexpr int kSectionType = 4, kWholeTables = 0;
    nitFilter_.CloseFilter();
    nitSections_.clear();
    nitFilter_.SetCallback(&CKestrelDeviceSet::OnNitTable, reinterpret_cast<char*>(this), 0);
    int error = 0;
    return nitFilter_.OpenFilter(kNitPid, kNitActual, 0, 0, &error, kSectionType, kWholeTables) ==
           0;
}
// The whole table is in: its sections are kept and the filter closes.
void CKestrelDeviceSet::OnNitTable(char* self, std::uint32_t) {
    auto& set = *reinterpret_cast<CKestrelDeviceSet*>(self);
    CTableFilter& filter = set.nitFilter_;
    std::vector<std::vector<std::uint8_t>> sections;
    for (int i = 0; i <= filter.GetLastSection(); ++i) {
        const std::uint8_t* bytes = filter.GetBytePointer(i, 0);
        const int length = filter.GetPayLoadLength(i);
        // Only a section stored whole: its last byte must be there too.
        if (bytes && length > 0 && filter.GetBytePointer(i, std::uint32_t(length) + 2))
            sections.emplace_back(bytes, bytes + 3 + length);
    }
    filter.CloseFilter();
    set.nitSections_ = std::move(sections);
}
std::vector<std::vector<std::uint8_t>> CKestrelDeviceSet::NitSections() { return nitSections_; }
void CKestrelDeviceSet::StopNitReception() { nitFilter_.CloseFilter(); }

std::vector<std::uint32_t> CKestrelDeviceSet::CableChannelFrequencies(std::uint32_t lowerKHz,
                                                                      std::uint32_t upperKHz) {
    CChannels channels(lowerKHz, upperKHz);
    std::vector<std::uint32_t> frequencies;
    std::string name;
    std::uint32_t frequency = 0;
    while (channels.GetNextChannel(name, frequency) == 1) frequencies.push_back(frequency);
    return frequencies;
}
CardResult CKestrelDeviceSet::GetSlotStatus() { return ResultOf(commonInterface_.GetSlotStatus()); }
CardResult CKestrelDeviceSet::EnterModuleMenu(std::uint8_t slot) {
    return {commonInterface_.EnterModuleMenu(slot)};
}
CardResult CKestrelDeviceSet::InputReply(std::span<const std::uint8_t> keys) {
    // The library takes at most 255 keys at once.
    const auto count = static_cast<std::uint8_t>(keys.size() > 255 ? 255 : keys.size());
    return {commonInterface_.InputReply(keys.data(), count)};
}
