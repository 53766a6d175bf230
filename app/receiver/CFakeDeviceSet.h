#pragma once
// An IDeviceSet without a card, for the tests of the parts that use one. Every
// call is written to a log as one line ("InitPCI", "SetVideoPID 101",
// "SendDiSEqCMsg E0 10 38 F0 burst 255", ...) with the moment it was made, so
// that a test can check the calls, their order and the pauses between them.
// Every operation answers 1 unless a result is scripted for its name; the
// readings (channel, signal, decoder) answer what the test put there.
#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "receiver/IDeviceSet.h"
#include "scan/ScanPsi.h"

class CFakeDeviceSet : public IDeviceSet {
  public:
    struct Call {
        std::string text;
        std::chrono::steady_clock::time_point at;
    };

    // What happened.
    const std::vector<Call>& Log() const { return log_; }
    /// The lines of the log, without their moments.
    std::vector<std::string> Calls() const;
    /// The lines that begin with `prefix`.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    void ClearLog() { log_.clear(); }

    // Scripted answers.
    /// From now on the operation `name` (the log line's first word) answers `code`.
    void ScriptResult(const std::string& name, int code) { results_[name] = code; }
    int frontendType = 1;
    ChannelRecord channel;  ///< what zGetChannel reads (zSetChannel stores here)
    std::uint16_t channelStatus = 0;
    SignalRecord signal;
    std::uint16_t signalStatus = 0;
    DecoderState decoder;
    std::uint8_t audioBufferFill = 0;
    std::string manufacturer = "Hersteller", boardType = "Karte";
    FirmwareVersion firmware;
    std::string ip = "127.0.0.1", mask = "255.0.0.0", mac = "00:11:22:33:44:55";
    int ipCheck = 0, macCheck = 0;

    RecorderStatus recorderStatus;  ///< what RecGetStatus reads (its result from the script)
    std::string basePort = "5000";  ///< what GetIPandPort answers with `ip`
    bool ipAndPortKnown = true;
    /// Calls the recorder's status-change callback as the card's announcement
    /// would; false when none is registered or it is disabled.
    bool AnnounceRecorderChange();

    // The PSI decoding and the NIT (logged as "StartPsiDecoding", "ReadPsiTree", ...).
    /// zSetChannel answers "not locked" (status 1) for these frequencies.
    std::set<std::uint32_t> unlockedFrequencies;
    /// What ReadPsiTree gives after a tuning to the frequency (kHz); a
    /// frequency without an entry has nothing to read.
    std::map<std::uint32_t, kestrel::PsiTree> psiTrees;
    int psiStartResult = 0;
    bool psiComplete = true;  ///< what PsiDecodingComplete answers while decoding runs
    bool PsiRunning() const { return psiRunning_; }
    /// The NIT sections per frequency, handed out while the reception runs.
    std::map<std::uint32_t, std::vector<std::vector<std::uint8_t>>> nitSections;
    bool nitAccepted = true;
    bool NitRunning() const { return nitRunning_; }
    std::vector<std::uint32_t> cableChannels = {306000, 314000, 322000};  ///< kHz

    /// Hands a datagram to the open receiver of `filter`; false when it is closed.
    bool Deliver(FilterRole filter, std::span<const std::uint8_t> datagram);
    /// Hands a datagram to the remote-key receiver; false when it is closed.
    bool DeliverRemoteKey(std::span<const std::uint8_t> datagram);
    bool ReceiverOpen(FilterRole filter) const;
    bool RemoteKeysOpen() const { return static_cast<bool>(remoteKeys_); }
    /// The listener of the modules' messages: tests deliver module messages
    /// through it as the card would (null when none is set).
    ICiListener* CiListener() const { return ciListener_; }

