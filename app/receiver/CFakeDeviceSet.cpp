#include "receiver/CFakeDeviceSet.h"

#include <cstdio>

namespace {

const char* NameOf(FilterRole filter) {
    switch (filter) {
        case FilterRole::Event:
            return "Event";
        case FilterRole::Schedule:
            return "Schedule";
        case FilterRole::Spare:
            return "Spare";
    }
    return "?";
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    char byte[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(byte, sizeof byte, "%02X", b);
        if (!text.empty()) text += ' ';
        text += byte;
    }
    return text;
}

std::string Numbers(std::initializer_list<long long> values) {
    std::string text;
    for (const long long v : values) text += ' ' + std::to_string(v);
    return text;
}

}  // namespace

std::vector<std::string> CFakeDeviceSet::Calls() const {
    std::vector<std::string> lines;
    for (const auto& call : log_) lines.push_back(call.text);
    return lines;
}

std::vector<std::string> CFakeDeviceSet::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> lines;
    for (const auto& call : log_)
        if (call.text.starts_with(prefix)) lines.push_back(call.text);
    return lines;
}

CardResult CFakeDeviceSet::Record(const std::string& line) {
    log_.push_back({line, std::chrono::steady_clock::now()});
    const auto it = results_.find(line.substr(0, line.find(' ')));
    return it == results_.end() ? CardResult{} : CardResult{it->second};
}

bool CFakeDeviceSet::Deliver(FilterRole filter, std::span<const std::uint8_t> datagram) {
    const auto it = receivers_.find(filter);
    if (it == receivers_.end()) return false;
    auto callback = it->second;  // the callback may close its own receiver
    callback(datagram);
    return true;
}

bool CFakeDeviceSet::DeliverRemoteKey(std::span<const std::uint8_t> datagram) {
    if (!remoteKeys_) return false;
    auto callback = remoteKeys_;
    callback(datagram);
    return true;
}

bool CFakeDeviceSet::ReceiverOpen(FilterRole filter) const { return receivers_.contains(filter); }

