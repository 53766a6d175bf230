#include "CRequestHandler.h"

#include <algorithm>
#include <array>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/BoardCodecs.h"
#include "kestrel/protocol/Codecs.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/FrontendCodecs.h"
#include "kestrel/protocol/MediaCodecs.h"
#include "kestrel/protocol/ParamBlock.h"

namespace nvdvbsrv {

namespace kp = kestrel::protocol;
using kp::BlockReader;
using kp::BlockWriter;
using kp::Command;
using kp::Slot;

namespace {

constexpr uint16_t C(Command c) { return kp::Code(c); }

ChannelParams ToParams(const kp::ChannelRecord& c) {
    return {c.frequency, c.lof,     c.symbolRate, c.polarisation,
            c.mode,      c.voltage, c.tone,       c.reserved};
}

kp::ChannelRecord ToRecord(const ChannelParams& c) {
    return {c.frequencyKHz, c.lofKHz,  c.symbolRate, c.polarisation,
            c.inversion,    c.voltage, c.tone,       c.reserved};
}

}  // namespace

uint32_t CRequestHandler::Handle(uint32_t client, std::span<uint8_t> block) {
    if (block.size() != kp::kParamBlockSize) return result::kBadRequest;
    ++requests_;
    BlockReader r(block);
    const uint16_t code = r.U16(kp::kCommandOffset);
    const Entry* e = Find(code);
    if (!e) return result::kUnknownCommand;
    return (this->*(e->handler))(client, code, block);
}

uint32_t CRequestHandler::Board(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    BlockWriter w(block);
    switch (code) {
        case C(Command::Board_InitPCI):
            return card_.Fails(StartStep::InitPci) ? result::kFailed : result::kOk;
        case C(Command::Board_PingDVBServer):
            return result::kOk;
        case C(Command::Board_BootARM): {
            const auto q = kp::BootArmRequest::Decode(r);
            if (!q) return result::kBadRequest;
            if (card_.Fails(StartStep::BootArm)) return result::kFailed;
            return card_.BootFirmware(q->path) ? result::kOk : result::kFailed;
        }
        case C(Command::Board_GetStatistics): {
            kp::StatisticsReply q;
            q.counters[0] = requests_;
            q.counters[1] = tunes_;
            q.counters[2] = card_.Signal().locked ? 1 : 0;
            q.Encode(w);
            return result::kOk;
        }
        case C(Command::Board_GetFrontendType):
            if (card_.Fails(StartStep::FrontendType)) return result::kFailed;
            w.U32(Slot(0), card_.FrontendType());
            return result::kOk;
        case C(Command::Board_GetFWRunningState):
            w.U32(Slot(0), card_.FirmwareRunning() ? 1 : 0);
            return result::kOk;
        default:
            return BoardInfo(0, code, block);
    }
}

uint32_t CRequestHandler::BoardInfo(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockWriter w(block);
    const BoardIdentity& b = card_.Board();
    switch (code) {
        case C(Command::Board_GetMAC):
            kp::MacReply{0, b.mac}.Encode(w);  // check 0: the MAC is valid
            return result::kOk;
        case C(Command::Board_GetIP):
            kp::IpConfigReply{0, b.ip, b.subnetMask, b.basePort}.Encode(w);  // check 0: valid
            return result::kOk;
        case C(Command::Board_GetBEVersion):
            kp::VersionReply{b.firmwareVersion, b.runtimeVersion, b.decoderRevision, b.firmwareDate,
                             b.firmwareTime}
                .Encode(w);
            return result::kOk;
        case C(Command::Board_GetMulticastList): {
            kp::MulticastListReply{}.Encode(w);  // no multicast addresses
            return result::kOk;
        }
        case C(Command::Board_GetBoardMfg):
            kp::BoardMfgReply{b.manufacturer, b.boardType}.Encode(w);
            return result::kOk;
        case C(Command::Board_GetSelfTestResult):
            kp::SelfTestReply{0, b.selfTestText}.Encode(w);
            return result::kOk;
        default:
            return result::kUnknownCommand;
    }
}

uint32_t CRequestHandler::TuneLegacy() {
    ++tunes_;
    ChannelParams c = legacy_;
    // SetLNBParams: slot 8 supply on, slot 12 voltage (13/18), slot 16 tone.
    c.voltage = lnbParams_[0] ? lnbParams_[1] : 0;
    c.tone = lnbParams_[2] ? 1 : 0;
    card_.Tune(c);
    return result::kOk;
}

uint32_t CRequestHandler::Frontend(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    BlockWriter w(block);
    switch (code) {
        case C(Command::FE_Init):
            return card_.Fails(StartStep::FrontendInit) ? result::kFailed : result::kOk;
        case C(Command::FE_SetSlowBlank):
        case C(Command::FE_SetFastBlank):
        case C(Command::FE_SetMainSwitch):
        case C(Command::FE_SetADSwitch):
        case C(Command::FE_ClearBit):
        case C(Command::FE_SetOFDM_Auto):
            return result::kOk;
        case C(Command::FE_SetFrequency):
            legacy_.frequencyKHz = r.U32(Slot(0));
            return TuneLegacy();
        case C(Command::FE_GetFrequency):
            w.U32(Slot(0), card_.Channel().frequencyKHz);
            return result::kOk;
        case C(Command::FE_SetSymbolrate):
            legacy_.symbolRate = r.U32(Slot(0));
            return TuneLegacy();
        case C(Command::FE_GetSymbolrate):
            w.U32(Slot(0), card_.Channel().symbolRate);
            return result::kOk;
        case C(Command::FE_SetLOF):
            legacy_.lofKHz = r.U32(Slot(0));
            return result::kOk;
        case C(Command::FE_SetLNBParams):
            for (size_t i = 0; i < 4; ++i) lnbParams_[i] = r.U32(Slot(i));
            if (lnbParams_[0] && lnbParams_[1] != 13 && lnbParams_[1] != 18) {
                return result::kBadRequest;
            }
            return result::kOk;
        case C(Command::FE_GetLNBParams):
            for (size_t i = 0; i < 3; ++i) w.U32(Slot(i), lnbParams_[i]);
            return result::kOk;
        case C(Command::FE_SendDiSEqCMsg):
            return Diseqc(block);
        case C(Command::FE_SetQAM):
            qam_ = r.U32(Slot(0));
            return result::kOk;
        case C(Command::FE_SetOFDM_Mode):
            ofdmMode_ = r.U8(Slot(0));
            return result::kOk;
        case C(Command::FE_GetOFDM_Mode):
            w.U8(Slot(0), ofdmMode_);
            return result::kOk;
        case C(Command::FE_GetTPS):
            return result::kNotSupported;  // no terrestrial front end
        default:
            return FrontendStatus(0, code, block);
    }
}

uint32_t CRequestHandler::FrontendStatus(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockWriter w(block);
    const SignalFigures s = card_.Signal();
    // Lock bits: carrier, signal, viterbi, sync, lock.
    const uint8_t lock = s.locked ? 0x1F : 0x00;
    switch (code) {
        case C(Command::FE_GetStatus):
            kp::StatusReply{lock, int32_t(s.agc), int32_t(s.snrTenths), uint8_t(s.locked ? 1 : 0),
                            uint8_t(s.locked ? 1 : 0)}
                .Encode(w);
            return result::kOk;
        case C(Command::FE_GetStatusSignal): {
            kp::StatusSignalReply reply;
            reply.lockState[0] = lock;
            reply.SetSignal(s.agc, s.snrTenths, s.strengthTenths, s.quality, s.afcKHz);
            reply.Encode(w);
            return result::kOk;
        }
        case C(Command::FE_GetBitErrorRate):
            kp::BitErrorRateReply{s.locked ? s.berMantissa : 0u,
                                  s.locked ? int32_t(s.berExponent) : 0, uint8_t(s.locked ? 1 : 0),
                                  lock}
                .Encode(w);
            return result::kOk;
        case C(Command::FE_GetCodeRate):
            w.U32(Slot(0), s.locked ? 3 : 0);  // 3/4
            return result::kOk;
        default:
            return result::kUnknownCommand;
    }
}

uint32_t CRequestHandler::Diseqc(std::span<uint8_t> block) {
    BlockReader r(block);
    const auto q = kp::DiseqcRequest::Decode(r);
    if (!q) return result::kBadRequest;
    return card_.SendDiseqc(std::span<const uint8_t>(q->decoded.data(), q->length),
                            uint8_t(q->burst))
               ? result::kOk
               : result::kBadRequest;
}

uint32_t CRequestHandler::NewFrontend(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    BlockWriter w(block);
    const SignalFigures s = card_.Signal();
    switch (code) {
        case C(Command::FE_zSetNewFrontendAPI):
            frontendApi_ = r.U32(Slot(0));
            return result::kOk;
        case C(Command::FE_zGetFrontendAPI):
            w.U16(Slot(0), uint16_t(frontendApi_));
            return result::kOk;
        case C(Command::FE_zSetChannel): {
            ++tunes_;
            const auto rec = kp::ChannelRecord::Decode(r);
            if (!rec) return result::kBadRequest;
            const bool locked = card_.Tune(ToParams(*rec));
            w.U16(Slot(0), locked ? 0 : 1);
            return result::kOk;
        }
        case C(Command::FE_zGetChannel):
            w.U16(Slot(0), tunes_ ? 0 : 1);
            ToRecord(card_.Channel()).Encode(w);
            return result::kOk;
        case C(Command::FE_zGetSignal): {
            kp::SignalRecord rec;
            rec.afc = s.afcKHz;
            rec.berMantissa = s.berMantissa;
            rec.berExponent = s.berExponent;
            rec.tenths = s.strengthTenths;
            rec.quality = s.quality;
            kp::FrontendStatusReply{0}.Encode(w);
            rec.Encode(w);
            return result::kOk;
        }
        case C(Command::FE_zGetDemodStatus):
            kp::DemodStatusReply{
                {uint16_t(s.locked ? 0x1F : 0), uint16_t(s.snrTenths), uint16_t(s.agc)}}
                .Encode(w);
            return result::kOk;
        case C(Command::FE_zManager):
        case C(Command::FE_zStartScan):
        case C(Command::FE_zStopScan):
            w.U16(Slot(0), 0);
            return result::kOk;
        case C(Command::FE_zSendDiSEqCMsg):
            return Diseqc(block);
        case C(Command::FE_zSetScanRange):
        case C(Command::FE_zSetFullScanRange):
            return result::kOk;
        default:
            return result::kUnknownCommand;
    }
}

uint32_t CRequestHandler::Decoder(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    BlockWriter w(block);
    switch (code) {
        case C(Command::MPEG_SetVideoPID):
        case C(Command::MPEG_SetAudioPID): {
            const uint32_t pid = r.U32(Slot(0));
            if (pid > 0x1FFF) return result::kBadRequest;
            if (code == C(Command::MPEG_SetVideoPID))
                card_.SetVideoPid(uint16_t(pid));
            else
                card_.SetAudioPid(uint16_t(pid));
            return result::kOk;
        }
        case C(Command::MPEG_GetVideoPID):
            w.U16(Slot(0), card_.VideoPid());
            return result::kOk;
        case C(Command::MPEG_GetAudioPid):
            w.U16(Slot(0), card_.AudioPid());
            return result::kOk;
        case C(Command::MPEG_GetDecoderStatus): {
            const VideoInfo v = card_.Video();
            kp::VideoStateReply q;
            q.SetPicture(v.width, v.height, v.aspect, v.frameRate, v.bitrateKbit);
            q.Encode(w);
            return result::kOk;
        }
        case C(Command::MPEG_GetAudioStatus):
            w.U32(Slot(0), card_.Signal().locked ? 1 : 0);
            return result::kOk;
        case C(Command::MPEG_GetAudioBufferStatus):
            w.U8(Slot(0), card_.Signal().locked ? 50 : 0);
            return result::kOk;
        case C(Command::MPEG_SetAudioChannel): {
            const uint32_t channel = r.U32(Slot(0));
            if (channel > 2) return result::kBadRequest;
            audioChannel_ = channel;
            card_.SetAudioChannel(channel);
            return result::kOk;
        }
        case C(Command::MPEG_SetVolume):
            card_.SetDecoderVolume(r.U32(Slot(0)), r.U32(Slot(1)));
            return result::kOk;
        case C(Command::MPEG_SetAudioMute):
            card_.SetDecoderMute(r.U32(Slot(0)) != 0);
            return result::kOk;
        case C(Command::MPEG_SetPictureParameters): {
            const uint32_t b = r.U32(Slot(0)), c = r.U32(Slot(1)), s = r.U32(Slot(2));
            if (b > 255 || c > 255 || s > 255) return result::kBadRequest;
            card_.SetPictureParameters(uint8_t(b), uint8_t(c), uint8_t(s));
            return result::kOk;
        }
        case C(Command::MPEG_GetAudioChannel):
            w.U32(Slot(0), audioChannel_);
            return result::kOk;
        default:
            return result::kOk;  // output mode, standard, test picture: no effect here
    }
}

uint32_t CRequestHandler::Filter(uint32_t client, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    BlockWriter w(block);
    if (code == C(Command::PID_ShutDownFilter)) {
        const uint32_t handle = r.U32(Slot(0));
        if (handle > 0xFFFF) return result::kBadRequest;
        return card_.RemoveFilter(client, uint16_t(handle)) ? result::kOk : result::kFailed;
    }
    const auto q = kp::BitFilterRequest::Decode(r);
    if (!q) return result::kBadRequest;
    SectionFilterSetting setting;
    setting.pid = uint16_t(q->pid);
    setting.length = uint8_t(q->length);
    setting.type = q->type;
    std::copy_n(q->filter.begin(), q->length, setting.filter.begin());
    std::copy_n(q->mask.begin(), q->length, setting.mask.begin());
    auto handle = card_.AddSectionFilter(client, setting);
    if (!handle) return result::kFailed;
    w.U16(Slot(0), *handle);
    return result::kOk;
}

uint32_t CRequestHandler::Teletext(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    BlockWriter w(block);
    const uint32_t value = r.U32(Slot(0));
    switch (code) {
        case C(Command::TTX_On): {
            if (value > 0x1FFF) return result::kBadRequest;
            auto handle = card_.StartTeletext(uint16_t(value));
            if (!handle) return result::kFailed;
            w.U16(Slot(0), *handle);
            return result::kOk;
        }
        case C(Command::TTX_Off):
            if (value > 0xFFFF) return result::kBadRequest;
            return card_.StopTeletext(uint16_t(value)) ? result::kOk : result::kFailed;
        case C(Command::TTX_ModifySearchTable):
            return TeletextSearchTable(block);
        case C(Command::TTX_GetP29_P830):
            return card_.TeletextRunning() ? result::kOk : result::kFailed;
        default:
            return result::kUnknownCommand;
    }
}

// The card's search table holds every page: pages go out from TTXOn on (a
// program change switches teletext off and on again without a new request).
// Page, subpage and the third value 0xFFFF with request 1 ask for every page
// and are confirmed; a table of single pages is not available.
uint32_t CRequestHandler::TeletextSearchTable(std::span<uint8_t> block) {
    BlockReader r(block);
    constexpr uint32_t kAll = 0xFFFF;
    constexpr uint32_t kRequestPages = 1;
    const uint32_t page = r.U32(Slot(0)), subpage = r.U32(Slot(1)), third = r.U32(Slot(2));
    const uint32_t request = r.U32(Slot(3));
    if (page > 0xFFFF || subpage > 0xFFFF || third > 0xFFFF) return result::kBadRequest;
    if (!card_.TeletextRunning()) return result::kFailed;
    if (page != kAll || subpage != kAll || third != kAll || request != kRequestPages)
        return result::kNotSupported;
    return result::kOk;
}

uint32_t CRequestHandler::CommonInterface(uint32_t, uint16_t, std::span<uint8_t> block) {
    BlockReader r(block);
    const auto q = kp::CiMessageRequest::Decode(r);
    if (!q) return result::kBadRequest;
    return card_.CiCommand(uint8_t(q->subCommand),
                           std::span<const uint8_t>(q->data.data(), q->Size()))
               ? result::kOk
               : result::kBadRequest;
}

uint32_t CRequestHandler::Overlay(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    uint32_t s[6];
    for (size_t i = 0; i < 6; ++i) s[i] = r.U32(Slot(i));
    COsd& osd = card_.Osd();
    OsdStatus status = OsdStatus::BadRequest;
    switch (code) {
        case C(Command::OSD_CreateOSDWindow):
            status = osd.CreateWindow(s[0], s[1], s[2], s[3]);
            break;
        case C(Command::OSD_DestroyOSDWindow):
            status = osd.DestroyWindow(s[0]);
            break;
        case C(Command::OSD_MoveWindowAbs):
            status = osd.MoveAbs(s[0], s[1], s[2]);
            break;
        case C(Command::OSD_MoveWindowRel):
            status = osd.MoveRel(s[0], s[1], s[2]);
            break;
        case C(Command::OSD_HideWindow):
            status = osd.Hide(s[0]);
            break;
        case C(Command::OSD_DrawBlock):
            status = osd.DrawBlock(s[0], s[1], s[2], s[3], s[4], s[5]);
            break;
        case C(Command::OSD_DrawLine):
            status = osd.DrawLine(s[0], s[1], s[2], s[3], s[4], s[5]);
            break;
        case C(Command::OSD_WriteText): {
            const auto q = kp::OverlayTextArgs::Decode(r);
            if (q) status = osd.WriteText(q->window, q->x, q->y, q->text);
            break;
        }
        case C(Command::OSD_SetFont):
            status = osd.SetFont(s[0], s[1], s[2], s[3]);
            break;
        case C(Command::OSD_BringToTop):
            status = osd.BringToTop(s[0]);
            break;
        case C(Command::OSD_SetColor):
            status = osd.SetColor(s[0], s[1], s[2], s[3], s[4]);
            break;
        case C(Command::OSD_SetBlend):
            status = osd.SetBlend(s[0], s[1], s[2], s[3]);
            break;
        case C(Command::OSD_SetWindowBlend):
            status = osd.SetWindowBlend(s[0], s[1]);
            break;
        case C(Command::OSD_SetColorBlend):
            status = osd.SetColorBlend(s[0]);
            break;
        case C(Command::OSD_ResetBlend):
            status = osd.ResetBlend(s[0]);
            break;
        case C(Command::OSD_OSDTest):
            status = osd.Test();
            break;
        case C(Command::OSD_LoadBitmap):
            status = osd.LoadBitmap(s[0], s[1], s[2]);
            break;
        case C(Command::OSD_BlitBitmap):
            status = osd.BlitBitmap(s[0], s[1], s[2], s[3]);
            break;
        case C(Command::OSD_ReleaseBitmap):
            status = osd.ReleaseBitmap();
            break;
        default:
            return result::kUnknownCommand;
    }
    return status == OsdStatus::Ok       ? result::kOk
           : status == OsdStatus::Failed ? result::kFailed
                                         : result::kBadRequest;
}

uint32_t CRequestHandler::Peripherals(uint32_t, uint16_t code, std::span<uint8_t> block) {
    BlockReader r(block);
    BlockWriter w(block);
    switch (code) {
        case C(Command::RC_SetRemoteControl): {
            const uint32_t value = r.U32(Slot(1));
            if (value > 0xFFFF) return result::kBadRequest;
            card_.SetRemoteControl(r.U32(Slot(0)), uint16_t(value));
            return result::kOk;
        }
        case C(Command::MSP_ReadStereo):
            w.U32(Slot(0), stereo_);
            return result::kOk;
        case C(Command::MSP_SetVolume):
            card_.SetSoundChipVolume(int32_t(r.U32(Slot(0))), int32_t(r.U32(Slot(1))));
            return result::kOk;
        case C(Command::MSP_SetMute):
            card_.SetSoundChipMute(r.U32(Slot(0)) != 0);
            return result::kOk;
        default:
            return result::kOk;  // tone, width, input and standard: no effect here
    }
}

}  // namespace nvdvbsrv
