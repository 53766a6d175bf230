#pragma once
// The front end's tuning record as the program sends it for a tuning plan.
#include "receiver/IDeviceSet.h"

struct CTuningPlan;

namespace ChannelRecords {

/// The plan's frequency, oscillator, symbol rate, supply and tone, with the
/// channel mode the front end expects from the program (2) and polarisation 0.
ChannelRecord FromPlan(const CTuningPlan& plan);

}  // namespace ChannelRecords