CardResult CFakeDeviceSet::InitPCI() { return Record("InitPCI"); }
CardResult CFakeDeviceSet::BootARM(const std::string& folder) {
    return Record("BootARM " + folder);
}
CardResult CFakeDeviceSet::GetStatistics(std::span<std::uint32_t> counters) {
    return Record("GetStatistics" + Numbers({static_cast<long long>(counters.size())}));
}
CardResult CFakeDeviceSet::GetFrontendType(int& type) {
    const CardResult r = Record("GetFrontendType");
    if (r.Ok()) type = frontendType;
    return r;
}
CardResult CFakeDeviceSet::GetBoardMfg(std::string& m, std::string& b) {
    const CardResult r = Record("GetBoardMfg");
    if (r.Ok()) m = manufacturer, b = boardType;
    return r;
}
CardResult CFakeDeviceSet::GetBEVersion(FirmwareVersion& version) {
    const CardResult r = Record("GetBEVersion");
    if (r.Ok()) version = firmware;
    return r;
}
CardResult CFakeDeviceSet::GetIP(std::string& address, std::string& m, int& check) {
    const CardResult r = Record("GetIP");
    if (r.Ok()) address = ip, m = mask, check = ipCheck;
    return r;
}
CardResult CFakeDeviceSet::GetMAC(std::string& address, int& check) {
    const CardResult r = Record("GetMAC");
    if (r.Ok()) address = mac, check = macCheck;
    return r;
}
CardResult CFakeDeviceSet::FrontendInit() { return Record("FrontendInit"); }
CardResult CFakeDeviceSet::SendDiSEqCMsg(std::span<const std::uint8_t> message,
                                         std::uint8_t burst) {
    std::string line = "SendDiSEqCMsg ";
    if (!message.empty()) line += Hex(message) + ' ';
    return Record(line + "burst " + std::to_string(burst));
}
FrontendReading<ChannelRecord> CFakeDeviceSet::zSetChannel(const ChannelRecord& c) {
    FrontendReading<ChannelRecord> reading;
    reading.result =
        Record("zSetChannel" + Numbers({c.frequency, c.lof, c.symbolRate, c.polarisation, c.mode,
                                        c.lnbVoltage, c.tone22kHz, c.reserved}));
    if (reading.result.Ok()) channel = c;
    reading.status = unlockedFrequencies.contains(c.frequency) ? 1 : channelStatus;
    reading.record = c;
    return reading;
}
FrontendReading<ChannelRecord> CFakeDeviceSet::zGetChannel() {
    return {Record("zGetChannel"), channelStatus, channel};
}
FrontendReading<SignalRecord> CFakeDeviceSet::zGetSignal(std::uint16_t value) {
    return {Record("zGetSignal" + Numbers({value})), signalStatus, signal};
}
CardResult CFakeDeviceSet::SetVideoPID(std::uint16_t pid) {
    const CardResult r = Record("SetVideoPID" + Numbers({pid}));
    if (r.Ok()) decoder.videoPid = pid;
    return r;
}
CardResult CFakeDeviceSet::SetAudioPID(std::uint16_t pid) {
    const CardResult r = Record("SetAudioPID" + Numbers({pid}));
    if (r.Ok()) decoder.audioPid = pid;
    return r;
}
CardResult CFakeDeviceSet::GetVideoPID(std::uint16_t& pid) {
    const CardResult r = Record("GetVideoPID");
    if (r.Ok()) pid = decoder.videoPid;
    return r;
}
CardResult CFakeDeviceSet::GetAudioPid(std::uint16_t& pid) {
    const CardResult r = Record("GetAudioPid");
    if (r.Ok()) pid = decoder.audioPid;
    return r;
}
CardResult CFakeDeviceSet::GetAudioBufferStatus(std::uint8_t& fill) {
    const CardResult r = Record("GetAudioBufferStatus");
    if (r.Ok()) fill = audioBufferFill;
    return r;
}
DecoderState CFakeDeviceSet::GetDecoderStatus() {
    DecoderState state = decoder;
    state.result = Record("GetDecoderStatus");
    return state;
}
CardResult CFakeDeviceSet::SetVolume(std::uint8_t l, std::uint8_t r) {
    return Record("SetVolume" + Numbers({l, r}));
}
CardResult CFakeDeviceSet::SetAudioMute(bool mute) {
    return Record("SetAudioMute" + Numbers({mute}));
}
CardResult CFakeDeviceSet::SetAudioChannel(int c) {
    return Record("SetAudioChannel" + Numbers({c}));
}
CardResult CFakeDeviceSet::SetPictureParameters(const PictureSettings& p) {
    return Record("SetPictureParameters" + Numbers({p.brightness, p.contrast, p.saturation}));
}
CardResult CFakeDeviceSet::SetVideoOutputMode(int m) {
    return Record("SetVideoOutputMode" + Numbers({m}));
}
CardResult CFakeDeviceSet::SetVideoStandard(int s) {
    return Record("SetVideoStandard" + Numbers({s}));
}
CardResult CFakeDeviceSet::SetAspectRatio(int a) { return Record("SetAspectRatio" + Numbers({a})); }
CardResult CFakeDeviceSet::SetVideoTestMode(int m) {
    return Record("SetVideoTestMode" + Numbers({m}));
}
CardResult CFakeDeviceSet::LoopCDAudio(int loop) { return Record("LoopCDAudio" + Numbers({loop})); }
CardResult CFakeDeviceSet::MspInit() { return Record("MspInit"); }
CardResult CFakeDeviceSet::CreateOSDWindow(std::uint8_t w, int type, std::uint16_t width,
                                           std::uint16_t height) {
    return Record("CreateOSDWindow" + Numbers({w, type, width, height}));
}
CardResult CFakeDeviceSet::DestroyOSDWindow(std::uint8_t w) {
    return Record("DestroyOSDWindow" + Numbers({w}));
}
CardResult CFakeDeviceSet::MoveWindowAbs(std::uint8_t w, std::uint16_t x, std::uint16_t y) {
    return Record("MoveWindowAbs" + Numbers({w, x, y}));
}
CardResult CFakeDeviceSet::SetColor(std::uint8_t w, int palette, std::uint16_t index,
                                    std::uint16_t a, std::uint16_t b) {
    return Record("SetColor" + Numbers({w, palette, index, a, b}));
}
CardResult CFakeDeviceSet::SetBlend(std::uint8_t w, int palette, std::uint16_t index,
                                    std::uint8_t blend) {
    return Record("SetBlend" + Numbers({w, palette, index, blend}));
}
CardResult CFakeDeviceSet::SetColorBlend(std::uint8_t w) {
    return Record("SetColorBlend" + Numbers({w}));
}
CardResult CFakeDeviceSet::BringToTop(std::uint8_t w) {
    return Record("BringToTop" + Numbers({w}));
}
CardResult CFakeDeviceSet::WriteText(std::uint8_t w, std::uint16_t x, std::uint16_t y,
                                     std::uint8_t count, const std::string& text) {
    return Record("WriteText" + Numbers({w, x, y, count}) + " \"" + text + '"');
}
CardResult CFakeDeviceSet::DrawBlock(std::uint8_t w, std::uint16_t x, std::uint16_t y,
                                     std::uint16_t width, std::uint16_t height,
                                     std::uint16_t colour) {
    return Record("DrawBlock" + Numbers({w, x, y, width, height, colour}));
}
CardResult CFakeDeviceSet::TTXOn(std::uint16_t pid) { return Record("TTXOn" + Numbers({pid})); }
CardResult CFakeDeviceSet::TTXOff() { return Record("TTXOff"); }
CardResult CFakeDeviceSet::SetRemoteControl(int type, std::uint16_t value) {
    return Record("SetRemoteControl" + Numbers({type, value}));
}
CardResult CFakeDeviceSet::SetBitFilter(FilterRole filter, std::uint16_t pid,
                                        std::span<const std::uint8_t> bytes,
                                        std::span<const std::uint8_t> mask, std::uint8_t type) {
    return Record(std::string("SetBitFilter ") + NameOf(filter) + Numbers({pid, type}) + " / " +
                  Hex(bytes) + " / " + Hex(mask));
}
CardResult CFakeDeviceSet::ShutDownFilter(FilterRole filter) {
    return Record(std::string("ShutDownFilter ") + NameOf(filter));
}
bool CFakeDeviceSet::OpenReceiver(FilterRole filter, DatagramCallback callback) {
    const bool ok = Record(std::string("OpenReceiver ") + NameOf(filter)).Ok();
    if (ok) receivers_[filter] = std::move(callback);
    return ok;
}
void CFakeDeviceSet::CloseReceiver(FilterRole filter) {
    Record(std::string("CloseReceiver ") + NameOf(filter));
    receivers_.erase(filter);
}
bool CFakeDeviceSet::OpenRemoteKeys(DatagramCallback callback) {
    const bool ok = Record("OpenRemoteKeys").Ok();
    if (ok) remoteKeys_ = std::move(callback);
    return ok;
}
void CFakeDeviceSet::CloseRemoteKeys() {
    Record("CloseRemoteKeys");
    remoteKeys_ = nullptr;
}
CardResult CFakeDeviceSet::RecOpen(const std::string& path, int format, int forPlayback) {
    return Record("RecOpen " + path + Numbers({format, forPlayback}));
}
CardResult CFakeDeviceSet::RecClose() { return Record("RecClose"); }
CardResult CFakeDeviceSet::RecRecord() { return Record("RecRecord"); }
CardResult CFakeDeviceSet::RecStop() { return Record("RecStop"); }
CardResult CFakeDeviceSet::RecPlayback(std::uint32_t startMs) {
    return Record("RecPlayback" + Numbers({startMs}));
}
CardResult CFakeDeviceSet::RecPause() { return Record("RecPause"); }
CardResult CFakeDeviceSet::RecForward() { return Record("RecForward"); }
CardResult CFakeDeviceSet::RecBackward() { return Record("RecBackward"); }
CardResult CFakeDeviceSet::RecSlowPlayback(std::uint8_t speed) {
    return Record("RecSlowPlayback" + Numbers({speed}));
}
CardResult CFakeDeviceSet::RecFastPlayback(int speed) {
    return Record("RecFastPlayback" + Numbers({speed}));
}
RecorderStatus CFakeDeviceSet::RecGetStatus() {
    RecorderStatus status = recorderStatus;
    status.result = Record("RecGetStatus");
    return status;
}
CardResult CFakeDeviceSet::RecSetStatusChangedMessage(std::function<void()> onChange,
                                                      unsigned int message, int enable) {
    const CardResult r = Record("RecSetStatusChangedMessage" + Numbers({message, enable}));
    if (r.Ok()) recorderChanged_ = enable ? std::move(onChange) : nullptr;
    return r;
}
bool CFakeDeviceSet::AnnounceRecorderChange() {
    if (!recorderChanged_) return false;
    auto callback = recorderChanged_;
    callback();
    return true;
}
CardResult CFakeDeviceSet::WS_RecPlayMethod(int network) {
    return Record("WS_RecPlayMethod" + Numbers({network}));
}
CardResult CFakeDeviceSet::WS_Record(int format) { return Record("WS_Record" + Numbers({format})); }
CardResult CFakeDeviceSet::WS_Stop() { return Record("WS_Stop"); }
CardResult CFakeDeviceSet::WS_Playback(int format, std::uint16_t samplingHz) {
    return Record("WS_Playback" + Numbers({format, samplingHz}));
}
CardResult CFakeDeviceSet::WS_Pause() { return Record("WS_Pause"); }
CardResult CFakeDeviceSet::WS_PlaySlow(std::uint8_t speed) {
    return Record("WS_PlaySlow" + Numbers({speed}));
}
CardResult CFakeDeviceSet::WS_PlayFast(int speed) {
    return Record("WS_PlayFast" + Numbers({speed}));
}
bool CFakeDeviceSet::GetIPandPort(std::string& address, std::string& port) {
    Record("GetIPandPort");
    address = ipAndPortKnown ? ip : "";
    port = ipAndPortKnown ? basePort : "";
    return ipAndPortKnown;
}

