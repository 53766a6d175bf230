// Writes teletext pages as DVB carries them (ETSI EN 300 472): one PES packet
// per page with EBU teletext data units (ETS 300 706 packets: Hamming 8/4
// address and header, odd-parity characters, every byte bit-reversed), sized
// to whole transport packets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demomux {

class CTeletextWriter {
  public:
    // A page 100-899: a 32-character header text (shown from column 8) and up
    // to 23 rows of 40 characters (plain ASCII).
    static std::vector<uint8_t> PagePes(int page, const std::string& header,
                                        const std::vector<std::string>& rows);
};

}  // namespace demomux
