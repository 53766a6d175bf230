#include "kestrel/CBoardControl.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "Proxy.h"
#include "kestrel/protocol/BoardCodecs.h"
#include "kestrel/protocol/Codecs.h"

using namespace kestrel;
using namespace kestrel::detail;

namespace {
// Copies text into a fixed character field, cut to fit and always terminated.
template <std::size_t N>
void CopyText(const std::string& text, char (&dst)[N]) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(dst, text.data(), n);
    dst[n] = '\0';
}
}  // namespace

ErrReturn CBoardControl::InitPCI() { return Simple(Command::Board_InitPCI); }

ErrReturn CBoardControl::BootARM(const char* path) {
    if (!path) return RET_INVALID;
    const std::size_t n = std::strlen(path);
    if (n > kMaxBootPath) return RET_INVALID;  // would run past the block
    Request r(protocol::BootArmRequest::kCommand);
    protocol::BootArmRequest{std::string(path, n)}.Encode(r);
    return Transact(r);
}

ErrReturn CBoardControl::Init(const char* path) {
    const ErrReturn r = InitPCI();
    return r == RET_OK ? BootARM(path) : r;
}

ErrReturn CBoardControl::PingDVBServer() { return Simple(Command::Board_PingDVBServer); }

ErrReturn CBoardControl::GetStatistics(std::uint32_t* counters, std::uint8_t count) {
    if (!counters && count) return RET_INVALID;
    const unsigned n = count < kMaxStatistics ? count : kMaxStatistics;
    return Transact(Request(Command::Board_GetStatistics), [&](BlockReader& b) {
        const auto q = protocol::StatisticsReply::Decode(b);
        if (q) std::copy_n(q->counters.begin(), n, counters);
    });
}

ErrReturn CBoardControl::GetMAC(std::string& mac, int& check) {
    check = -1;
    return Transact(Request(Command::Board_GetMAC), [&](BlockReader& b) {
        auto q = protocol::MacReply::Decode(b);
        if (!q) return;
        check = q->check;
        mac = std::move(q->mac);
    });
}

ErrReturn CBoardControl::GetIP(std::string& ip, std::string& mask, int& check) {
    check = -1;
    return Transact(Request(Command::Board_GetIP), [&](BlockReader& b) {
        auto q = protocol::IpConfigReply::Decode(b);
        if (!q) return;
        check = q->check;
        ip = std::move(q->ip);
        mask = std::move(q->mask);
    });
}

ErrReturn CBoardControl::GetBEVersion(BE_VERSION& v) {
    return Transact(Request(Command::Board_GetBEVersion), [&](BlockReader& b) {
        const auto q = protocol::VersionReply::Decode(b);
        if (!q) return;
        v.Firmware = q->firmware;
        v.Runtime = q->runtime;
        v.VideoDecoder = q->decoder;
        CopyText(q->date, v.Date);
        CopyText(q->time, v.Time);
    });
}

ErrReturn CBoardControl::GetMulticastList(_MC_LIST& list) {
    return Transact(Request(Command::Board_GetMulticastList), [&](BlockReader& b) {
        const auto q = protocol::MulticastListReply::Decode(b);
        if (!q) return;
        list.Count = q->count;
        std::copy(q->addresses.begin(), q->addresses.end(), list.Addresses);
        std::copy(q->extra.begin(), q->extra.end(), list.Extra);
        list.Value = q->value;
    });
}

ErrReturn CBoardControl::GetBoardMfg(std::string& manufacturer, std::string& boardType) {
    return Transact(Request(Command::Board_GetBoardMfg), [&](BlockReader& b) {
        auto q = protocol::BoardMfgReply::Decode(b);
        if (!q) return;
        manufacturer = std::move(q->manufacturer);
        boardType = std::move(q->boardType);
    });
}

ErrReturn CBoardControl::GetSelfTestResult(int& result, std::string& text) {
    result = 0;
    return Transact(Request(Command::Board_GetSelfTestResult), [&](BlockReader& b) {
        auto q = protocol::SelfTestReply::Decode(b);
        if (!q) return;
        result = q->result;
        text = std::move(q->text);
    });
}

ErrReturn CBoardControl::GetFrontendType(FrontendChipType& type) {
    return GetSlot(Command::Board_GetFrontendType, type);
}

ErrReturn CBoardControl::GetFWRunningState(int& state) {
    state = 0;
    return GetSlot(Command::Board_GetFWRunningState, state);
}
