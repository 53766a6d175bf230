#pragma once
// Plain values that travel through IReceiver: results, filter descriptions and
// the decoder's state. No card library types, so that subsystems and their
// tests need nothing but this folder's interface.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "channellist/CTuningPlan.h"

/// The card's answer to one operation, passed through unchanged: 1 is
/// success, every other value the library's or the server's failure code.
struct CardResult {
    static constexpr int kOk = 1;
    int code = kOk;
    bool Ok() const { return code == kOk; }
    bool operator==(const CardResult&) const = default;
};

enum class TuneStatus {
    Locked,     ///< the front end took the channel and reports lock
    NotLocked,  ///< the channel was set, but there is no signal
    NoLnb,      ///< the program's LNB is not in the list: nothing was sent
    Failed,     ///< the tuning request itself failed (see cardResult)
};

struct TuneResult {
    TuneStatus status = TuneStatus::Failed;
    CardResult cardResult;                  ///< of the tuning request
    std::uint16_t frontendStatus = 0xFFFF;  ///< 0 locked, 1 not, 0xFFFF no answer
    CTuningPlan plan;                       ///< what was sent (empty for NoLnb)
};

/// Which sections a subscription receives. Every section whose PID and table
/// id match arrives on its own; with an extension, only those whose
/// table_id_extension (bytes 3-4 of a long section) equals it.
struct SectionFilter {
    std::uint16_t pid = 0;
    std::uint8_t tableId = 0;
    std::optional<std::uint16_t> tableIdExtension;
    bool operator==(const SectionFilter&) const = default;
};

/// One whole section (table id to CRC), valid only during the callback.
using SectionCallback = std::function<void(std::span<const std::uint8_t> section)>;
/// One teletext page datagram as the card sends it, valid only during the callback.
using PageCallback = std::function<void(std::span<const std::uint8_t> page)>;

/// Why a subscription was not made.
struct SubscribeError {
    enum Kind {
        None,
        CardRefused,   ///< the card refused the filter; code is its result
        SocketFailed,  ///< the receiving socket could not be opened; code is the socket error
        Busy,          ///< the card runs only one of these at a time and it is taken
    };
    Kind kind = None;
    int code = 0;
};

/// What the decoder reports. Picture fields are those of the stream's
/// sequence header; all zero when the state could not be read.
struct DecoderState {
    CardResult result;
    std::uint16_t videoPid = 0;
    std::uint16_t audioPid = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t format = 0;     ///< the card's picture format code
    std::uint16_t frameRate = 0;  ///< frame rate code
    std::uint16_t bitRate = 0;    ///< kbit/s
    std::uint16_t skippedPictures = 0;
    std::uint16_t repeatedPictures = 0;
};

/// File formats of the card's recorder (the card's own numbering). 6, an
/// MPEG transport stream of the program, is this card's addition.
enum class RecordFormat : int {
    None = 0,
    AudioPes = 1,
    AudioMp2 = 2,
    AudioPcm = 3,
    VideoPes = 4,
    AudioVideoPes = 5,
    TransportStream = 6,
};

/// The recorder's modes as the card reports them (0..7; others are unknown).
enum class RecordMode : int {
    Stopped = 0,
    Recording = 1,
    Playing = 2,
    Paused = 3,
    Forward = 4,
    Backward = 5,
    Slow = 6,
    Fast = 7,
};

/// What the recorder's status call answers (read only when `result` is 1).
struct RecorderStatus {
    CardResult result{0};
    std::uint32_t lengthMs = 0;    ///< length of the file being played
    std::uint32_t kbits = 0;       ///< bit rate, kbit/s
    std::uint32_t positionMs = 0;  ///< current position
    int mode = 0;                  ///< RecordMode value as the card sent it
    int format = 0;                ///< RecordFormat value as the card sent it
};
