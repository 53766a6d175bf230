// Loads arbitrary bytes as a channel list. A successful load must store to
// bytes that load again and store unchanged; when the loader calls the input
// canonical, storing must give the input itself. A failed load must leave
// the list empty.
#include <cstdlib>

#include "channellist/CSVLFile.h"

namespace {

bool SameLists(const CSVLFile& a, const CSVLFile& b) {
    if (a.Reserved != b.Reserved || a.Programs.size() != b.Programs.size() ||
        a.Lnbs.Size() != b.Lnbs.Size())
        return false;
    for (std::size_t i = 0; i < a.Programs.size(); ++i)
        if (!(*a.Programs[i] == *b.Programs[i])) return false;
    for (const auto& entry : a.Lnbs.Entries()) {
        const CLnb* other = b.FindLnb(entry.key);
        if ((other == nullptr) != (entry.lnb == nullptr)) return false;
        if (other && !(*other == *entry.lnb)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    CSVLFile list;
    ArchiveError error;
    bool canonical = false;
    if (!list.Load(input, &error, &canonical)) {
        if (!list.Programs.empty() || !list.Lnbs.Empty() || list.Loaded || error.message.empty())
            std::abort();
        return 0;
    }
    const std::vector<std::uint8_t> stored = list.Store();
    if (canonical && !std::equal(stored.begin(), stored.end(), input.begin(), input.end()))
        std::abort();

    CSVLFile again;
    bool againCanonical = false;
    if (!again.Load(stored, nullptr, &againCanonical) || !againCanonical) std::abort();
    if (again.Store() != stored) std::abort();
    if (!SameLists(list, again)) std::abort();
    return 0;
}
