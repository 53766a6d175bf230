#pragma once
// The card's process-wide device objects as the parts of the program call
// them: board, front end, decoder, sound chip, on-screen display, teletext,
// remote control, the three section filters with their datagram receivers,
// and the common interface. One set exists for the program's life; every part
// uses the same one and never makes its own.
//
// Each operation is the client library's operation of the same name and
// passes the card's result through unchanged (CardResult: 1 success). The
// rules of IReceiver hold here too: GUI thread only, callbacks only from the
// event loop, failures are results and never exceptions.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "receiver/ICiListener.h"
#include "receiver/ReceiverTypes.h"

namespace kestrel {
struct PsiTree;
}

/// The three section filters of the program.
enum class FilterRole { Event, Schedule, Spare };

/// One datagram as it arrived, valid only during the callback.
using DatagramCallback = std::function<void(std::span<const std::uint8_t> datagram)>;

/// The tuning record of the front end (the card's CHANNEL_TYPE).
struct ChannelRecord {
    std::uint32_t frequency = 0;     ///< kHz
    std::uint32_t lof = 0;           ///< kHz
    std::uint32_t symbolRate = 0;    ///< symbols per second
    std::uint32_t polarisation = 0;  ///< read back: non-zero vertical; sent as 0
    std::uint32_t mode = 0;          ///< sent as 2
    std::uint32_t lnbVoltage = 0;    ///< 13, 18 or 0
    std::uint32_t tone22kHz = 0;     ///< 1 on
    std::uint32_t reserved = 0;
    bool operator==(const ChannelRecord&) const = default;
};

/// What the front end answers to a read: the request's result, the front
/// end's status word (0 good) and the record.
template <typename Record>
struct FrontendReading {
    CardResult result{0};
    std::uint16_t status = 0xFFFF;
    Record record;
    bool Good() const { return result.Ok() && status == 0; }
};

/// The signal figures of the front end (the card's SIGNAL_TYPE, 20 bytes).
struct SignalRecord {
    std::int32_t afc = 0;              ///< signed 32 at 0: carrier offset, kHz
    std::uint16_t berMantissa = 0;     ///< 16 at 6
    std::int16_t berExponent = 0;      ///< signed 16 at 8: error rate = mantissa * 2^exponent
    std::uint16_t strengthTenths = 0;  ///< 16 at 14
    std::uint16_t quality = 0;         ///< 16 at 16, 0..100
};

/// The card's firmware versions and dates (BE_VERSION).
struct FirmwareVersion {
    std::uint32_t firmware = 0;
    std::uint32_t runtime = 0;
    std::uint32_t videoDecoder = 0;
    std::string date;
    std::string time;
};

/// Picture settings of the decoder.
struct PictureSettings {
    std::uint8_t brightness = 0;
    std::uint8_t contrast = 0;
    std::uint8_t saturation = 0;
    bool operator==(const PictureSettings&) const = default;
};

class IDeviceSet {
  public:
    virtual ~IDeviceSet() = default;

    // Board.
    virtual CardResult InitPCI() = 0;
    virtual CardResult BootARM(const std::string& firmwareFolder) = 0;
    virtual CardResult GetStatistics(std::span<std::uint32_t> counters) = 0;
    /// The front-end chip type in `type` (1, 2 satellite; 3, 4 cable; 5, 6 terrestrial).
    virtual CardResult GetFrontendType(int& type) = 0;
    virtual CardResult GetBoardMfg(std::string& manufacturer, std::string& boardType) = 0;
    virtual CardResult GetBEVersion(FirmwareVersion& version) = 0;
    virtual CardResult GetIP(std::string& address, std::string& mask, int& check) = 0;
    virtual CardResult GetMAC(std::string& address, int& check) = 0;

