#pragma once
// Front-end layouts shared by the client library and the card: the 32-byte
// channel record of zSetChannel / zGetChannel and the 20-byte signal record
// of zGetSignal, each written and read in one place.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/ParamBlock.h"

namespace kestrel::protocol {

/// Eight 32-bit fields in this order, from offs::kChannelRecord.
struct ChannelRecord {
    std::uint32_t frequency = 0;
    std::uint32_t lof = 0;
    std::uint32_t symbolRate = 0;
    std::uint32_t polarisation = 0;
    std::uint32_t mode = 0;
    std::uint32_t voltage = 0;
    std::uint32_t tone = 0;
    std::uint32_t reserved = 0;

    template <typename W>
    void Encode(W& w) const {
        const std::uint32_t f[8] = {frequency, lof,     symbolRate, polarisation,
                                    mode,      voltage, tone,       reserved};
        for (std::size_t i = 0; i < 8; ++i) w.U32(offs::kChannelRecord + 4 * i, f[i]);
    }
    static std::optional<ChannelRecord> Decode(BlockReader& r) {
        ChannelRecord c;
        std::uint32_t* f[8] = {&c.frequency, &c.lof,     &c.symbolRate, &c.polarisation,
                               &c.mode,      &c.voltage, &c.tone,       &c.reserved};
        for (std::size_t i = 0; i < 8; ++i) *f[i] = r.U32(offs::kChannelRecord + 4 * i);
        if (!r.ok()) return std::nullopt;
        return c;
    }
};

/// The 16-bit status word the z-commands of the front end answer with.
struct FrontendStatusReply {
    std::uint16_t status = 0;

    template <typename W>
    void Encode(W& w) const {
        w.U16(Slot(0), status);
    }
    static std::optional<FrontendStatusReply> Decode(BlockReader& r) {
        FrontendStatusReply s;
        s.status = r.U16(Slot(0));
        if (!r.ok()) return std::nullopt;
        return s;
    }
};

/// 20-byte signal record: AFC (signed 32 bits) at 0, bit-error mantissa at 6 and
/// exponent at 8 (16 bits each), strength in tenths at 14, quality (32 bits)
/// at 16. The block carries it from offs::kSignalRecord.
struct SignalRecord {
    static constexpr std::size_t kAfc = 0;
    static constexpr std::size_t kBerMantissa = 6;
    static constexpr std::size_t kBerExponent = 8;
    static constexpr std::size_t kTenths = 14;
    static constexpr std::size_t kQuality = 16;
    using Raw = std::array<std::uint8_t, offs::kSignalRecordSize>;

    std::int32_t afc = 0;
    std::uint16_t berMantissa = 0;
    std::int16_t berExponent = 0;
    std::uint16_t tenths = 0;
    std::uint32_t quality = 0;

    Raw ToBytes() const {
        Raw raw{};
        BlockWriter w(raw);
        w.U32(kAfc, static_cast<std::uint32_t>(afc));
        w.U16(kBerMantissa, berMantissa);
        w.U16(kBerExponent, static_cast<std::uint16_t>(berExponent));
        w.U16(kTenths, tenths);
        w.U32(kQuality, quality);
        return raw;
    }
    /// Reads the record from its own 20 bytes (shorter input gives nothing).
    static std::optional<SignalRecord> FromBytes(std::span<const std::uint8_t> raw) {
        BlockReader r(raw);
        SignalRecord s;
        s.afc = r.I32(kAfc);
        s.berMantissa = r.U16(kBerMantissa);
        s.berExponent = static_cast<std::int16_t>(r.U16(kBerExponent));
        s.tenths = r.U16(kTenths);
        s.quality = r.U32(kQuality);
        if (!r.ok()) return std::nullopt;
        return s;
    }

    template <typename W>
    void Encode(W& w) const {
        const Raw raw = ToBytes();
        w.Bytes(offs::kSignalRecord, raw.data(), raw.size());
    }
};

/// GetStatus reply: lock bits (8 bits) in slot 0, AGC and SNR in tenths
/// (signed 32) in slots 1 and 2, two flag bytes in slots 3 and 4.
struct StatusReply {
    static constexpr Command kCommand = Command::FE_GetStatus;
    std::uint8_t lock = 0;
    std::int32_t agc = 0;
    std::int32_t snrTenths = 0;
    std::uint8_t flag3 = 0;
    std::uint8_t flag4 = 0;

