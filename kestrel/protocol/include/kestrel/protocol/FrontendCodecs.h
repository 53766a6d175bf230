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

}  // namespace kestrel::protocol
