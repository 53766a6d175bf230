#pragma once
// Plain records and enumerations exchanged with the card. All records are
// copied to and from the parameter block field by field in little-endian
// order, so their in-memory layout is only a convenience for the caller.
#include <cstddef>
#include <cstdint>

/// Tuning record of the newer front-end interface (32 bytes).
struct CHANNEL_TYPE {
    std::uint32_t Frequency = 0;     ///< transponder frequency, kHz
    std::uint32_t LOF = 0;           ///< LNB local oscillator of the band in use, kHz
    std::uint32_t SymbolRate = 0;    ///< symbols per second
    std::uint32_t Polarisation = 0;  ///< reported: non-zero vertical; the program sends 0
    std::uint32_t Mode = 0;          ///< the program sends 2
    std::uint32_t LNBVoltage = 0;    ///< 13 or 18, 0 with the LNB supply off
    std::uint32_t Tone22kHz = 0;     ///< 1 on, 0 off
    std::uint32_t Reserved = 0;      ///< the program sends 0
};
static_assert(sizeof(CHANNEL_TYPE) == 32);

/// Signal figures of zGetSignal, kept as the 20 bytes the card sent.
struct SIGNAL_TYPE {
    std::uint8_t raw[20] = {};
    std::int32_t Level() const;         ///< signed 32 at 0
    std::uint16_t BerMantissa() const;  ///< 16 at 6
    std::int16_t BerExponent() const;   ///< signed 16 at 8 (power of two)
    std::uint16_t Tenths() const;       ///< 16 at 14, shown in tenths
    std::uint32_t Value16() const;      ///< 32 at 16
};

/// Lock state and signal record of GetStatus (opaque to the library).
struct LOCKSTATE {
    std::uint8_t raw[16] = {};
};
struct DVB_SIGNAL {
    std::uint8_t raw[20] = {};
};

/// Firmware versions of GetBEVersion.
struct BE_VERSION {
    std::uint32_t Firmware = 0;  ///< bits 20-23 major, 16-19 minor, 0-15 build; < 0x10000000 beta
    std::uint32_t Runtime = 0;
    std::uint32_t VideoDecoder = 0;
    char Date[13] = {};
    char Time[67] = {};
};
static_assert(offsetof(BE_VERSION, Date) == 12 && offsetof(BE_VERSION, Time) == 25);

/// Multicast list of GetMulticastList.
struct _MC_LIST {
    std::uint32_t Count = 0;
    std::uint8_t Addresses[96] = {};  ///< sixteen 6-byte addresses
    std::uint8_t Extra[6] = {};       ///< one further 6-byte address
    std::uint8_t Pad[2] = {};
    std::uint32_t Value = 0;
};
static_assert(offsetof(_MC_LIST, Extra) == 100 && offsetof(_MC_LIST, Value) == 108);

/// Terrestrial transmission parameters of GetTPS; fields named by record
/// offset, their meanings are the card's.
struct TYPE_TPS {
    std::uint32_t dw0 = 0;
    std::uint16_t w4 = 0;
    std::uint8_t b6 = 0, b7 = 0, b8 = 0, b9 = 0, b10 = 0, b11 = 0, b12 = 0, b13 = 0;
    std::uint16_t w14 = 0;
    std::uint16_t w16 = 0;
    std::uint32_t dw20 = 0, dw24 = 0, dw28 = 0, dw32 = 0;
};
static_assert(offsetof(TYPE_TPS, w14) == 14 && offsetof(TYPE_TPS, dw20) == 20 &&
              sizeof(TYPE_TPS) == 36);

/// Decoder state of GetDecoderStatus (92 bytes as sent).
struct VIDEOSTATE {
    std::uint8_t raw[92] = {};
    std::uint16_t Word(std::size_t offset) const;  ///< 16-bit field, 0 outside
    std::uint16_t SkippedPictures() const { return Word(14); }
    std::uint16_t RepeatedPictures() const { return Word(16); }
    std::uint16_t Width() const { return Word(38); }
    std::uint16_t Height() const { return Word(40); }
    std::uint16_t Format() const { return Word(42); }
    std::uint16_t FrameRate() const { return Word(44); }
    std::uint16_t BitRate() const { return Word(46); }  ///< kbit/s
};

enum FrontendChipType : int {
    FE_NONE = 0,
    FE_SAT1 = 1,
    FE_SAT2 = 2,
    FE_CABLE1 = 3,
    FE_CABLE2 = 4,
    FE_TERR1 = 5,
    FE_TERR2 = 6
};
enum CODERATE : int {};
enum QAM_TYPE : int {};
enum TYPE_OFDM_MODE : std::uint8_t {};
enum VIDEOOUTPUTMODE : int {};
enum VIDEOTESTMODE : int {};
enum VIDEOSTANDARD : int {};
enum AB_CHANNELS : int {};
enum TYPE_MONITOR_AR : int {};
enum IR_TYPE : int { IR_OFF = 0, IR_ON = 1 };
enum eMSPSound : int {};
enum eMSPInput : int {};
enum eMSPOutput : int {};
enum eMSPStandard : int {};
enum DISPTYPE : int {};
enum OSDPALTYPE : int {};
enum TTX_REQUEST : int {};

enum TYPE_REC_PLAY_FORMAT : int {
    RP_NONE = 0,
    RP_AUDIO_PES = 1,
    RP_AUDIO_MP2 = 2,
    RP_AUDIO_PCM = 3,
    RP_VIDEO_PES = 4,
    RP_AUDIO_VIDEO_PES = 5,
    RP_TRANSPORT_STREAM = 6,  ///< the emulated card's own: the program as a transport stream
};
enum REC_PLAY_MODE : int {
    RP_STOPPED = 0,
    RP_RECORDING = 1,
    RP_PLAYING = 2,
    RP_PAUSED = 3,
    RP_FORWARD = 4,
    RP_BACKWARD = 5,
    RP_SLOW = 6,
    RP_FAST = 7,
};