    template <typename W>
    void Encode(W& w) const {
        w.U8(Slot(0), lock);
        w.U32(Slot(1), static_cast<std::uint32_t>(agc));
        w.U32(Slot(2), static_cast<std::uint32_t>(snrTenths));
        w.U8(Slot(3), flag3);
        w.U8(Slot(4), flag4);
    }
    static std::optional<StatusReply> Decode(BlockReader& r) {
        StatusReply s;
        s.lock = r.U8(Slot(0));
        s.agc = r.I32(Slot(1));
        s.snrTenths = r.I32(Slot(2));
        s.flag3 = r.U8(Slot(3));
        s.flag4 = r.U8(Slot(4));
        if (!r.ok()) return std::nullopt;
        return s;
    }
};

/// GetStatusSignal reply: a 16-byte lock state from 8, then a 20-byte signal
/// record from 48 (AGC, SNR, strength, quality, AFC; 32 bits each).
struct StatusSignalReply {
    static constexpr Command kCommand = Command::FE_GetStatusSignal;
    static constexpr std::size_t kLockState = 8;
    static constexpr std::size_t kLockStateSize = 16;
    static constexpr std::size_t kSignal = 48;
    static constexpr std::size_t kSignalSize = 20;
    std::array<std::uint8_t, kLockStateSize> lockState{};
    std::array<std::uint8_t, kSignalSize> signal{};

    /// The card's signal fields in record order.
    void SetSignal(std::uint32_t agc, std::uint32_t snrTenths, std::uint32_t strengthTenths,
                   std::uint32_t quality, std::int32_t afc) {
        BlockWriter w(signal);
        w.U32(0, agc);
        w.U32(4, snrTenths);
        w.U32(8, strengthTenths);
        w.U32(12, quality);
        w.U32(16, static_cast<std::uint32_t>(afc));
    }

    template <typename W>
    void Encode(W& w) const {
        w.Bytes(kLockState, lockState.data(), lockState.size());
        w.Bytes(kSignal, signal.data(), signal.size());
    }
    static std::optional<StatusSignalReply> Decode(BlockReader& r) {
        StatusSignalReply s;
        if (!r.Bytes(kLockState, s.lockState.data(), s.lockState.size()) ||
            !r.Bytes(kSignal, s.signal.data(), s.signal.size()))
            return std::nullopt;
        return s;
    }
};

/// GetBitErrorRate reply: rate and a signed value in slots 0 and 1, two bytes
/// in slots 2 and 3.
struct BitErrorRateReply {
    static constexpr Command kCommand = Command::FE_GetBitErrorRate;
    std::uint32_t rate = 0;
    std::int32_t value = 0;
    std::uint8_t byte2 = 0;
    std::uint8_t byte3 = 0;

    template <typename W>
    void Encode(W& w) const {
        w.U32(Slot(0), rate);
        w.U32(Slot(1), static_cast<std::uint32_t>(value));
        w.U8(Slot(2), byte2);
        w.U8(Slot(3), byte3);
    }
    static std::optional<BitErrorRateReply> Decode(BlockReader& r) {
        BitErrorRateReply b;
        b.rate = r.U32(Slot(0));
        b.value = r.I32(Slot(1));
        b.byte2 = r.U8(Slot(2));
        b.byte3 = r.U8(Slot(3));
        if (!r.ok()) return std::nullopt;
        return b;
    }
};

/// zGetDemodStatus reply: three 16-bit words in slots 0 to 2.
struct DemodStatusReply {
    static constexpr Command kCommand = Command::FE_zGetDemodStatus;
    std::array<std::uint16_t, 3> words{};

    template <typename W>
    void Encode(W& w) const {
        for (std::size_t i = 0; i < words.size(); ++i) w.U16(Slot(i), words[i]);
    }
    static std::optional<DemodStatusReply> Decode(BlockReader& r) {
        DemodStatusReply d;
        for (std::size_t i = 0; i < d.words.size(); ++i) d.words[i] = r.U16(Slot(i));
        if (!r.ok()) return std::nullopt;
        return d;
    }
};

/// zGetSignal and zManager requests: one 32-bit argument in slot 1.
struct FrontendArgumentRequest {
    std::uint32_t value = 0;

    template <typename W>
    void Encode(W& w) const {
        w.U32(Slot(1), value);
    }
    static std::optional<FrontendArgumentRequest> Decode(BlockReader& r) {
        FrontendArgumentRequest a{r.U32(Slot(1))};
        if (!r.ok()) return std::nullopt;
        return a;
    }
};

}  // namespace kestrel::protocol
