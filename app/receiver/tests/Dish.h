#pragma once
// The dish of the receiver tests' installation.
#include <memory>

#include "channellist/CLnb.h"

/// A universal LNB (bands split at 11.7 GHz, 9.75 and 10.6 GHz oscillators),
/// powered, selected by tone burst A.
inline std::shared_ptr<CLnb> UniversalLnbOnBurstA() {
    auto lnb = std::make_shared<CLnb>();
    lnb->LnbType = 3;
    lnb->SwitchFrequency = 11700000;
    lnb->LowBandLof = 9750000;
    lnb->HighBandLof = 10600000;
    lnb->PowerOn = 1;
    lnb->DiseqcType = 1;
    return lnb;
}
