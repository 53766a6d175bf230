// The server's command table: which member function carries out which
// command. Codes not listed here answer result::kUnknownCommand.
#include <algorithm>
#include <iterator>
#include <span>

#include "CRequestHandler.h"
#include "kestrel/protocol/Commands.h"

namespace nvdvbsrv {

namespace {
using kestrel::protocol::Command;
constexpr uint16_t C(Command c) { return kestrel::protocol::Code(c); }
}  // namespace

const CRequestHandler::Entry* CRequestHandler::Find(uint16_t code) {
    // Sorted by code, so that a lookup is a binary search.
    static constexpr Entry kEntries[] = {
        {C(Command::MSP_Init), &CRequestHandler::Peripherals},
        {C(Command::MSP_SetVolume), &CRequestHandler::Peripherals},
        {C(Command::MSP_SetTrebleBass), &CRequestHandler::Peripherals},
        {C(Command::MSP_SetWide), &CRequestHandler::Peripherals},
        {C(Command::MSP_ReadStereo), &CRequestHandler::Peripherals},
        {C(Command::MSP_SetChannel), &CRequestHandler::Peripherals},
        {C(Command::MSP_SetStandard), &CRequestHandler::Peripherals},
        {C(Command::MSP_SetMute), &CRequestHandler::Peripherals},
        {C(Command::Board_InitPCI), &CRequestHandler::Board},
        {C(Command::Board_BootARM), &CRequestHandler::Board},
        {C(Command::Board_PingDVBServer), &CRequestHandler::Board},
        {C(Command::Board_GetStatistics), &CRequestHandler::Board},
        {C(Command::Board_GetMAC), &CRequestHandler::Board},
        {C(Command::Board_GetIP), &CRequestHandler::Board},
        {C(Command::Board_GetBEVersion), &CRequestHandler::Board},
        {C(Command::Board_GetMulticastList), &CRequestHandler::Board},
        {C(Command::Board_GetBoardMfg), &CRequestHandler::Board},
        {C(Command::Board_GetSelfTestResult), &CRequestHandler::Board},
        {C(Command::FE_Init), &CRequestHandler::Frontend},
        {C(Command::FE_SetFrequency), &CRequestHandler::Frontend},
        {C(Command::FE_GetFrequency), &CRequestHandler::Frontend},
        {C(Command::FE_GetStatus), &CRequestHandler::Frontend},
        {C(Command::FE_SetSymbolrate), &CRequestHandler::Frontend},
        {C(Command::FE_GetSymbolrate), &CRequestHandler::Frontend},
        {C(Command::FE_SetLNBParams), &CRequestHandler::Frontend},
        {C(Command::FE_SetSlowBlank), &CRequestHandler::Frontend},
        {C(Command::FE_SetFastBlank), &CRequestHandler::Frontend},
        {C(Command::FE_SetMainSwitch), &CRequestHandler::Frontend},
        {C(Command::FE_SetADSwitch), &CRequestHandler::Frontend},
        {C(Command::FE_GetBitErrorRate), &CRequestHandler::Frontend},
        {C(Command::FE_SetLOF), &CRequestHandler::Frontend},
        {C(Command::FE_SendDiSEqCMsg), &CRequestHandler::Frontend},
        {C(Command::FE_GetCodeRate), &CRequestHandler::Frontend},
        {C(Command::FE_GetLNBParams), &CRequestHandler::Frontend},
        {C(Command::FE_SetQAM), &CRequestHandler::Frontend},
        {C(Command::MPEG_SetVideoPID), &CRequestHandler::Decoder},
        {C(Command::MPEG_GetVideoPID), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetAudioPID), &CRequestHandler::Decoder},
        {C(Command::MPEG_GetAudioPid), &CRequestHandler::Decoder},
        {C(Command::MPEG_GetDecoderStatus), &CRequestHandler::Decoder},
        {C(Command::MPEG_GetAudioStatus), &CRequestHandler::Decoder},
        {C(Command::MPEG_GetAudioBufferStatus), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetVolume), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetAudioMute), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetPictureParameters), &CRequestHandler::Decoder},
        {C(Command::PID_SetBitFilter), &CRequestHandler::Filter},
        {C(Command::PID_ShutDownFilter), &CRequestHandler::Filter},
        {C(Command::RC_SetRemoteControl), &CRequestHandler::Peripherals},
        {C(Command::TTX_On), &CRequestHandler::Teletext},
        {C(Command::TTX_Off), &CRequestHandler::Teletext},
        {C(Command::TTX_ModifySearchTable), &CRequestHandler::Teletext},
        {C(Command::TTX_GetP29_P830), &CRequestHandler::Teletext},
        {C(Command::OSD_CreateOSDWindow), &CRequestHandler::Overlay},
        {C(Command::OSD_DestroyOSDWindow), &CRequestHandler::Overlay},
        {C(Command::OSD_MoveWindowAbs), &CRequestHandler::Overlay},
        {C(Command::OSD_MoveWindowRel), &CRequestHandler::Overlay},
        {C(Command::OSD_HideWindow), &CRequestHandler::Overlay},
        {C(Command::OSD_DrawBlock), &CRequestHandler::Overlay},
        {C(Command::OSD_DrawLine), &CRequestHandler::Overlay},
        {C(Command::OSD_WriteText), &CRequestHandler::Overlay},
        {C(Command::OSD_SetFont), &CRequestHandler::Overlay},
        {C(Command::OSD_BringToTop), &CRequestHandler::Overlay},
        {C(Command::OSD_SetColor), &CRequestHandler::Overlay},
        {C(Command::OSD_SetBlend), &CRequestHandler::Overlay},
        {C(Command::OSD_SetWindowBlend), &CRequestHandler::Overlay},
        {C(Command::OSD_SetColorBlend), &CRequestHandler::Overlay},
        {C(Command::OSD_ResetBlend), &CRequestHandler::Overlay},
        {C(Command::OSD_OSDTest), &CRequestHandler::Overlay},
        {C(Command::OSD_LoadBitmap), &CRequestHandler::Overlay},
        {C(Command::OSD_BlitBitmap), &CRequestHandler::Overlay},
        {C(Command::OSD_ReleaseBitmap), &CRequestHandler::Overlay},
        {C(Command::REC_Open), &CRequestHandler::Recorder},
        {C(Command::REC_Close), &CRequestHandler::Recorder},
        {C(Command::REC_Record), &CRequestHandler::Recorder},
        {C(Command::REC_Stop), &CRequestHandler::Recorder},
        {C(Command::REC_Playback), &CRequestHandler::Recorder},
        {C(Command::REC_Pause), &CRequestHandler::Recorder},
        {C(Command::REC_Forward), &CRequestHandler::Recorder},
        {C(Command::REC_Backward), &CRequestHandler::Recorder},
        {C(Command::REC_SlowPlayback), &CRequestHandler::Recorder},
        {C(Command::REC_FastPlayback), &CRequestHandler::Recorder},
        {C(Command::REC_GetStatus), &CRequestHandler::Recorder},
        {C(Command::REC_SetStatusChangedMessage), &CRequestHandler::Recorder},
        {C(Command::CI_Message), &CRequestHandler::CommonInterface},
        {C(Command::WS_Record), &CRequestHandler::Recorder},
        {C(Command::WS_Stop), &CRequestHandler::Recorder},
        {C(Command::WS_Playback), &CRequestHandler::Recorder},
        {C(Command::WS_Pause), &CRequestHandler::Recorder},
        {C(Command::WS_PlaySlow), &CRequestHandler::Recorder},
        {C(Command::WS_PlayFast), &CRequestHandler::Recorder},
        {C(Command::WS_RecPlayMethod), &CRequestHandler::Recorder},
        {C(Command::Board_GetFrontendType), &CRequestHandler::Board},
        {C(Command::FE_GetStatusSignal), &CRequestHandler::Frontend},
        {C(Command::FE_GetTPS), &CRequestHandler::Frontend},
        {C(Command::FE_SetOFDM_Auto), &CRequestHandler::Frontend},
        {C(Command::FE_SetOFDM_Mode), &CRequestHandler::Frontend},
        {C(Command::FE_GetOFDM_Mode), &CRequestHandler::Frontend},
        {C(Command::FE_ClearBit), &CRequestHandler::Frontend},
        {C(Command::MPEG_SetVideoOutputMode), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetVideoTestMode), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetVideoStandard), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetAudioChannel), &CRequestHandler::Decoder},
        {C(Command::MPEG_GetAudioChannel), &CRequestHandler::Decoder},
        {C(Command::MPEG_LoopCDAudio), &CRequestHandler::Decoder},
        {C(Command::MPEG_SetAspectRatio), &CRequestHandler::Decoder},
        {C(Command::Board_GetFWRunningState), &CRequestHandler::Board},
        {C(Command::FE_zSetNewFrontendAPI), &CRequestHandler::NewFrontend},
        {C(Command::FE_zGetChannel), &CRequestHandler::NewFrontend},
        {C(Command::FE_zGetDemodStatus), &CRequestHandler::NewFrontend},
        {C(Command::FE_zGetSignal), &CRequestHandler::NewFrontend},
        {C(Command::FE_zManager), &CRequestHandler::NewFrontend},
        {C(Command::FE_zSetChannel), &CRequestHandler::NewFrontend},
        {C(Command::FE_zStartScan), &CRequestHandler::NewFrontend},
        {C(Command::FE_zStopScan), &CRequestHandler::NewFrontend},
        {C(Command::FE_zSendDiSEqCMsg), &CRequestHandler::NewFrontend},
        {C(Command::FE_zSetScanRange), &CRequestHandler::NewFrontend},
        {C(Command::FE_zGetFrontendAPI), &CRequestHandler::NewFrontend},
        {C(Command::FE_zSetFullScanRange), &CRequestHandler::NewFrontend},
    };
    static constexpr std::span<const Entry> kTable(kEntries);
    static_assert(std::is_sorted(std::begin(kEntries), std::end(kEntries),
                                 [](const Entry& a, const Entry& b) { return a.code < b.code; }));
    const auto it = std::lower_bound(kTable.begin(), kTable.end(), code,
                                     [](const Entry& e, uint16_t c) { return e.code < c; });
    return it != kTable.end() && it->code == code ? &*it : nullptr;
}

bool CRequestHandler::Serves(uint16_t code) { return Find(code) != nullptr; }

}  // namespace nvdvbsrv
