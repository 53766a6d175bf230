#pragma once
#include <cstdint>

#include "channellist/CSerializable.h"
#include "channellist/FieldLayout.h"

/// One LNB configuration: twelve 32-bit fields, frequencies in kHz.
class CLnb final : public CSerializable {
  public:
    std::int32_t LnbType = 0;  ///< 0 C band, 1 KU low, 2 KU high, 3 universal, 4 user defined
    std::int32_t LowFrequency = 0;
    std::int32_t HighFrequency = 0;
    std::int32_t SwitchFrequency = 0;  ///< frequencies up to and including this use the low band
    std::int32_t LowBandLof = 0;
    std::int32_t HighBandLof = 0;
    std::int32_t CBand = 0;
    std::int32_t PowerOn = 0;
    std::int32_t Tone22kHz = 0;
    std::int32_t DiseqcType = 0;       ///< 0 off, 1 tone burst, 2 DiSEqC 1.0
    std::int32_t DiseqcParameter = 0;  ///< 0..3 position A..D
    std::int32_t DiseqcRepeat = 0;

    const char* ClassName() const override { return "CLnb"; }
    void Load(CArchiveReader& in) override;
    void Store(CArchiveWriter& out) const override;

    /// The stored form, in file order (see FieldLayout.h).
    template <class Self, class V>
    [[gnu::always_inline]] static inline void Fields(Self& self, V v);

    bool operator==(const CLnb&) const = default;
};

/// All twelve fields, in file order.
using LnbNumbers = layout::FixedRun<&CLnb::LnbType, &CLnb::LowFrequency, &CLnb::HighFrequency,
                                    &CLnb::SwitchFrequency, &CLnb::LowBandLof, &CLnb::HighBandLof,
                                    &CLnb::CBand, &CLnb::PowerOn, &CLnb::Tone22kHz,
                                    &CLnb::DiseqcType, &CLnb::DiseqcParameter, &CLnb::DiseqcRepeat>;

template <class Self, class V>
void CLnb::Fields(Self& self, V v) {
    v(LnbNumbers{}, self);
}
