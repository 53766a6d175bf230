#include "kestrel/CCommonInterface.h"

#include "Proxy.h"
#include "kestrel/protocol/Codecs.h"

using namespace kestrel;
using namespace kestrel::detail;
namespace ci = kestrel::protocol::ci;

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