    // Front end.
    virtual CardResult FrontendInit() = 0;
    virtual CardResult SendDiSEqCMsg(std::span<const std::uint8_t> message, std::uint8_t burst) = 0;
    virtual FrontendReading<ChannelRecord> zSetChannel(const ChannelRecord& channel) = 0;
    virtual FrontendReading<ChannelRecord> zGetChannel() = 0;
    virtual FrontendReading<SignalRecord> zGetSignal(std::uint16_t value) = 0;

    // Decoder.
    virtual CardResult SetVideoPID(std::uint16_t pid) = 0;
    virtual CardResult SetAudioPID(std::uint16_t pid) = 0;
    virtual CardResult GetVideoPID(std::uint16_t& pid) = 0;
    virtual CardResult GetAudioPid(std::uint16_t& pid) = 0;
    virtual CardResult GetAudioBufferStatus(std::uint8_t& fill) = 0;
    virtual DecoderState GetDecoderStatus() = 0;
    virtual CardResult SetVolume(std::uint8_t left, std::uint8_t right) = 0;
    virtual CardResult SetAudioMute(bool mute) = 0;
    virtual CardResult SetAudioChannel(int channel) = 0;
    virtual CardResult SetPictureParameters(const PictureSettings& picture) = 0;
    virtual CardResult SetVideoOutputMode(int mode) = 0;
    virtual CardResult SetVideoStandard(int standard) = 0;
    virtual CardResult SetAspectRatio(int ratio) = 0;
    virtual CardResult SetVideoTestMode(int mode) = 0;
    virtual CardResult LoopCDAudio(int loop) = 0;

    // Sound chip.
    virtual CardResult MspInit() = 0;

    // On-screen display (windows 1 to 7).
    virtual CardResult CreateOSDWindow(std::uint8_t window, int type, std::uint16_t width,
                                       std::uint16_t height) = 0;
    virtual CardResult DestroyOSDWindow(std::uint8_t window) = 0;
    virtual CardResult MoveWindowAbs(std::uint8_t window, std::uint16_t x, std::uint16_t y) = 0;
    virtual CardResult SetColor(std::uint8_t window, int palette, std::uint16_t index,
                                std::uint16_t a, std::uint16_t b) = 0;
    virtual CardResult SetBlend(std::uint8_t window, int palette, std::uint16_t index,
                                std::uint8_t blend) = 0;
    virtual CardResult SetColorBlend(std::uint8_t window) = 0;
    virtual CardResult BringToTop(std::uint8_t window) = 0;
    /// Writes `text` in a field of `count` characters (the rest of the field is empty).
    virtual CardResult WriteText(std::uint8_t window, std::uint16_t x, std::uint16_t y,
                                 std::uint8_t count, const std::string& text) = 0;
    virtual CardResult DrawBlock(std::uint8_t window, std::uint16_t x, std::uint16_t y,
                                 std::uint16_t width, std::uint16_t height,
                                 std::uint16_t colour) = 0;

    // Teletext.
    virtual CardResult TTXOn(std::uint16_t pid) = 0;
    virtual CardResult TTXOff() = 0;

    // Remote control: type 1 switches the receiver on, 0 off.
    virtual CardResult SetRemoteControl(int type, std::uint16_t value) = 0;

    // Section filters and their datagram receivers.
    virtual CardResult SetBitFilter(FilterRole filter, std::uint16_t pid,
                                    std::span<const std::uint8_t> bytes,
                                    std::span<const std::uint8_t> mask, std::uint8_t type) = 0;
    virtual CardResult ShutDownFilter(FilterRole filter) = 0;
    /// Opens the filter's receiver on the handle the filter holds now; true
    /// when the socket opened.
    virtual bool OpenReceiver(FilterRole filter, DatagramCallback callback) = 0;
    virtual void CloseReceiver(FilterRole filter) = 0;
    /// Opens the program's remote-key receiver on the remote control's port;
    /// every datagram goes to `callback` as it came.
    virtual bool OpenRemoteKeys(DatagramCallback callback) = 0;
    virtual void CloseRemoteKeys() = 0;

