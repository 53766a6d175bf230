#pragma once
// Request layouts shared by the client library and the card: one struct per
// block, each with its command, Encode (into a BlockWriter or the client's
// Request, anything with U32 and Bytes) and Decode (from a BlockReader; no
// value when a length or range in the block is out of bounds).
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

/// 21 BootARM: the firmware folder, sent by length without terminator.
struct BootArmRequest {
    static constexpr Command kCommand = Command::Board_BootARM;
    static constexpr std::size_t kMaxPath = kParamBlockSize - offs::kBootPath;
    std::string path;

    template <typename W>
    void Encode(W& w) const {
        w.U32(offs::kBootPathLength, static_cast<std::uint32_t>(path.size()));
        w.Bytes(offs::kBootPath, path.data(), path.size());
    }
    static std::optional<BootArmRequest> Decode(BlockReader& r) {
        const std::uint32_t n = r.U32(offs::kBootPathLength);
        if (n > kMaxPath) return std::nullopt;
        BootArmRequest q;
        q.path.assign(n, '\0');
        r.Bytes(offs::kBootPath, q.path.data(), n);
        q.path.resize(std::min<std::size_t>(n, q.path.find('\0')));
        return q;
    }
};

/// 60 SetBitFilter: PID, up to 16 filter and mask bytes, their count, type.
struct BitFilterRequest {
    static constexpr Command kCommand = Command::PID_SetBitFilter;
    std::uint32_t pid = 0;
    std::array<std::uint8_t, offs::kMaxFilterLength> filter{};
    std::array<std::uint8_t, offs::kMaxFilterLength> mask{};
    std::uint32_t length = 0;
    std::uint32_t type = 0;

    template <typename W>
    void Encode(W& w) const {
        const std::size_t n = std::min<std::size_t>(length, offs::kMaxFilterLength);
        w.U32(offs::kFilterPid, pid);
        w.Bytes(offs::kFilterBytes, filter.data(), n);
        w.Bytes(offs::kMaskBytes, mask.data(), n);
        w.U32(offs::kFilterLength, length);
        w.U32(offs::kFilterType, type);
    }
    static std::optional<BitFilterRequest> Decode(BlockReader& r) {
        BitFilterRequest q;
        q.pid = r.U32(offs::kFilterPid);
        q.length = r.U32(offs::kFilterLength);
        if (q.pid > 0x1FFF || q.length > offs::kMaxFilterLength) return std::nullopt;
        q.type = r.U32(offs::kFilterType);
        r.Bytes(offs::kFilterBytes, q.filter.data(), q.length);
        r.Bytes(offs::kMaskBytes, q.mask.data(), q.length);
        return q;
    }
};

/// 43 / 4909 DiSEqC: message length, tone burst, flag, message bytes. The card
/// takes at most 6 message bytes and a burst that fits a byte.
struct DiseqcRequest {
    static constexpr std::size_t kMaxCardMessage = 6;
    const std::uint8_t* message = nullptr;  ///< Encode: length bytes
    std::uint32_t length = 0;
    std::uint32_t burst = 0;
    std::uint32_t flag = 0;
    std::array<std::uint8_t, kMaxCardMessage> decoded{};  ///< Decode: the message

    template <typename W>
    void Encode(W& w) const {
        w.U32(offs::kDiseqcLength, length);
        w.U32(offs::kDiseqcBurst, burst);
        w.U32(offs::kDiseqcFlag, flag);
        w.Bytes(offs::kDiseqcMessage, message, length);
    }
    static std::optional<DiseqcRequest> Decode(BlockReader& r) {
        DiseqcRequest q;
        q.length = r.U32(offs::kDiseqcLength);
        q.burst = r.U32(offs::kDiseqcBurst);
        q.flag = r.U32(offs::kDiseqcFlag);
        if (q.length > kMaxCardMessage || q.burst > 255) return std::nullopt;
        r.Bytes(offs::kDiseqcMessage, q.decoded.data(), q.length);
        return q;
    }
};

/// 130 common-interface message: sub-command, 32 data bytes, data length. The
/// block holds 32 bytes; a longer length is cut to them on reading.
struct CiMessageRequest {
    static constexpr Command kCommand = Command::CI_Message;
    std::uint32_t subCommand = 0;
    std::array<std::uint8_t, offs::kMaxCiData> data{};
    std::uint32_t length = 0;

    std::size_t Size() const { return std::min<std::size_t>(length, data.size()); }

    template <typename W>
    void Encode(W& w) const {
        w.U32(offs::kCiSubCommand, subCommand);
        w.Bytes(offs::kCiData, data.data(), data.size());
        w.U32(offs::kCiDataLength, length);
    }
    static std::optional<CiMessageRequest> Decode(BlockReader& r) {
        CiMessageRequest q;
        q.subCommand = r.U32(offs::kCiSubCommand);
        q.length = r.U32(offs::kCiDataLength);
        if (q.subCommand > 0xFF) return std::nullopt;
        r.Bytes(offs::kCiData, q.data.data(), q.Size());
        return q;
    }
};

/// A block whose only argument or reply is one value in slot 0: 8, 16 or 32
/// bits wide (T's width), in the low bytes of the slot.
template <typename T>
struct SingleValue {
    static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);
    T value{};

    template <typename W>
    void Encode(W& w) const {
        w.U32(Slot(0), static_cast<std::uint32_t>(value));
    }
    static std::optional<SingleValue> Decode(BlockReader& r) {
        SingleValue v;
        if constexpr (sizeof(T) == 1)
            v.value = static_cast<T>(r.U8(Slot(0)));
        else if constexpr (sizeof(T) == 2)
            v.value = static_cast<T>(r.U16(Slot(0)));
        else
            v.value = static_cast<T>(r.U32(Slot(0)));
        if (!r.ok()) return std::nullopt;
        return v;
    }
};

}  // namespace kestrel::protocol
