#include "kestrel/CCommonInterface.h"

#include "Proxy.h"
#include "kestrel/protocol/Codecs.h"

using namespace kestrel;
using namespace kestrel::detail;
namespace ci = kestrel::protocol::ci;

void CCommonInterface::OnSlotStatus(unsigned char, unsigned char, void*) {}
void CCommonInterface::OnCAStatus(unsigned char, unsigned char, unsigned char*) {}
void CCommonInterface::OnDisplayString(char*, unsigned short) {}
void CCommonInterface::OnDisplayMenu(char*, unsigned short) {}
void CCommonInterface::OnDisplayList(char*, unsigned short) {}
void CCommonInterface::OnSwitchOsdOff() {}
void CCommonInterface::OnInputRequest(int, unsigned char, unsigned long) {}

ErrReturn CCommonInterface::SendCICommand(unsigned char subCommand, const unsigned char* data,
                                          unsigned char length) {
    protocol::CiMessageRequest q;
    q.subCommand = subCommand;
    q.length = length;
    if (data && q.Size()) std::copy_n(data, q.Size(), q.data.begin());
    Request r(protocol::CiMessageRequest::kCommand);
    q.Encode(r);
    return Transact(r);
}

ErrReturn CCommonInterface::ReadPSI() { return SendCICommand(ci::kReadPSI, nullptr, 0); }

int CCommonInterface::KeyPressed(unsigned char key) {
    if (key > kMaxKey) return -1;
    SendCICommand(ci::kKey, &key, 1);
    return 0;
}

int CCommonInterface::InputReply(const unsigned char* keys, unsigned char count) {
    for (unsigned i = 0; keys && i < count; ++i) KeyPressed(keys[i]);
    return 1;
}

namespace {
void HighFirst(unsigned short v, unsigned char out[2]) {
    out[0] = static_cast<unsigned char>(v >> 8);
    out[1] = static_cast<unsigned char>(v);
}
}  // namespace

ErrReturn CCommonInterface::SetProgram(unsigned short programNumber) {
    unsigned char d[2];
    HighFirst(programNumber, d);
    return SendCICommand(ci::kSetProgram, d, 2);
}

int CCommonInterface::EnterModuleMenu(unsigned char slot) {
    SendCICommand(ci::kEnterModuleMenu, &slot, 1);
    return 1;
}

ErrReturn CCommonInterface::ReadPSIFast(unsigned short programNumber) {
    unsigned char d[2];
    HighFirst(programNumber, d);
    return SendCICommand(ci::kReadPSIFast, d, 2);
}

ErrReturn CCommonInterface::GetSlotStatus() {
    return SendCICommand(ci::kGetSlotStatus, nullptr, 0);
}

int CCommonInterface::ConvertCharBuf(std::string& text, int count) {
    const int limit = count < static_cast<int>(text.size()) ? count : static_cast<int>(text.size());
    for (int i = 0; i < limit; ++i) {
        if (static_cast<unsigned char>(text[static_cast<std::size_t>(i)]) == 0x8A) {
            text.resize(static_cast<std::size_t>(i));
            return i + 1;
        }
    }
    return count;
}
