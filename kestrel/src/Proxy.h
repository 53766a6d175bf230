#pragma once
// Helpers shared by the device proxies.
#include "CServerLink.h"
#include "Request.h"
#include "kestrel/protocol/Codecs.h"

namespace kestrel::detail {

using protocol::BlockReader;
using protocol::Command;

inline ErrReturn Transact(const Request& r, const CServerLink::ReplyReader& reader = {},
                          ReplyWait wait = ReplyWait::Timed) {
    return CServerLink::Instance().Transact(r, reader, wait);
}

/// A command without arguments or reply.
inline ErrReturn Simple(Command c) { return Transact(Request(c)); }

/// A command with 32-bit slots from offset 8 and no reply.
template <typename... V>
ErrReturn Slots(Command c, V... values) {
    Request r(c);
    std::size_t offset = protocol::kFirstSlotOffset;
    ((r.Slot(offset, static_cast<std::uint32_t>(values)), offset += 4), ...);
    return Transact(r);
}

/// A command without arguments whose reply is one value of width V in slot 0.
template <typename V, typename T>
ErrReturn GetSingle(Command c, T& out) {
    return Transact(Request(c), [&](BlockReader& b) {
        if (const auto v = protocol::SingleValue<V>::Decode(b)) out = static_cast<T>(v->value);
    });
}

/// A command without arguments whose reply is the 32-bit slot 0.
template <typename T>
ErrReturn GetSlot(Command c, T& out) {
    return GetSingle<std::uint32_t>(c, out);
}

/// Same for a 16-bit reply.
template <typename T>
ErrReturn GetU16(Command c, T& out) {
    return GetSingle<std::uint16_t>(c, out);
}

}  // namespace kestrel::detail
