#include "kestrel/Records.h"

#include "kestrel/protocol/BlockIO.h"

using kestrel::protocol::BlockReader;

std::int32_t SIGNAL_TYPE::Level() const { return BlockReader(raw).I32(0); }
std::uint16_t SIGNAL_TYPE::BerMantissa() const { return BlockReader(raw).U16(6); }
std::int16_t SIGNAL_TYPE::BerExponent() const {
    return static_cast<std::int16_t>(BlockReader(raw).U16(8));
}
std::uint16_t SIGNAL_TYPE::Tenths() const { return BlockReader(raw).U16(14); }
std::uint32_t SIGNAL_TYPE::Value16() const { return BlockReader(raw).U32(16); }

std::uint16_t VIDEOSTATE::Word(std::size_t offset) const { return BlockReader(raw).U16(offset); }