    CardResult InitPCI() override;
    CardResult BootARM(const std::string& firmwareFolder) override;
    CardResult GetStatistics(std::span<std::uint32_t> counters) override;
    CardResult GetFrontendType(int& type) override;
    CardResult GetBoardMfg(std::string& manufacturer, std::string& boardType) override;
    CardResult GetBEVersion(FirmwareVersion& version) override;
    CardResult GetIP(std::string& address, std::string& mask, int& check) override;
    CardResult GetMAC(std::string& address, int& check) override;
    CardResult FrontendInit() override;
    CardResult SendDiSEqCMsg(std::span<const std::uint8_t> message, std::uint8_t burst) override;
    FrontendReading<ChannelRecord> zSetChannel(const ChannelRecord& channel) override;
    FrontendReading<ChannelRecord> zGetChannel() override;
    FrontendReading<SignalRecord> zGetSignal(std::uint16_t value) override;
    CardResult SetVideoPID(std::uint16_t pid) override;
    CardResult SetAudioPID(std::uint16_t pid) override;
    CardResult GetVideoPID(std::uint16_t& pid) override;
    CardResult GetAudioPid(std::uint16_t& pid) override;
    CardResult GetAudioBufferStatus(std::uint8_t& fill) override;
    DecoderState GetDecoderStatus() override;
    CardResult SetVolume(std::uint8_t left, std::uint8_t right) override;
    CardResult SetAudioMute(bool mute) override;
    CardResult SetAudioChannel(int channel) override;
    CardResult SetPictureParameters(const PictureSettings& picture) override;
    CardResult SetVideoOutputMode(int mode) override;
    CardResult SetVideoStandard(int standard) override;
    CardResult SetAspectRatio(int ratio) override;
    CardResult SetVideoTestMode(int mode) override;
    CardResult LoopCDAudio(int loop) override;
    CardResult MspInit() override;
    CardResult CreateOSDWindow(std::uint8_t window, int type, std::uint16_t width,
                               std::uint16_t height) override;
    CardResult DestroyOSDWindow(std::uint8_t window) override;
    CardResult MoveWindowAbs(std::uint8_t window, std::uint16_t x, std::uint16_t y) override;
    CardResult SetColor(std::uint8_t window, int palette, std::uint16_t index, std::uint16_t a,
                        std::uint16_t b) override;
    CardResult SetBlend(std::uint8_t window, int palette, std::uint16_t index,
                        std::uint8_t blend) override;
    CardResult SetColorBlend(std::uint8_t window) override;
    CardResult BringToTop(std::uint8_t window) override;
    CardResult WriteText(std::uint8_t window, std::uint16_t x, std::uint16_t y, std::uint8_t count,
                         const std::string& text) override;
    CardResult DrawBlock(std::uint8_t window, std::uint16_t x, std::uint16_t y, std::uint16_t width,
                         std::uint16_t height, std::uint16_t colour) override;
    CardResult TTXOn(std::uint16_t pid) override;
    CardResult TTXOff() override;
    CardResult SetRemoteControl(int type, std::uint16_t value) override;
    CardResult SetBitFilter(FilterRole filter, std::uint16_t pid,
                            std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> mask,
                            std::uint8_t type) override;
    CardResult ShutDownFilter(FilterRole filter) override;
    bool OpenReceiver(FilterRole filter, DatagramCallback callback) override;
    void CloseReceiver(FilterRole filter) override;
    bool OpenRemoteKeys(DatagramCallback callback) override;
    void CloseRemoteKeys() override;
    CardResult RecOpen(const std::string& path, int format, int forPlayback) override;
    CardResult RecClose() override;
    CardResult RecRecord() override;
    CardResult RecStop() override;
    CardResult RecPlayback(std::uint32_t startMs) override;
    CardResult RecPause() override;
    CardResult RecForward() override;
    CardResult RecBackward() override;
    CardResult RecSlowPlayback(std::uint8_t speed) override;
    CardResult RecFastPlayback(int speed) override;
    RecorderStatus RecGetStatus() override;
    CardResult RecSetStatusChangedMessage(std::function<void()> onChange, unsigned int message,
                                          int enable) override;
    CardResult WS_RecPlayMethod(int network) override;
    CardResult WS_Record(int format) override;
    CardResult WS_Stop() override;
    CardResult WS_Playback(int format, std::uint16_t samplingHz) override;
    CardResult WS_Pause() override;
    CardResult WS_PlaySlow(std::uint8_t speed) override;
    CardResult WS_PlayFast(int speed) override;
    bool GetIPandPort(std::string& address, std::string& port) override;
    CardResult CiInit() override;
    CardResult CiClose() override;
    CardResult SendTime() override;
    CardResult ReadPSIFast(std::uint16_t serviceId) override;
    int StartPsiDecoding() override;
    bool PsiDecodingComplete() override;
    void AbortPsiDecoding() override;
    bool ReadPsiTree(kestrel::PsiTree& tree) override;
    bool StartNitReception() override;
    std::vector<std::vector<std::uint8_t>> NitSections() override;
    void StopNitReception() override;
    std::vector<std::uint32_t> CableChannelFrequencies(std::uint32_t lowerKHz,
                                                       std::uint32_t upperKHz) override;
    CardResult GetSlotStatus() override;
    CardResult EnterModuleMenu(std::uint8_t slot) override;
    CardResult InputReply(std::span<const std::uint8_t> keys) override;
    void SetCiListener(ICiListener* listener) override { ciListener_ = listener; }

  private:
    std::function<void()> recorderChanged_;
    /// Logs `line` and answers the scripted result of its first word.
    CardResult Record(const std::string& line);

    std::vector<Call> log_;
    std::map<std::string, int> results_;
    std::map<FilterRole, DatagramCallback> receivers_;
    DatagramCallback remoteKeys_;
    bool psiRunning_ = false;
    bool nitRunning_ = false;
    ICiListener* ciListener_ = nullptr;
};
