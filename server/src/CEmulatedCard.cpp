#include "CEmulatedCard.h"

#include <chrono>
#include <filesystem>
#include <iostream>

#include "CPulseSink.h"
#include "CVideoProbe.h"
#include "CWavFile.h"
#include "ProgramTables.h"
#include "kestrel/protocol/OsdBitmap.h"
#include "kestrel/protocol/RecorderDatagram.h"
#include "mpegts/TsPacket.h"

namespace nvdvbsrv {
namespace {

// Port offsets with a fixed meaning (teletext 32, common interface 34,
// on-screen display 36, remote control 37) are never given out as filter handles.
bool Reserved(uint16_t handle) { return handle >= 32 && handle <= 37; }

constexpr uint16_t kRemotePort = 37;

// The installation's WAV file, else the desktop's sound server.
std::unique_ptr<ISoundSink> SoundSink(const std::string& wavPath) {
    if (wavPath.empty()) return std::make_unique<CPulseSink>();
    auto wav = std::make_unique<CWavFile>();
    if (!wav->Open(wavPath))
        std::cerr << "nvdvbsrv: " << wavPath << " kann nicht geschrieben werden\n";
    return wav;
}

}  // namespace

CEmulatedCard::CEmulatedCard(CInstallation installation, IDatagramSink& sink)
    : installation_(std::move(installation)),
      sink_(sink),
      tuner_(installation_),
      filters_(sink),
      teletext_(sink),
      sound_(SoundSink(installation_.audioWav)),
      videoDecoder_(CStreamDecoder::Kind::Video, picture_),
      audioDecoder_(CStreamDecoder::Kind::Audio, sound_),
      feed_(videoDecoder_, audioDecoder_, picture_),
      recorder_(feed_, sink, posts_, OwnAddress(),
                Port(kestrel::protocol::recorder::kPlaybackPortOffset).value_or(0)),
      player_({&filters_, &teletext_, &feed_, &recorder_}),
      cam_(sink, installation_.camSlot, [this](uint16_t program) { return PmtPidOf(program); }) {
    filters_.SetLiveClock(installation_.liveClock);
    picture_.SetOsdLayer(&osd_);
    picture_.SetPaced(true);
    StartOsdReceiver();
}

std::optional<uint32_t> CEmulatedCard::OwnAddress() const {
    const BoardIdentity& b = installation_.board;
    return kestrel::protocol::osd::CardAddress(b.ip, b.subnetMask);
}

std::optional<uint16_t> CEmulatedCard::Port(uint16_t offset) const {
    const uint32_t port = uint32_t(installation_.board.basePort) + offset;
    if (port > 0xFFFF) return std::nullopt;
    return uint16_t(port);
}

void CEmulatedCard::StartOsdReceiver() {
    const auto address = OwnAddress();
    const auto port = Port(kestrel::protocol::osd::kBitmapPortOffset);
    if (address && port) osdReceiver_ = std::make_unique<COsdReceiver>(osd_, *address, *port);
    if (!OsdReceiving())
        std::cerr << "nvdvbsrv: OSD-Bitmaps werden nicht empfangen: "
                  << (osdReceiver_ ? osdReceiver_->Error() : "Adresse oder Port ungültig") << "\n";
}

CEmulatedCard::~CEmulatedCard() { player_.Stop(); }

bool CEmulatedCard::BootFirmware(std::string_view directory) {
    std::error_code ec;
    firmwareRunning_ =
        !directory.empty() && std::filesystem::is_directory(std::filesystem::path(directory), ec);
    return firmwareRunning_;
}

uint32_t CEmulatedCard::FrontendType() const {
    return installation_.frontend == FrontendKind::Cable ? 3 : 1;
}

bool CEmulatedCard::SendDiseqc(std::span<const uint8_t> message, uint8_t burst) {
    int before = tuner_.Position();
    if (!tuner_.SendDiseqc(message, burst)) return false;
    // Switching the dish loses the signal until the next tune.
    if (tuner_.Position() != before && installation_.diseqc) {
        player_.Stop();
        playing_.reset();
        tuner_.Tune(ChannelParams{});
        ProbeVideo();
        FlushDecoders();
    }
    return true;
}

bool CEmulatedCard::Tune(const ChannelParams& params) {
    const Transponder* tp = tuner_.Tune(params);
    std::shared_ptr<const CTsFile> file = tp ? FileFor(*tp) : nullptr;
    if (file == playing_ && file) return true;  // same transponder: the stream goes on
    player_.Stop();
    playing_ = file;
    filters_.SetStreamTime(file ? file->StreamTime() : std::nullopt);
    ProbeVideo();
    FlushDecoders();
    if (!file) return false;
    player_.Play(file, installation_.speed);
    return true;
}

std::shared_ptr<const CTsFile> CEmulatedCard::FileFor(const Transponder& tp) {
    auto it = files_.find(tp.file);
    if (it != files_.end()) return it->second;
    std::string error;
    auto loaded = CTsFile::Load(tp.file, error);
    if (!loaded) {
        std::cerr << "nvdvbsrv: " << error << "\n";
        return nullptr;
    }
    auto file = std::make_shared<const CTsFile>(std::move(*loaded));
    files_.emplace(tp.file, file);
    return file;
}

SignalFigures CEmulatedCard::Signal() const {
    // A transponder whose stream cannot be read is not received.
    if (!playing_) return {};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return tuner_.Signal(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

std::optional<uint16_t> CEmulatedCard::FreeHandle() const {
    for (uint16_t h = 1; h < 1 + kMaxFilters + 6; ++h) {
        if (!Reserved(h) && !filters_.InUse(h) && !heldHandles_.count(h)) return h;
    }
    return std::nullopt;
}

std::optional<uint16_t> CEmulatedCard::AddSectionFilter(uint32_t client,
                                                        const SectionFilterSetting& setting) {
    auto handle = FreeHandle();
    if (!handle || !filters_.Add(client, *handle, setting)) return std::nullopt;
    return handle;
}

bool CEmulatedCard::RemoveFilter(uint32_t client, uint16_t handle) {
    // A suspended filter is gone already: removing it frees its handle.
    const auto held = heldHandles_.find(handle);
    if (held != heldHandles_.end() && held->second == client) {
        heldHandles_.erase(held);
        return true;
    }
    return filters_.Remove(client, handle);
}

void CEmulatedCard::RemoveClient(uint32_t client) {
    filters_.RemoveClient(client);
    recorder_.RemoveClient(client);
    std::erase_if(heldHandles_, [&](const auto& held) { return held.second == client; });
}

void CEmulatedCard::SuspendClient(uint32_t client) {
    for (const uint16_t handle : filters_.RemoveClient(client)) heldHandles_[handle] = client;
}

void CEmulatedCard::SetVideoPid(uint16_t pid) {
    videoPid_ = pid;
    ProbeVideo();
    videoDecoder_.SetPid(pid);
    picture_.Clear();
}

void CEmulatedCard::SetAudioPid(uint16_t pid) {
    audioPid_ = pid;
    audioDecoder_.SetPid(pid);
}

void CEmulatedCard::FlushDecoders() {
    videoDecoder_.Flush();
    audioDecoder_.Flush();
    picture_.Clear();
}

void CEmulatedCard::SetPictureParameters(uint8_t brightness, uint8_t contrast, uint8_t saturation) {
    picture_.SetPictureSettings(PictureSettings{brightness, contrast, saturation});
}

template <typename Change>
void CEmulatedCard::ChangeSound(Change change) {
    SoundSettings s = sound_.Settings();
    change(s);
    sound_.SetSettings(s);
}

void CEmulatedCard::SetDecoderVolume(uint32_t left, uint32_t right) {
    ChangeSound([&](SoundSettings& s) {
        s.decoderLeft = left;
        s.decoderRight = right;
    });
}

void CEmulatedCard::SetDecoderMute(bool mute) {
    ChangeSound([&](SoundSettings& s) { s.decoderMute = mute; });
}

void CEmulatedCard::SetAudioChannel(uint32_t channel) {
    ChangeSound([&](SoundSettings& s) { s.channel = channel; });
}

void CEmulatedCard::SetSoundChipVolume(int32_t left, int32_t right) {
    ChangeSound([&](SoundSettings& s) {
        s.chipLeft = left;
        s.chipRight = right;
    });
}

void CEmulatedCard::SetSoundChipMute(bool mute) {
    ChangeSound([&](SoundSettings& s) { s.chipMute = mute; });
}

void CEmulatedCard::ProbeVideo() {
    // Without lock the decoder has nothing to show.
    video_ = playing_ ? CVideoProbe::Probe(*playing_, videoPid_) : VideoInfo{};
}

std::optional<uint16_t> CEmulatedCard::PmtPidOf(uint16_t program) const {
    if (!playing_) return std::nullopt;
    // The first whole PAT of the stream answers.
    mpegts::SectionAssembler pat;
    std::optional<std::vector<PatEntry>> programs;
    for (size_t i = 0; i < playing_->PacketCount() && !programs; ++i) {
        const auto packet = mpegts::TsPacket::View(playing_->Packet(i));
        if (!packet || packet->Pid() != ProgramTables::kPatPid) continue;
        pat.Feed(playing_->Packet(i), [&](std::span<const uint8_t> section) {
            if (!programs) programs = ProgramTables::ParsePat(section);
        });
    }
    if (!programs) return std::nullopt;
    for (const PatEntry& e : *programs)
        if (e.program == program) return e.pmtPid;
    return std::nullopt;
}

std::optional<uint16_t> CEmulatedCard::StartTeletext(uint16_t pid) {
    if (pid > 0x1FFF) return std::nullopt;
    teletext_.SetPid(pid);
    return CTeletextDecoder::kPort;
}

bool CEmulatedCard::StopTeletext(uint16_t handle) {
    if (handle != CTeletextDecoder::kPort || !teletext_.Running()) return false;
    teletext_.Stop();
    return true;
}

void CEmulatedCard::SetRemoteControl(uint32_t type, uint16_t /*value*/) { remoteOn_ = type != 0; }

bool CEmulatedCard::PressKey(uint8_t code) {
    if (!remoteOn_) return false;
    // One key per datagram: the code in the low 6 bits, the top bit of the
    // second byte marks a valid key.
    const uint8_t datagram[2] = {uint8_t(code & 0x3F), 0x80};
    sink_.Send(kRemotePort, datagram);
    return true;
}

}  // namespace nvdvbsrv
