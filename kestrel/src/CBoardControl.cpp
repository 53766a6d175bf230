#include "kestrel/CBoardControl.h"

#include <algorithm>
#include <cstring>

#include "Proxy.h"
#include "kestrel/protocol/Codecs.h"

using namespace kestrel;
using namespace kestrel::detail;

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

ErrReturn CBoardControl::GetStatistics(std::uint32_t* counters, unsigned char count) {
    if (!counters && count) return RET_INVALID;
    const unsigned n = count < kMaxStatistics ? count : kMaxStatistics;
    return Transact(Request(Command::Board_GetStatistics), [&](BlockReader& b) {
        for (unsigned i = 0; i < n; ++i) counters[i] = b.U32(8 + 4 * i);
    });
}

ErrReturn CBoardControl::GetMAC(std::string& mac, int& check) {
    check = -1;
    return Transact(Request(Command::Board_GetMAC), [&](BlockReader& b) {
        check = b.I32(8);
        mac = b.Text(16, b.size());
    });
}

ErrReturn CBoardControl::GetIP(std::string& ip, std::string& mask, int& check) {
    check = -1;
    return Transact(Request(Command::Board_GetIP), [&](BlockReader& b) {
        check = b.I32(8);
        // Each text is bounded by its length slot and by the next field.
        ip = b.Text(20, std::min<std::size_t>(b.U32(12), 100 - 20));
        mask = b.Text(100, std::min<std::size_t>(b.U32(16), 180 - 100));
    });
}

ErrReturn CBoardControl::GetBEVersion(BE_VERSION& v) {
    return Transact(Request(Command::Board_GetBEVersion), [&](BlockReader& b) {
        v.Firmware = b.U32(8);
        v.Runtime = b.U32(12);
        v.VideoDecoder = b.U32(16);
        b.TextInto(20, 100 - 20, v.Date, sizeof v.Date);
        b.TextInto(100, b.size(), v.Time, sizeof v.Time);
    });
}

ErrReturn CBoardControl::GetMulticastList(_MC_LIST& list) {
    return Transact(Request(Command::Board_GetMulticastList), [&](BlockReader& b) {
        list.Count = b.U32(8);
        b.Bytes(12, list.Addresses, sizeof list.Addresses);
        b.Bytes(112, list.Extra, sizeof list.Extra);
        list.Value = b.U32(120);
    });
}

ErrReturn CBoardControl::GetBoardMfg(std::string& manufacturer, std::string& boardType) {
    return Transact(Request(Command::Board_GetBoardMfg), [&](BlockReader& b) {
        manufacturer = b.Text(16, std::min<std::size_t>(b.U32(8), 108 - 16));
        boardType = b.Text(108, b.U32(12));
    });
}

ErrReturn CBoardControl::GetSelfTestResult(int& result, std::string& text) {
    result = 0;
    return Transact(Request(Command::Board_GetSelfTestResult), [&](BlockReader& b) {
        result = b.I32(8);
        text = b.Text(16, b.U32(12));
    });
}

ErrReturn CBoardControl::GetFrontendType(FrontendChipType& type) {
    return GetSlot(Command::Board_GetFrontendType, type);
}

ErrReturn CBoardControl::GetFWRunningState(int& state) {
    state = 0;
    return GetSlot(Command::Board_GetFWRunningState, state);
}