    // Recorder, the card's own file method (the server reads and writes the file).
    /// `forPlayback` 1 opens for playback, 0 for recording.
    virtual CardResult RecOpen(const std::string& path, int format, int forPlayback) = 0;
    virtual CardResult RecClose() = 0;
    virtual CardResult RecRecord() = 0;
    virtual CardResult RecStop() = 0;
    virtual CardResult RecPlayback(std::uint32_t startMs) = 0;
    virtual CardResult RecPause() = 0;
    virtual CardResult RecForward() = 0;
    virtual CardResult RecBackward() = 0;
    virtual CardResult RecSlowPlayback(std::uint8_t speed) = 0;
    virtual CardResult RecFastPlayback(int speed) = 0;
    virtual RecorderStatus RecGetStatus() = 0;
    /// While enabled, the card announces every change of the recorder's state
    /// with `message`; each announcement calls `onChange` from the event loop.
    virtual CardResult RecSetStatusChangedMessage(std::function<void()> onChange,
                                                  unsigned int message, int enable) = 0;

    // Recorder, network method (the stream travels as datagrams, the program
    // does the file work).
    virtual CardResult WS_RecPlayMethod(int network) = 0;
    virtual CardResult WS_Record(int format) = 0;
    virtual CardResult WS_Stop() = 0;
    virtual CardResult WS_Playback(int format, std::uint16_t samplingHz) = 0;
    virtual CardResult WS_Pause() = 0;
    virtual CardResult WS_PlaySlow(std::uint8_t speed) = 0;
    virtual CardResult WS_PlayFast(int speed) = 0;
    /// The card's address and base port as the library's datagram sockets
    /// use them; false when the card does not answer.
    virtual bool GetIPandPort(std::string& address, std::string& port) = 0;

    // Common interface.
    virtual CardResult CiInit() = 0;
    virtual CardResult CiClose() = 0;
    virtual CardResult SendTime() = 0;
    virtual CardResult ReadPSIFast(std::uint16_t serviceId) = 0;
    /// Asks both slots for their status (answered through the listener).
    virtual CardResult GetSlotStatus() = 0;
    /// Opens the menu of the module in slot 1 or 2; 1 whatever the card says.
    virtual CardResult EnterModuleMenu(std::uint8_t slot) = 0;
    /// Sends the keys to the module in order (keys above 17 are refused by
    /// the library); 1 whatever the card says.
    virtual CardResult InputReply(std::span<const std::uint8_t> keys) = 0;
    /// The receiver of the modules' messages (null: none); kept, not owned.
    virtual void SetCiListener(ICiListener* listener) = 0;

    // PSI decoding of the tuned transponder (the channel scan).
    /// Starts decoding PAT, every PMT and the SDT into the key store: 0
    /// started; -1/-2 the association filter or its socket failed, -3/-4 the
    /// service filter or its socket failed.
    virtual int StartPsiDecoding() = 0;
    /// Whether the association table, every program map and the service
    /// table have been decoded.
    virtual bool PsiDecodingComplete() = 0;
    /// Closes the decoder's filters; what it wrote stays readable.
    virtual void AbortPsiDecoding() = 0;
    /// What the decoding has written so far; false when there is nothing to read.
    virtual bool ReadPsiTree(kestrel::PsiTree& tree) = 0;
    /// Starts collecting the network information table of the tuned
    /// transponder (PID 0x10, table 0x40); false when the filter was refused.
    virtual bool StartNitReception() = 0;
    /// The whole table's sections once it has arrived; empty before.
    virtual std::vector<std::vector<std::uint8_t>> NitSections() = 0;
    virtual void StopNitReception() = 0;
    /// The centre frequencies (kHz) of the cable channel table above
    /// `lowerKHz` up to `upperKHz`, ascending.
    virtual std::vector<std::uint32_t> CableChannelFrequencies(std::uint32_t lowerKHz,
                                                               std::uint32_t upperKHz) = 0;
};