CardResult CFakeDeviceSet::CiInit() { return Record("CiInit"); }
CardResult CFakeDeviceSet::CiClose() { return Record("CiClose"); }
CardResult CFakeDeviceSet::SendTime() { return Record("SendTime"); }
CardResult CFakeDeviceSet::ReadPSIFast(std::uint16_t sid) {
    return Record("ReadPSIFast" + Numbers({sid}));
}

int CFakeDeviceSet::StartPsiDecoding() {
    Record("StartPsiDecoding");
    psiRunning_ = psiStartResult == 0;
    return psiStartResult;
}
bool CFakeDeviceSet::PsiDecodingComplete() {
    return psiRunning_ && psiComplete;  // polled on every step: not logged
}
void CFakeDeviceSet::AbortPsiDecoding() {
    Record("AbortPsiDecoding");
    psiRunning_ = false;
}
bool CFakeDeviceSet::ReadPsiTree(kestrel::PsiTree& tree) {
    Record("ReadPsiTree");
    const auto found = psiTrees.find(channel.frequency);
    if (found == psiTrees.end()) return false;
    tree = found->second;
    return true;
}
bool CFakeDeviceSet::StartNitReception() {
    Record("StartNitReception");
    nitRunning_ = nitAccepted;
    return nitAccepted;
}
std::vector<std::vector<std::uint8_t>> CFakeDeviceSet::NitSections() {
    const auto found = nitSections.find(channel.frequency);
    if (!nitRunning_ || found == nitSections.end()) return {};
    return found->second;
}
void CFakeDeviceSet::StopNitReception() {
    Record("StopNitReception");
    nitRunning_ = false;
}
std::vector<std::uint32_t> CFakeDeviceSet::CableChannelFrequencies(std::uint32_t lowerKHz,
                                                                   std::uint32_t upperKHz) {
    Record("CableChannelFrequencies" + Numbers({lowerKHz, upperKHz}));
    std::vector<std::uint32_t> out;
    for (const std::uint32_t f : cableChannels)
        if (f > lowerKHz && f <= upperKHz) out.push_back(f);
    return out;
}
CardResult CFakeDeviceSet::GetSlotStatus() { return Record("GetSlotStatus"); }
CardResult CFakeDeviceSet::EnterModuleMenu(std::uint8_t slot) {
    return Record("EnterModuleMenu" + Numbers({slot}));
}
CardResult CFakeDeviceSet::InputReply(std::span<const std::uint8_t> keys) {
    std::string line = "InputReply";
    for (const std::uint8_t k : keys) line += ' ' + std::to_string(k);
    return Record(line);
}
