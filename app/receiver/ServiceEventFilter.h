#pragma once
// The section filter on the event information of one service (PID 0x12):
// the table id, compared under a mask, and the two service id bytes; the
// transport stream and original network ids stand in the filter bytes, low
// byte first, without taking part.
#include <array>
#include <cstdint>

class CProgramInfo;

struct ServiceEventFilter {
    static constexpr std::uint16_t kPid = 0x12;
    static constexpr std::uint8_t kType = 4;
    std::array<std::uint8_t, 14> bytes{};
    std::array<std::uint8_t, 14> mask{};

    static ServiceEventFilter For(std::uint8_t tableId, std::uint8_t tableMask,
                                  const CProgramInfo& program);
};
