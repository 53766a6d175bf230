#pragma once
// Helpers shared by the device proxies.
#include "kestrel/CServerConnection.h"
#include "kestrel/Request.h"

namespace kestrel::detail {

using protocol::BlockReader;
using protocol::Command;

inline ErrReturn Transact(const Request& r, const CServerConnection::ReplyReader& reader = {},
                          ReplyWait wait = ReplyWait::Timed) {
    return CServerConnection::Instance().Transact(r, reader, wait);
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

/// A command without arguments whose reply is the 32-bit slot at 8.
template <typename T>
ErrReturn GetSlot(Command c, T& out) {
    return Transact(Request(c), [&](BlockReader& b) { out = static_cast<T>(b.U32(8)); });
}

/// Same for a 16-bit reply at 8.
template <typename T>
ErrReturn GetU16(Command c, T& out) {
    return Transact(Request(c), [&](BlockReader& b) { out = static_cast<T>(b.U16(8)); });
}

}  // namespace kestrel::detail
