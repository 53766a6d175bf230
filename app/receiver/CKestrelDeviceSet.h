#pragma once
// IDeviceSet on the client library: the process-wide device objects, held
// for the set's whole life. Create it once the library runs on the program's
// event loop, on the GUI thread; close its receivers before that loop's
// dispatcher goes.
#include <memory>

#include "kestrel/CBoardControl.h"
#include "kestrel/CDVBWinSock.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"
#include "kestrel/CMSP3400.h"
#include "kestrel/COverlay.h"
#include "kestrel/CPIDFilter.h"
#include "kestrel/CPsiDecoder.h"
#include "kestrel/CRecordPlayback.h"
#include "kestrel/CRemoteControl.h"
#include "kestrel/CTableFilter.h"
#include "kestrel/CTeletext.h"
#include "kestrel/CWSRecordPlayback.h"
#include "receiver/CCIClient.h"
#include "receiver/IDeviceSet.h"

class CKestrelDeviceSet : public IDeviceSet {
  public:
    CKestrelDeviceSet() = default;
    ~CKestrelDeviceSet() override;
    CKestrelDeviceSet(const CKestrelDeviceSet&) = delete;
    CKestrelDeviceSet& operator=(const CKestrelDeviceSet&) = delete;

    /// Closes every datagram receiver (before the library's dispatcher goes).
    /// The objects stay: later calls reach the library, which answers them.
    void CloseReceivers();

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

    /// Where the PSI decoder writes its tree in the key store (root and subkey).
    static constexpr const char* kPsiRoot = "SOFTWARE\\Norvane\\PSI";
    static constexpr const char* kPsiSubkey = "SVL_Editor";
    CardResult GetSlotStatus() override;
    CardResult EnterModuleMenu(std::uint8_t slot) override;
    CardResult InputReply(std::span<const std::uint8_t> keys) override;
    void SetCiListener(ICiListener* listener) override { commonInterface_.SetListener(listener); }

  private:
    /// A datagram receiver that hands every datagram to a callback.
    class CCallbackSocket : public CDVBWinSock {
      public:
        bool Open(int portOffset, DatagramCallback callback);
        void Close();

      private:
        void OnDataArrival(std::uint8_t* data, int length) override;
        DatagramCallback callback_;
    };

    CPIDFilter& Filter(FilterRole filter);
    CCallbackSocket& Socket(FilterRole filter);

    CBoardControl board_;
    CFrontend frontend_;
    CMPEGDecoder decoder_;
    CMSP3400 soundChip_;
    COverlay overlay_;
    CTeletext teletext_;
    CRemoteControl remoteControl_;
    CPIDFilter eventFilter_, scheduleFilter_, spareFilter_;
    CCIClient commonInterface_;
    CRecordPlayback recorder_;
    CWSRecordPlayback networkRecorder_;
    /// The recorder's announcements arrive as messages the card posts to this
    /// window token; they call the registered callback.
    static constexpr std::uint32_t kRecorderWindow = 1;
    unsigned int recorderMessage_ = 0;
    std::function<void()> recorderChanged_;
    CCallbackSocket eventSocket_, scheduleSocket_, spareSocket_, remoteKeySocket_;
    /// Made on the first decoding: it opens the key store.
    std::unique_ptr<CPsiDecoder> psi_;
    static void OnNitTable(char* self, std::uint32_t value);
    CTableFilter nitFilter_;
    std::vector<std::vector<std::uint8_t>> nitSections_;
};
