// The emulated card: a dish installation read from the configuration, a tuner
// that locks only to configured transponders, and a demultiplexer that plays the
// locked transponder's stream and serves section filters from it.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "CDecoderFeed.h"
#include "COsdReceiver.h"
#include "CPictureOutput.h"
#include "CSoundOutput.h"
#include "CStreamDecoder.h"
#include "CTeletextDecoder.h"
#include "CTsPlayer.h"
#include "CVirtualCam.h"
#include "ICard.h"

namespace nvdvbsrv {

class CEmulatedCard : public ICard {
  public:
    CEmulatedCard(CInstallation installation, IDatagramSink& sink);
    ~CEmulatedCard() override;

    const BoardIdentity& Board() const override { return installation_.board; }
    bool BootFirmware(std::string_view directory) override;
    bool FirmwareRunning() const override { return firmwareRunning_; }
    uint32_t FrontendType() const override;
    bool Fails(StartStep step) const override {
        return installation_.failingSteps.count(step) != 0;
    }

    bool SendDiseqc(std::span<const uint8_t> message, uint8_t burst) override;
    bool Tune(const ChannelParams& params) override;
    ChannelParams Channel() const override { return tuner_.Channel(); }
    SignalFigures Signal() const override;

    std::optional<uint16_t> AddSectionFilter(uint32_t client,
                                             const SectionFilterSetting& setting) override;
    bool RemoveFilter(uint32_t client, uint16_t handle) override;
    void RemoveClient(uint32_t client) override;
    void SuspendClient(uint32_t client) override;

    void SetVideoPid(uint16_t pid) override;
    void SetAudioPid(uint16_t pid) override;
    uint16_t VideoPid() const override { return videoPid_; }
    uint16_t AudioPid() const override { return audioPid_; }
    VideoInfo Video() const override { return video_; }
    void SetPictureParameters(uint8_t brightness, uint8_t contrast, uint8_t saturation) override;
    void SetDecoderVolume(uint32_t left, uint32_t right) override;
    void SetDecoderMute(bool mute) override;
    void SetAudioChannel(uint32_t channel) override;
    void SetSoundChipVolume(int32_t left, int32_t right) override;
    void SetSoundChipMute(bool mute) override;

    // The composed output: the picture memory of that name from now until
    // the card goes (the server calls it once it serves the instance).
    bool StartOutput(const std::string& memoryName) { return picture_.Start(memoryName); }
    std::optional<uint16_t> StartTeletext(uint16_t pid) override;
    bool StopTeletext(uint16_t handle) override;
    bool TeletextRunning() const override { return teletext_.Running(); }

    bool CiCommand(uint8_t sub, std::span<const uint8_t> data) override {
        return cam_.Command(sub, data);
    }
    bool ChangeModule(uint8_t slot, bool insert) override {
        return insert ? cam_.Insert(slot) : cam_.Remove(slot);
    }
    void Tick() override { cam_.Tick(); }
    // The common interface and the filter bank, for tests.
    const CVirtualCam& Cam() const { return cam_; }
    const CSectionFilterBank& Filters() const { return filters_; }

    void SetRemoteControl(uint32_t type, uint16_t value) override;
    bool PressKey(uint8_t code) override;

    COsd& Osd() override { return osd_; }
    CRecorder* Recorder() override { return &recorder_; }
    CPostBox& Posts() override { return posts_; }
    // Whether the bitmap datagrams of the OSD can be received.
    bool OsdReceiving() const { return osdReceiver_ && osdReceiver_->IsOpen(); }

    // Highest number of section filters open at once.
    static constexpr size_t kMaxFilters = 64;
    // Packets played since the last tune (for tests).
    uint64_t PacketsPlayed() const { return player_.PacketsPlayed(); }

  private:
    std::shared_ptr<const CTsFile> FileFor(const Transponder& tp);
    std::optional<uint16_t> FreeHandle() const;
    // The decoder state for the stream now playing and the video PID set.
    void ProbeVideo();
    // The PMT PID of a program in the PAT of the stream now playing.
    std::optional<uint16_t> PmtPidOf(uint16_t program) const;
    void StartOsdReceiver();
    // The card's own address (for the OSD bitmaps and the network playback).
    std::optional<uint32_t> OwnAddress() const;
    // The port at that offset from the base port, if it is one.
    std::optional<uint16_t> Port(uint16_t offset) const;
    // The stream stopped or changed: nothing decoded before reaches the output.
    void FlushDecoders();
    template <typename Change>
    void ChangeSound(Change change);
    // Handles of suspended clients' filters, by handle: the client.
    std::map<uint16_t, uint32_t> heldHandles_;

    CInstallation installation_;
    IDatagramSink& sink_;
    CDishTuner tuner_;
    CSectionFilterBank filters_;
    CTeletextDecoder teletext_;
    COsd osd_;  // before the output stage, which draws it until it stops
    CPictureOutput picture_;
    CSoundOutput sound_;
    CStreamDecoder videoDecoder_;
    CStreamDecoder audioDecoder_;
    CPostBox posts_;
    CDecoderFeed feed_;  // the decoders' intake, live or played back
    CRecorder recorder_;
    CTsPlayer player_;
    CVirtualCam cam_;
    std::map<std::string, std::shared_ptr<const CTsFile>> files_;
    std::shared_ptr<const CTsFile> playing_;
    bool firmwareRunning_ = false;
    bool remoteOn_ = false;
    uint16_t videoPid_ = 0x1FFF;
    uint16_t audioPid_ = 0x1FFF;
    VideoInfo video_;
    std::unique_ptr<COsdReceiver> osdReceiver_;
};

}  // namespace nvdvbsrv
