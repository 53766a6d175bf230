#include "kestrel/CCommonInterface.h"

#include <array>

#include "Proxy.h"
#include "kestrel/protocol/Codecs.h"

using namespace kestrel;
using namespace kestrel::detail;
namespace ci = kestrel::protocol::ci;

CCommonInterface::CCommonInterface() = default;
CCommonInterface::~CCommonInterface() { Close(); }

int CCommonInterface::Init() {
    socket_.owner = this;
    int error = 0;
    socket_.SOpen(kMessagePortOffset, &error);
    return 1;
}

int CCommonInterface::Close() {
    socket_.SClose();
    return 1;
}

void CCommonInterface::CMessageSocket::OnDataArrival(std::uint8_t* data, int length) {
    if (owner) owner->ProcessCiData(data, length);
}

namespace {
// Bytes each message type reads (its type byte included); 0 for the types
// that are not dispatched.
constexpr std::array<int, 15> kMinLength = {0, 4, 1, 1, 1, 3, 0, 0, 0, 1, 7, 2, 2, 3, 2};
constexpr std::uint8_t kOpenFilter = 10, kCloseFilter = 11;
}  // namespace

void CCommonInterface::ProcessCiData(std::uint8_t* m, int length) {
    if (!m || length < 1 || m[0] >= kMinLength.size()) return;
    const int type = m[0];
    if (kMinLength[static_cast<std::size_t>(type)] == 0 ||
        length < kMinLength[static_cast<std::size_t>(type)])
        return;
    char* text = reinterpret_cast<char*>(m);
    const auto size = static_cast<std::uint16_t>(length > 0xFFFF ? 0xFFFF : length);
    switch (type) {
        case 1:
            return OnSlotStatus(m[2], m[1], m + 3);
        case 2:
            OnDisplayMenu(text, size);
            return OnInputRequest(0, 1, 1);
        case 3:
            OnDisplayList(text, size);
            return OnInputRequest(0, 1, 1);
        case 4:
            return OnDisplayString(text, size);
        case 5:
            OnDisplayString(text, size);
            return OnInputRequest(m[1], m[2], 0x3FFFF);
        case 9:
            return OnSwitchOsdOff();
        case 10:
            return OpenModuleFilter(m);
        case 11:
            return CloseModuleFilter(m[1]);
        case 12:
            return OnCAStatus(0, 12, m + 1);
        case 13:
            return OnCAStatus(m[1], 13, m + 2);
        case 14:
            return OnCAStatus(0, 14, m + 1);
        default:
            return;
    }
}

void CCommonInterface::OpenModuleFilter(const std::uint8_t* m) {
    const std::uint8_t tableId = m[1], extHigh = m[2], extLow = m[3], number = m[6];
    const auto pid = static_cast<std::uint16_t>(m[4] << 8 | m[5]);
    if (number >= kModuleFilters) {
        const std::uint8_t reply[3] = {kOpenFilter, 1, number};
        SendCICommand(ci::kFilterReplyFailure, reply, 3);
        return;
    }
    // The table id, and for the PMT and the present/following events also
    // the table id extension (bytes 3 and 4 of the section).
    const std::uint8_t filter[5] = {tableId, 0, 0, extHigh, extLow};
    const std::uint8_t mask[5] = {0xFF, 0, 0, 0xFF, 0xFF};
    const std::uint8_t bytes = tableId == 0x02 || tableId == 0x4E ? 5 : 1;
    CFilterSocket& socket = filters_[number];
    bool ok = socket.Filter().SetBitFilter(pid, filter, mask, bytes, 4) == RET_OK;
    if (ok) {
        int error = 0;
        ok = socket.SOpen(socket.Filter().GetFilterHandle(), &error) == 1;
        if (!ok) socket.Filter().ShutDownFilter();
    }
    if (!ok) {
        const std::uint8_t reply[3] = {kOpenFilter, 2, number};
        SendCICommand(ci::kFilterReplyFailure, reply, 3);
        return;
    }
    const std::uint8_t reply[2] = {kOpenFilter, number};
    SendCICommand(ci::kFilterReplySuccess, reply, 2);
}

