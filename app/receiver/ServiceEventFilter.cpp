#include "receiver/ServiceEventFilter.h"

#include "channellist/CProgramInfo.h"

ServiceEventFilter ServiceEventFilter::For(std::uint8_t tableId, std::uint8_t tableMask,
                                           const CProgramInfo& program) {
    const auto high = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
    const auto low = [](std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
    ServiceEventFilter f;
    f.bytes = {tableId,
               0,
               0,
               high(program.ServiceId),
               low(program.ServiceId),
               0,
               0,
               0,
               low(program.TransportStreamId),
               high(program.TransportStreamId),
               low(program.OriginalNetworkId),
               high(program.OriginalNetworkId),
               0,
               0};
    f.mask[0] = tableMask;
    f.mask[3] = 0xFF;
    f.mask[4] = 0xFF;
    return f;
}
