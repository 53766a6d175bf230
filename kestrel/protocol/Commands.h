#pragma once
// Command codes carried in the first 16 bits of the parameter block, and the
// four link operations of the "DVB Client Message".
#include <cstdint>

namespace kestrel::protocol {

enum class Command : std::uint16_t {
    // audio processor
    MSP_Init = 10,
    MSP_SetVolume = 11,
    MSP_SetTrebleBass = 12,
    MSP_SetWide = 13,
    MSP_ReadStereo = 14,
    MSP_SetChannel = 15,
    MSP_SetStandard = 16,
    MSP_SetMute = 17,
    // board
    Board_InitPCI = 20,
    Board_BootARM = 21,
    Board_PingDVBServer = 22,
    Board_GetStatistics = 23,
    Board_GetMAC = 24,
    Board_GetIP = 25,
    Board_GetBEVersion = 26,
    Board_GetMulticastList = 27,
    Board_GetBoardMfg = 28,
    Board_GetSelfTestResult = 29,
    Board_GetFrontendType = 300,
    Board_GetFWRunningState = 2901,
    // front end
    FE_Init = 30,
    FE_SetFrequency = 31,
    FE_GetFrequency = 32,
    FE_GetStatus = 33,
    FE_GetStatusSignal = 331,
    FE_SetSymbolrate = 34,
    FE_GetSymbolrate = 35,
    FE_SetLNBParams = 36,
    FE_SetSlowBlank = 37,
    FE_SetFastBlank = 38,
    FE_SetMainSwitch = 39,
    FE_SetADSwitch = 40,
    FE_GetBitErrorRate = 41,
    FE_SetLOF = 42,
    FE_SendDiSEqCMsg = 43,
    FE_GetCodeRate = 47,
    FE_GetLNBParams = 48,
    FE_SetQAM = 49,
    FE_GetTPS = 491,
    FE_SetOFDM_Auto = 492,
    FE_SetOFDM_Mode = 493,
    FE_GetOFDM_Mode = 494,
    FE_ClearBit = 495,
    // newer front-end interface
    FE_zSetNewFrontendAPI = 4901,
    FE_zGetChannel = 4902,
    FE_zGetDemodStatus = 4903,
    FE_zGetSignal = 4904,
    FE_zManager = 4905,
    FE_zSetChannel = 4906,
    FE_zStartScan = 4907,
    FE_zStopScan = 4908,
    FE_zSendDiSEqCMsg = 4909,
    FE_zSetScanRange = 4910,
    FE_zGetFrontendAPI = 4911,
    FE_zSetFullScanRange = 4912,
    // MPEG decoder
    MPEG_SetVideoPID = 50,
    MPEG_GetVideoPID = 51,
    MPEG_SetAudioPID = 52,
    MPEG_GetAudioPid = 53,
    MPEG_GetDecoderStatus = 54,
    MPEG_GetAudioStatus = 55,
    MPEG_GetAudioBufferStatus = 56,
    MPEG_SetVolume = 57,
    MPEG_SetAudioMute = 58,
    MPEG_SetPictureParameters = 59,
    MPEG_SetVideoOutputMode = 590,
    MPEG_SetVideoTestMode = 591,
    MPEG_SetVideoStandard = 592,
    MPEG_SetAudioChannel = 593,
    MPEG_GetAudioChannel = 594,
    MPEG_LoopCDAudio = 595,
    MPEG_SetAspectRatio = 596,
    // PID filter
    PID_SetBitFilter = 60,
    PID_ShutDownFilter = 64,
    // remote control
    RC_SetRemoteControl = 70,
    // teletext
    TTX_On = 80,
    TTX_Off = 81,
    TTX_ModifySearchTable = 82,
    TTX_GetP29_P830 = 84,
    // on-screen display
    OSD_CreateOSDWindow = 90,
    OSD_DestroyOSDWindow = 91,
    OSD_MoveWindowAbs = 92,
    OSD_MoveWindowRel = 93,
    OSD_HideWindow = 94,
    OSD_DrawBlock = 95,
    OSD_DrawLine = 96,
    OSD_WriteText = 97,
    OSD_SetFont = 98,
    OSD_BringToTop = 99,
    OSD_SetColor = 100,
    OSD_SetBlend = 101,
    OSD_SetWindowBlend = 102,
    OSD_SetColorBlend = 103,
    OSD_ResetBlend = 104,
    OSD_OSDTest = 105,
    OSD_LoadBitmap = 106,
    OSD_BlitBitmap = 107,
    OSD_ReleaseBitmap = 108,
    // recording and playback (server's file method)
    REC_Open = 118,
    REC_Close = 119,
    REC_Record = 120,
    REC_Stop = 121,
    REC_Playback = 122,
    REC_Pause = 123,
    REC_Forward = 124,
    REC_Backward = 125,
    REC_SlowPlayback = 126,
    REC_FastPlayback = 127,
    REC_GetStatus = 128,
    REC_SetStatusChangedMessage = 129,
    // common interface: one command with a sub-command
    CI_Message = 130,
    // network recording and playback
    WS_Record = 140,
    WS_Stop = 141,
    WS_Playback = 142,
    WS_Pause = 143,
    WS_PlaySlow = 144,
    WS_PlayFast = 145,
    WS_RecPlayMethod = 146,
};

constexpr std::uint16_t Code(Command c) { return static_cast<std::uint16_t>(c); }

/// The long parameter of the "DVB Client Message".
enum class LinkOp : std::uint32_t {
    Connect = 1,     ///< synchronous; word 0; result low 16 bits = new client id, 0 refused
    Disconnect = 2,  ///< synchronous; word = client id; result ignored
    Request = 3,     ///< synchronous; word = client id; result = ErrReturn of the block's command
    KeepAlive = 4,   ///< posted; word = client id; no result
};

/// Sub-commands of the common-interface command 130 that the library sends.
namespace ci {
inline constexpr std::uint8_t kFilterReplyFailure = 0;
inline constexpr std::uint8_t kFilterReplySuccess = 1;
inline constexpr std::uint8_t kReadPSI = 2;
inline constexpr std::uint8_t kKey = 3;
inline constexpr std::uint8_t kSetProgram = 5;
inline constexpr std::uint8_t kEnterModuleMenu = 9;
inline constexpr std::uint8_t kReadPSIFast = 10;
inline constexpr std::uint8_t kGetSlotStatus = 11;
}  // namespace ci

/// Result values the library itself produces (the rest are the server's).
namespace ret {
inline constexpr std::uint32_t kOk = 1;
inline constexpr std::uint32_t kInvalid = 3;
inline constexpr std::uint32_t kFileError = 4;
inline constexpr std::uint32_t kSocketError = 6;
inline constexpr std::uint32_t kNoMemory = 8;
inline constexpr std::uint32_t kTimeout = 9;
}  // namespace ret

/// UDP port offsets relative to DVBBasePort that are fixed (filters and
/// teletext use their handle as the offset).
namespace port {
inline constexpr int kCommonInterface = 34;
inline constexpr int kOsdBitmap = 36;
inline constexpr int kRemoteControl = 37;
}  // namespace port

}  // namespace kestrel::protocol
