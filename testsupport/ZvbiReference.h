// An independent teletext reader for tests: Debian's libzvbi decodes the EBU
// teletext of one PID of a transport-stream file (vbi_dvb_demux for the PES,
// a vbi_decoder for the pages), so that our own decoders can be compared with
// a decoder nobody on this project wrote. Link the target `testsupport_zvbi`
// (it brings libzvbi through pkg-config); nothing outside tests uses it.
//
// One ZvbiPage per page transmission that libzvbi reports complete
// (VBI_EVENT_TTX_PAGE), in order of arrival, fetched right then at level 1
// with 25 rows and no navigation row. Repeats of a page appear as often as the
// broadcast sends them; callers that want one copy per page keep the last.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace testsupport {

struct ZvbiPage {
    int pgno = 0;   // as libzvbi numbers it: hexadecimal digits, 0x100 for page 100
    int page = -1;  // the decimal page number 100-899, -1 when a digit is above 9
    int subno = 0;  // libzvbi's subcode (S4 S3 S2 S1 as hexadecimal digits, 0 if none)
    // The national option libzvbi applied, from its character-set table: the
    // table index (region * 8 + national option) and its parts.
    int charsetIndex = -1;
    int region = -1;
    int national = -1;         // 0 English, 1 German, 2 Swedish/Finnish/Hungarian, 3 Italian,
                               // 4 French, 5 Portuguese/Spanish, 6 Czech/Slovak, 7 reserved
    std::string charsetLabel;  // libzvbi's name of that character set
    // The 25 x 40 cells as libzvbi formats them: Unicode (control cells are
    // spaces, block mosaics libzvbi's private-use codes 0xEE00-0xEEFF) and the
    // character size (vbi_size: 0 normal, 2 double height, 6 lower half of a
    // double-height row, ...).
    std::array<std::array<char32_t, 40>, 25> cells{};
    std::array<std::array<uint8_t, 40>, 25> size{};
    std::array<uint8_t, 40> rawHeader{};  // header row as sent, parity bits included

    std::string RowUtf8(int row) const;  // one row as UTF-8 text
};

struct ZvbiResult {
    bool ok = false;    // false: the file could not be read or libzvbi failed
    std::string error;  // why, when !ok
    std::vector<ZvbiPage> pages;
};

// Reads the file (188-byte packets) and decodes the teletext of the PID.
ZvbiResult ReadZvbiPages(const std::string& tsPath, uint16_t pid);
// The same for a transport stream in memory.
ZvbiResult DecodeZvbiPages(std::span<const uint8_t> ts, uint16_t pid);

}  // namespace testsupport
