#include "kestrel/Records.h"

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/FrontendCodecs.h"

using kestrel::protocol::BlockReader;

namespace {
// The record is exactly the codec's size, so reading it always succeeds.
kestrel::protocol::SignalRecord Read(const std::uint8_t (&raw)[20]) {
    return *kestrel::protocol::SignalRecord::FromBytes(raw);
}
}  // namespace

std::int32_t SIGNAL_TYPE::Level() const { return Read(raw).afc; }
std::uint16_t SIGNAL_TYPE::BerMantissa() const { return Read(raw).berMantissa; }
std::int16_t SIGNAL_TYPE::BerExponent() const { return Read(raw).berExponent; }
std::uint16_t SIGNAL_TYPE::Tenths() const { return Read(raw).tenths; }
std::uint32_t SIGNAL_TYPE::Value16() const { return Read(raw).quality; }

std::uint16_t VIDEOSTATE::Word(std::size_t offset) const { return BlockReader(raw).U16(offset); }
