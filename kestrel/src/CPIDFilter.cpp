#include "kestrel/CPIDFilter.h"

#include <algorithm>

#include "Proxy.h"
#include "kestrel/protocol/Codecs.h"

using namespace kestrel;
using namespace kestrel::detail;

CPIDFilter::~CPIDFilter() {
    if (handle_ != kNoHandle) ShutDownFilter();
}

ErrReturn CPIDFilter::SetBitFilter(std::uint16_t pid, const std::uint8_t* filter,
                                   const std::uint8_t* mask, std::uint8_t length,
                                   std::uint16_t type) {
    if (handle_ != kNoHandle) return RET_INVALID;
    // Filter bytes run from 12 to 28 and mask bytes from 28 to 44: more than
    // 16 would overwrite the neighbouring field.
    if (length > kMaxLength || (length && (!filter || !mask))) return RET_INVALID;
    protocol::BitFilterRequest q;
    q.pid = pid;
    if (length) {
        std::copy_n(filter, length, q.filter.begin());
        std::copy_n(mask, length, q.mask.begin());
    }
    q.length = length;
    q.type = type;
    Request r(protocol::BitFilterRequest::kCommand);
    q.Encode(r);
    return Transact(
        r,
        [&](BlockReader& b) {
            if (const auto h = protocol::SingleValue<std::uint16_t>::Decode(b)) handle_ = h->value;
        },
        ReplyWait::Long);
}

ErrReturn CPIDFilter::ShutDownFilter() {
    const ErrReturn r = Slots(Command::PID_ShutDownFilter, handle_);
    if (r == RET_OK) handle_ = kNoHandle;
    return r;
}
