// Imports arbitrary bytes as a .dvb list. A refused file leaves the list empty
// with a reason; an imported list has one program per program record and
// stores to a canonical .svl file that loads back equal.
#include <cstdlib>

#include "channellist/DvbImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CSVLFile list;
    std::string reason;
    if (!ImportDvbList(std::span<const std::uint8_t>(data, size), list, &reason)) {
        if (!list.Programs.empty() || !list.Lnbs.Empty() || reason.empty()) std::abort();
        return 0;
    }
    if (size % DvbRecordSize != 0 || list.Programs.size() > size / DvbRecordSize ||
        list.Lnbs.Size() != 4)
        std::abort();
    for (const auto& p : list.Programs)
        if (p->Name.size() > 20 || !list.FindLnb(p->LnbName)) std::abort();
    const auto stored = list.Store();
    CSVLFile back;
    bool canonical = false;
    if (!back.Load(stored, nullptr, &canonical) || !canonical || back.Store() != stored)
        std::abort();
    if (back.Programs.size() != list.Programs.size()) std::abort();
    return 0;
}
