#pragma once
// Board-control reply layouts shared by the client library and the card: IP
// configuration, MAC text, versions, manufacturer and self-test texts. The
// card writes each text with a terminator; the client bounds each text by its
// length slot (where there is one) and by the next field.
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

/// Writes at most maxChars characters of text and a terminator at offset.
/// Returns the characters written, for a length slot.
inline std::uint32_t PutTerminatedText(BlockWriter& w, std::size_t offset, const std::string& text,
                                       std::size_t maxChars) {
    const std::size_t n = std::min(text.size(), maxChars);
    w.Bytes(offset, text.data(), n);
    w.U8(offset + n, 0);
    return static_cast<std::uint32_t>(n);
}

/// GetIP: check word, IP and mask text lengths, IP text from 20, mask text
/// from 100, UDP base port (16 bits) at 180.
struct IpConfigReply {
    static constexpr Command kCommand = Command::Board_GetIP;
    static constexpr std::size_t kMaxCardText = 79;
    std::int32_t check = 0;
    std::string ip;
    std::string mask;
    std::uint16_t udpPort = 0;

    void Encode(BlockWriter& w) const {
        w.U32(offs::kIpCheck, static_cast<std::uint32_t>(check));
        w.U32(offs::kIpLength, PutTerminatedText(w, offs::kIpText, ip, kMaxCardText));
        w.U32(offs::kMaskLength, PutTerminatedText(w, offs::kMaskText, mask, kMaxCardText));
        w.U16(offs::kUdpPort, udpPort);
    }
    static std::optional<IpConfigReply> Decode(BlockReader& r) {
        IpConfigReply q;
        q.check = r.I32(offs::kIpCheck);
        q.ip = r.Text(offs::kIpText, std::min<std::size_t>(r.U32(offs::kIpLength),
                                                           offs::kMaskText - offs::kIpText));
        q.mask = r.Text(offs::kMaskText, std::min<std::size_t>(r.U32(offs::kMaskLength),
                                                               offs::kUdpPort - offs::kMaskText));
        q.udpPort = r.U16(offs::kUdpPort);
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

/// GetMAC: check word in slot 0, the address as text from 16.
struct MacReply {
    static constexpr Command kCommand = Command::Board_GetMAC;
    static constexpr std::size_t kText = 16;
    static constexpr std::size_t kMaxCardText = 60;
    std::int32_t check = 0;
    std::string mac;

    void Encode(BlockWriter& w) const {
        w.U32(Slot(0), static_cast<std::uint32_t>(check));
        PutTerminatedText(w, kText, mac, kMaxCardText);
    }
    static std::optional<MacReply> Decode(BlockReader& r) {
        MacReply q;
        q.check = r.I32(Slot(0));
        q.mac = r.Text(kText, r.size());
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

/// GetBEVersion: firmware, runtime and decoder versions in slots 0 to 2, the
/// firmware date text from 20 and its time text from 100.
struct VersionReply {
    static constexpr Command kCommand = Command::Board_GetBEVersion;
    static constexpr std::size_t kDate = 20;
    static constexpr std::size_t kTime = 100;
    static constexpr std::size_t kMaxCardDate = 12;
    static constexpr std::size_t kMaxCardTime = 60;
    std::uint32_t firmware = 0;
    std::uint32_t runtime = 0;
    std::uint32_t decoder = 0;
    std::string date;
    std::string time;

    void Encode(BlockWriter& w) const {
        w.U32(Slot(0), firmware);
        w.U32(Slot(1), runtime);
        w.U32(Slot(2), decoder);
        PutTerminatedText(w, kDate, date, kMaxCardDate);
        PutTerminatedText(w, kTime, time, kMaxCardTime);
    }
    static std::optional<VersionReply> Decode(BlockReader& r) {
        VersionReply q;
        q.firmware = r.U32(Slot(0));
        q.runtime = r.U32(Slot(1));
        q.decoder = r.U32(Slot(2));
        q.date = r.Text(kDate, kTime - kDate);
        q.time = r.Text(kTime, r.size());
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

/// GetBoardMfg: manufacturer and board-type text lengths in slots 0 and 1,
/// the manufacturer from 16 and the board type from 108.
struct BoardMfgReply {
    static constexpr Command kCommand = Command::Board_GetBoardMfg;
    static constexpr std::size_t kManufacturer = 16;
    static constexpr std::size_t kBoardType = 108;
    static constexpr std::size_t kMaxCardText = 91;
    std::string manufacturer;
    std::string boardType;

    void Encode(BlockWriter& w) const {
        w.U32(Slot(0), PutTerminatedText(w, kManufacturer, manufacturer, kMaxCardText));
        w.U32(Slot(1), PutTerminatedText(w, kBoardType, boardType, kMaxCardText));
    }
    static std::optional<BoardMfgReply> Decode(BlockReader& r) {
        BoardMfgReply q;
        q.manufacturer = r.Text(kManufacturer,
                                std::min<std::size_t>(r.U32(Slot(0)), kBoardType - kManufacturer));
        q.boardType = r.Text(kBoardType, r.U32(Slot(1)));
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

/// GetSelfTestResult: result in slot 0, text length in slot 1, text from 16.
struct SelfTestReply {
    static constexpr Command kCommand = Command::Board_GetSelfTestResult;
    static constexpr std::size_t kText = 16;
    static constexpr std::size_t kMaxCardText = 91;
    std::int32_t result = 0;
    std::string text;

    void Encode(BlockWriter& w) const {
        w.U32(Slot(0), static_cast<std::uint32_t>(result));
        w.U32(Slot(1), PutTerminatedText(w, kText, text, kMaxCardText));
    }
    static std::optional<SelfTestReply> Decode(BlockReader& r) {
        SelfTestReply q;
        q.result = r.I32(Slot(0));
        q.text = r.Text(kText, r.U32(Slot(1)));
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

/// GetStatistics: up to 36 counters (32 bits each) from slot 0.
struct StatisticsReply {
    static constexpr Command kCommand = Command::Board_GetStatistics;
    static constexpr std::size_t kCount = 36;
    std::array<std::uint32_t, kCount> counters{};

    void Encode(BlockWriter& w) const {
        for (std::size_t i = 0; i < kCount; ++i) w.U32(Slot(i), counters[i]);
    }
    static std::optional<StatisticsReply> Decode(BlockReader& r) {
        StatisticsReply q;
        for (std::size_t i = 0; i < kCount; ++i) q.counters[i] = r.U32(Slot(i));
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

/// GetMulticastList: count in slot 0, sixteen 6-byte addresses from 12, one
/// further address from 112, a value (32 bits) at 120.
struct MulticastListReply {
    static constexpr Command kCommand = Command::Board_GetMulticastList;
    static constexpr std::size_t kAddresses = 12;
    static constexpr std::size_t kExtra = 112;
    static constexpr std::size_t kValue = 120;
    std::uint32_t count = 0;
    std::array<std::uint8_t, 96> addresses{};
    std::array<std::uint8_t, 6> extra{};
    std::uint32_t value = 0;

    void Encode(BlockWriter& w) const {
        w.U32(Slot(0), count);
        w.Bytes(kAddresses, addresses.data(), addresses.size());
        w.Bytes(kExtra, extra.data(), extra.size());
        w.U32(kValue, value);
    }
    static std::optional<MulticastListReply> Decode(BlockReader& r) {
        MulticastListReply q;
        q.count = r.U32(Slot(0));
        r.Bytes(kAddresses, q.addresses.data(), q.addresses.size());
        r.Bytes(kExtra, q.extra.data(), q.extra.size());
        q.value = r.U32(kValue);
        if (!r.ok()) return std::nullopt;
        return q;
    }
};

}  // namespace kestrel::protocol
