#include "receiver/ChannelRecords.h"

#include "channellist/CTuningPlan.h"

namespace ChannelRecords {

ChannelRecord FromPlan(const CTuningPlan& plan) {
    constexpr std::uint32_t kChannelMode = 2;
    ChannelRecord channel;
    channel.frequency = plan.Frequency;
    channel.lof = plan.Lof;
    channel.symbolRate = plan.SymbolRate;
    channel.mode = kChannelMode;
    channel.lnbVoltage = plan.LnbVoltage;
    channel.tone22kHz = plan.Tone22kHz;
    return channel;
}

}  // namespace ChannelRecords
