#pragma once
// Channel-list programs from the decoded tables of one transponder.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channellist/CProgramInfo.h"
#include "scan/ScanPsi.h"
#include "scan/ScanTransponder.h"

namespace ScanPrograms {

/// The front-end types the lists store (the card's front-end chip types).
inline constexpr std::int32_t SatelliteFrontend = 2;
inline constexpr std::int32_t CableFrontend = 3;

/// Kind bits of ProgramType as the lists store them.
inline constexpr std::uint32_t TvType = 1, RadioType = 2, DataType = 0x0C;

/// Where the programs were found.
struct Origin {
    std::string lnbName;  ///< Windows-1252, as the list stores it
    ScanTransponder transponder;
    std::optional<std::uint16_t> networkId;  ///< from the NIT, when it was read
};

/// ProgramType from the service type (TV, radio, data; for a service type
/// the SDT does not give, from the streams) and the free_CA_mode bit.
std::uint32_t ProgramTypeOf(const kestrel::PsiProgram& program);

/// One program; names converted from UTF-8 to Windows-1252.
CProgramInfo Build(const kestrel::PsiProgram& program, const kestrel::PsiTree& tree,
                   const Origin& origin);

/// Every program whose program map was read, in the order of the tree.
/// Programs known only from the SDT are left out; programs without an SDT
/// entry keep the decoder's name.
std::vector<CProgramInfo> BuildAll(const kestrel::PsiTree& tree, const Origin& origin);

}  // namespace ScanPrograms