void CCommonInterface::CloseModuleFilter(std::uint8_t number) {
    if (number >= kModuleFilters) {
        const std::uint8_t reply[3] = {kCloseFilter, 1, number};
        SendCICommand(ci::kFilterReplyFailure, reply, 3);
        return;
    }
    CFilterSocket& socket = filters_[number];
    socket.SClose();
    if (socket.Filter().ShutDownFilter() != RET_OK) {
        const std::uint8_t reply[3] = {kCloseFilter, 3, number};
        SendCICommand(ci::kFilterReplyFailure, reply, 3);
        return;
    }
    const std::uint8_t reply[2] = {kCloseFilter, number};
    SendCICommand(ci::kFilterReplySuccess, reply, 2);
}

void CCommonInterface::OnSlotStatus(std::uint8_t, std::uint8_t, void*) {}
void CCommonInterface::OnCAStatus(std::uint8_t, std::uint8_t, std::uint8_t*) {}
void CCommonInterface::OnDisplayString(char*, std::uint16_t) {}
void CCommonInterface::OnDisplayMenu(char*, std::uint16_t) {}
void CCommonInterface::OnDisplayList(char*, std::uint16_t) {}
void CCommonInterface::OnSwitchOsdOff() {}
void CCommonInterface::OnInputRequest(int, std::uint8_t, std::uint32_t) {}

ErrReturn CCommonInterface::SendCICommand(std::uint8_t subCommand, const std::uint8_t* data,
                                          std::uint8_t length) {
    protocol::CiMessageRequest q;
    q.subCommand = subCommand;
    q.length = length;
    if (data && q.Size()) std::copy_n(data, q.Size(), q.data.begin());
    Request r(protocol::CiMessageRequest::kCommand);
    q.Encode(r);
    return Transact(r);
}

ErrReturn CCommonInterface::ReadPSI() { return SendCICommand(ci::kReadPSI, nullptr, 0); }

int CCommonInterface::KeyPressed(std::uint8_t key) {
    if (key > kMaxKey) return -1;
    SendCICommand(ci::kKey, &key, 1);
    return 0;
}

int CCommonInterface::InputReply(const std::uint8_t* keys, std::uint8_t count) {
    for (unsigned i = 0; keys && i < count; ++i) KeyPressed(keys[i]);
    return 1;
}

namespace {
void HighFirst(std::uint16_t v, std::uint8_t out[2]) {
    out[0] = static_cast<std::uint8_t>(v >> 8);
    out[1] = static_cast<std::uint8_t>(v);
}
}  // namespace

ErrReturn CCommonInterface::SetProgram(std::uint16_t programNumber) {
    std::uint8_t d[2];
    HighFirst(programNumber, d);
    return SendCICommand(ci::kSetProgram, d, 2);
}

int CCommonInterface::EnterModuleMenu(std::uint8_t slot) {
    SendCICommand(ci::kEnterModuleMenu, &slot, 1);
    return 1;
}

ErrReturn CCommonInterface::ReadPSIFast(std::uint16_t programNumber) {
    std::uint8_t d[2];
    HighFirst(programNumber, d);
    return SendCICommand(ci::kReadPSIFast, d, 2);
}

ErrReturn CCommonInterface::GetSlotStatus() {
    return SendCICommand(ci::kGetSlotStatus, nullptr, 0);
}

int CCommonInterface::ConvertCharBuf(std::string& text, int count) {
    const int limit = count < static_cast<int>(text.size()) ? count : static_cast<int>(text.size());
    for (int i = 0; i < limit; ++i) {
        if (static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]) == 0x8A) {
            text.resize(static_cast<std::size_t>(i));
            return i + 1;
        }
    }
    return count;
}
