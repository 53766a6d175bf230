#pragma once
// Decoder, recording, overlay and terrestrial-parameter layouts shared by the
// client library and the card.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/ParamBlock.h"

namespace kestrel::protocol {

/// GetDecoderStatus: the decoder state record from slot 0. The card fills the
/// picture size, format, frame rate and bit rate (16 bits each).
struct VideoStateReply {
    static constexpr Command kCommand = Command::MPEG_GetDecoderStatus;
    static constexpr std::size_t kWidth = 38;
    static constexpr std::size_t kHeight = 40;
    static constexpr std::size_t kFormat = 42;
    static constexpr std::size_t kFrameRate = 44;
    static constexpr std::size_t kBitrate = 46;
    std::array<std::uint8_t, offs::kVideoStateSize> raw{};

    void SetPicture(std::uint16_t width, std::uint16_t height, std::uint16_t format,
                    std::uint16_t frameRate, std::uint16_t bitrateKbit) {
        BlockWriter w(raw);
        w.U16(kWidth, width);
        w.U16(kHeight, height);
        w.U16(kFormat, format);
        w.U16(kFrameRate, frameRate);
        w.U16(kBitrate, bitrateKbit);
    }
    void Encode(BlockWriter& w) const { w.Bytes(Slot(0), raw.data(), raw.size()); }
    static std::optional<VideoStateReply> Decode(BlockReader& r) {
        VideoStateReply q;
        if (!r.Bytes(Slot(0), q.raw.data(), q.raw.size())) return std::nullopt;
        return q;
    }
};

/// REC_Open: format, direction (non-zero: playback), name length in slots 0
/// to 2, the name with its terminator from 20.
struct RecordOpenRequest {
    static constexpr Command kCommand = Command::REC_Open;
    static constexpr std::size_t kName = 20;
    std::uint32_t format = 0;
    std::uint32_t forPlayback = 0;
    std::string name;

    template <typename W>
    void Encode(W& w) const {
        w.U32(Slot(0), format);
        w.U32(Slot(1), forPlayback);
        w.U32(Slot(2), static_cast<std::uint32_t>(name.size()));
        w.Bytes(kName, name.c_str(), name.size() + 1);
    }
};

/// The card's side of REC_Open: nothing when the name's length runs past the
/// block's 380 characters or its terminator is not where the length says.
struct RecordOpenArgs {
    static constexpr std::size_t kMaxName = 380;
    std::uint32_t format = 0;
    std::uint32_t forPlayback = 0;
    std::string name;

    static std::optional<RecordOpenArgs> Decode(BlockReader& r) {
        RecordOpenArgs q;
        q.format = r.U32(Slot(0));
        q.forPlayback = r.U32(Slot(1));
        const std::uint32_t length = r.U32(Slot(2));
        if (!r.ok() || length > kMaxName || RecordOpenRequest::kName + length >= r.size())
            return std::nullopt;
        q.name.assign(length + 1, '\0');
        if (!r.Bytes(RecordOpenRequest::kName, q.name.data(), length + 1) || q.name.back() != '\0')
            return std::nullopt;
        q.name.pop_back();
        if (q.name.find('\0') != std::string::npos) return std::nullopt;
        return q;
    }
};

/// REC_GetStatus reply: length (ms), bit rate (kbit/s), position (ms), mode
/// and format in slots 0 to 4.
struct RecordStatusReply {
    static constexpr Command kCommand = Command::REC_GetStatus;
    std::uint32_t lengthMs = 0;
    std::uint32_t kbits = 0;
    std::uint32_t positionMs = 0;
    std::uint32_t mode = 0;
    std::uint32_t format = 0;

    void Encode(BlockWriter& w) const {
        const std::uint32_t f[5] = {lengthMs, kbits, positionMs, mode, format};
        for (std::size_t i = 0; i < 5; ++i) w.U32(Slot(i), f[i]);
    }
    static std::optional<RecordStatusReply> Decode(BlockReader& r) {
        RecordStatusReply q;
        std::uint32_t* f[5] = {&q.lengthMs, &q.kbits, &q.positionMs, &q.mode, &q.format};
        for (std::size_t i = 0; i < 5; ++i) *f[i] = r.U32(Slot(i));
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

/// OSD_WriteText: window, x, y, character count in slots 0 to 3, the
/// characters (no terminator) from 24.
struct OverlayTextRequest {
    static constexpr Command kCommand = Command::OSD_WriteText;
    static constexpr std::size_t kText = 24;
    std::uint32_t window = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    const char* text = nullptr;
    std::uint32_t count = 0;

    template <typename W>
    void Encode(W& w) const {
        w.U32(Slot(0), window);
        w.U32(Slot(1), x);
        w.U32(Slot(2), y);
        w.U32(Slot(3), count);
        w.Bytes(kText, text, count);
    }
};

/// The card's side of WriteText: the text bytes as sent (up to the first
/// NUL); nothing when the count runs past the block.
struct OverlayTextArgs {
    std::uint32_t window = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::string text;

    static std::optional<OverlayTextArgs> Decode(BlockReader& r) {
        OverlayTextArgs q;
        q.window = r.U32(Slot(0));
        q.x = r.U32(Slot(1));
        q.y = r.U32(Slot(2));
        const std::uint32_t count = r.U32(Slot(3));
        if (count > r.size() - OverlayTextRequest::kText) return std::nullopt;
        q.text.assign(count, '\0');
        if (!r.Bytes(OverlayTextRequest::kText, q.text.data(), count)) return std::nullopt;
        q.text.resize(std::min<std::size_t>(count, q.text.find('\0')));
        return q;
    }
};

/// GetTPS reply: sixteen 32-bit values from slot 0, in a slot order of the
/// card's own.
struct TpsReply {
    static constexpr Command kCommand = Command::FE_GetTPS;
    static constexpr std::size_t kFields = 16;
    /// Record field order: dw0 w4 b6 b7 b8 b9 b10 b11 b12 b13 w14 w16 dw20 dw24
    /// dw28 dw32, each taken from this slot.
    static constexpr std::array<std::size_t, kFields> kSlotOf = {8, 12, 9,  5, 4,  7,  2,  3,
                                                                 6, 10, 11, 1, 14, 15, 13, 0};
    std::array<std::uint32_t, kFields> fields{};  ///< in record order

    void Encode(BlockWriter& w) const {
        for (std::size_t i = 0; i < kFields; ++i) w.U32(Slot(kSlotOf[i]), fields[i]);
    }
    static std::optional<TpsReply> Decode(BlockReader& r) {
        TpsReply q;
        for (std::size_t i = 0; i < kFields; ++i) q.fields[i] = r.U32(Slot(kSlotOf[i]));
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

}  // namespace kestrel::protocol
