#include "channellist/CLnb.h"

#include "channellist/CArchive.h"

void CLnb::Serialize(CArchive& ar) {
    for (std::int32_t* field : {&LnbType, &LowFrequency, &HighFrequency, &SwitchFrequency,
                                &LowBandLof, &HighBandLof, &CBand, &PowerOn, &Tone22kHz,
                                &DiseqcType, &DiseqcParameter, &DiseqcRepeat})
        ar.Transfer(*field);
}
