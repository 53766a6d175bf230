// The Latin G0 set and its national option subsets: thirteen positions
// (0x23, 0x24, 0x40, 0x5B-0x60, 0x7B-0x7E) take the characters of the
// language the page header names; every other code is ASCII, 0x7F a block.
#include <array>

#include "videotext/VtCells.h"

namespace vt {

namespace {

constexpr std::array<std::uint8_t, 13> kPositions = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E,
                                                     0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

using Subset = std::array<char32_t, 13>;

// By option 0-6, in the order of kPositions.
constexpr std::array<Subset, 7> kSubsets = {{
    // English
    {U'£', U'$', U'@', U'←', U'½', U'→', U'↑', U'#', U'—', U'¼', U'‖', U'¾', U'÷'},
    // German
    {U'#', U'$', U'§', U'Ä', U'Ö', U'Ü', U'^', U'_', U'°', U'ä', U'ö', U'ü', U'ß'},
    // Swedish, Finnish, Hungarian
    {U'#', U'¤', U'É', U'Ä', U'Ö', U'Å', U'Ü', U'_', U'é', U'ä', U'ö', U'å', U'ü'},
    // Italian
    {U'£', U'$', U'é', U'°', U'ç', U'→', U'↑', U'#', U'ù', U'à', U'ò', U'è', U'ì'},
    // French
    {U'é', U'ï', U'à', U'ë', U'ê', U'ù', U'î', U'#', U'è', U'â', U'ô', U'û', U'ç'},
    // Portuguese, Spanish
    {U'ç', U'$', U'¡', U'á', U'é', U'í', U'ó', U'ú', U'¿', U'ü', U'ñ', U'è', U'à'},
    // Czech, Slovak
    {U'#', U'ů', U'č', U'ť', U'ž', U'ý', U'í', U'ř', U'é', U'á', U'ě', U'ú', U'š'},
}};

constexpr std::uint8_t kGerman = 1;

}  // namespace

char32_t G0Char(std::uint8_t code, std::uint8_t national) {
    code &= 0x7F;
    if (code < 0x20) return U' ';
    if (code == 0x7F) return U'■';
    const std::uint8_t option = national < kSubsets.size() ? national : kGerman;
    for (std::size_t i = 0; i < kPositions.size(); ++i) {
        if (kPositions[i] == code) return kSubsets[option][i];
    }
    return char32_t(code);
}

}  // namespace vt
