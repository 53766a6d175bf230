// The card behind the server: board, front end, demultiplexer with section
// filters, decoder and remote control. The emulated card is one implementation;
// a real adapter could be another.
//
// Threading: every method is called from the server's request thread only, one
// call at a time. An implementation may run threads of its own (the stream,
// the filters) and sends its continuous output through the datagram sink it was
// given, which is thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "CDishTuner.h"
#include "CInstallation.h"
#include "COsd.h"
#include "CPostBox.h"
#include "CRecorder.h"
#include "CSectionFilterBank.h"

namespace nvdvbsrv {

// What the decoder knows of the video it shows (H.264 pictures in the MPEG
// codes, see CVideoProbe); all zero when it shows nothing.
struct VideoInfo {
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t aspect = 0;     // MPEG aspect_ratio_information
    uint16_t frameRate = 0;  // MPEG frame_rate_code
    uint16_t bitrateKbit = 0;
};

class ICard {
  public:
    virtual ~ICard() = default;

    // Board.
    virtual const BoardIdentity& Board() const = 0;
    virtual bool BootFirmware(std::string_view directory) = 0;
    virtual bool FirmwareRunning() const = 0;
    virtual uint32_t FrontendType() const = 0;  // 1 satellite, 3 cable
    // Whether the installation makes this start-up request fail.
    virtual bool Fails(StartStep step) const = 0;

    // Front end.
    virtual bool SendDiseqc(std::span<const uint8_t> message, uint8_t burst) = 0;
    virtual bool Tune(const ChannelParams& params) = 0;  // true when locked
    virtual ChannelParams Channel() const = 0;
    // The figures of this second (SignalFigures, CDishTuner.h).
    virtual SignalFigures Signal() const = 0;

    // Demultiplexer: handles are the port offsets of the filters' datagrams.
    virtual std::optional<uint16_t> AddSectionFilter(uint32_t client,
                                                     const SectionFilterSetting& setting) = 0;
    virtual bool RemoveFilter(uint32_t client, uint16_t handle) = 0;
    // The client is gone: its filters go and their handles are free again.
    virtual void RemoveClient(uint32_t client) = 0;
    // The client went silent: its filters stop, but their handles stay its
    // own until it removes them or goes (its filter objects may still name
    // them, and a handle given to someone else would bring them his sections).
    virtual void SuspendClient(uint32_t client) = 0;

    // Decoder.
    virtual void SetVideoPid(uint16_t pid) = 0;
    virtual void SetAudioPid(uint16_t pid) = 0;
    virtual uint16_t VideoPid() const = 0;
    virtual uint16_t AudioPid() const = 0;
    virtual VideoInfo Video() const = 0;
    // Picture and sound settings of the decoder's output (CPictureOutput.h,
    // CSoundOutput.h): the decoder's volume (left, right), mute, channel
    // (0 A+B, 1 A, 2 B) and picture settings, the sound chip's volume and mute.
    virtual void SetPictureParameters(uint8_t brightness, uint8_t contrast, uint8_t saturation) = 0;
    virtual void SetDecoderVolume(uint32_t left, uint32_t right) = 0;
    virtual void SetDecoderMute(bool mute) = 0;
    virtual void SetAudioChannel(uint32_t channel) = 0;
    virtual void SetSoundChipVolume(int32_t left, int32_t right) = 0;
    virtual void SetSoundChipMute(bool mute) = 0;

    // Teletext acquisition of a PID: whole pages go out at the returned handle.
    virtual std::optional<uint16_t> StartTeletext(uint16_t pid) = 0;
    virtual bool StopTeletext(uint16_t handle) = 0;
    virtual bool TeletextRunning() const { return false; }

    // Common interface: one request of the program (sub-command, data bytes);
    // false when the request is malformed.
    virtual bool CiCommand(uint8_t sub, std::span<const uint8_t> data) = 0;
    // A module put into (true) or taken out of a CI slot (1 or 2), as
    // "nvdvbsrv cam" asks; false when that changes nothing.
    virtual bool ChangeModule(uint8_t /*slot*/, bool /*insert*/) { return false; }

    // Called by the request thread at least every 200 ms, for work that
    // follows the clock (a module that becomes ready).
    virtual void Tick() {}

    // Remote control: type 0 switches the receiver off.
    virtual void SetRemoteControl(uint32_t type, uint16_t value) = 0;
    // A key pressed on the remote control; false when the receiver is off.
    virtual bool PressKey(uint8_t code) = 0;

    // The on-screen display (thread-safe itself; the output stage composes it).
    virtual COsd& Osd() = 0;

    // The recorder (thread-safe itself; none on a card without one), and the
    // messages the card posts to its clients' windows, which the server
    // sends on.
    virtual CRecorder* Recorder() { return nullptr; }
    virtual CPostBox& Posts() = 0;
};

}  // namespace nvdvbsrv
