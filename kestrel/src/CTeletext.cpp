#include "kestrel/CTeletext.h"

#include "Proxy.h"

using namespace kestrel;
using namespace kestrel::detail;

CTeletext::~CTeletext() {
    if (handle_ != kNoHandle) TTXOff();
}

ErrReturn CTeletext::TTXOn(std::uint16_t pid) {
    if (handle_ != kNoHandle) return RET_INVALID;
    Request r(Command::TTX_On);
    protocol::SingleValue<std::uint16_t>{pid}.Encode(r);
    return Transact(r, [&](BlockReader& b) {
        if (const auto h = protocol::SingleValue<std::uint16_t>::Decode(b)) handle_ = h->value;
    });
}

ErrReturn CTeletext::TTXOff() {
    const ErrReturn r = Slots(Command::TTX_Off, handle_);
    if (r == RET_OK) handle_ = kNoHandle;
    return r;
}

ErrReturn CTeletext::TTXModifySearchTable(std::uint16_t a, std::uint16_t b, std::uint16_t c,
                                          TTX_REQUEST request) {
    return Slots(Command::TTX_ModifySearchTable, a, b, c, request);
}

ErrReturn CTeletext::TTXGetP29_P830(int v) { return Slots(Command::TTX_GetP29_P830, v); }
