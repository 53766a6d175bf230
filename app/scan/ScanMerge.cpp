#include "scan/ScanMerge.h"

#include <cstdint>
#include <memory>
#include <tuple>

#include "channellist/CSVLFile.h"

namespace ScanMerge {
namespace {

using Key = std::tuple<std::uint16_t, std::uint16_t, std::uint16_t>;

Key KeyOf(const CProgramInfo& p) { return {p.OriginalNetworkId, p.TransportStreamId, p.ServiceId}; }

// The first list program with the key, or npos.
std::size_t FindInList(const CSVLFile& list, const Key& key) {
    for (std::size_t i = 0; i < list.Programs.size(); ++i)
        if (KeyOf(*list.Programs[i]) == key) return i;
    return static_cast<std::size_t>(-1);
}

// Replaces the program with the same key in `programs`; false when there is none.
bool ReplaceSame(std::vector<CProgramInfo>& programs, const CProgramInfo& with) {
    for (CProgramInfo& p : programs)
        if (KeyOf(p) == KeyOf(with)) {
            p = with;
            return true;
        }
    return false;
}

// Sets the update of list program `at`, replacing an earlier one for it.
void SetUpdate(std::vector<Update>& updates, std::size_t at, const CProgramInfo& old,
               const CProgramInfo& scanned) {
    for (Update& u : updates)
        if (u.index == at) {
            u.after = Updated(old, scanned);
            return;
        }
    updates.push_back({at, old, Updated(old, scanned)});
}

}  // namespace

CProgramInfo Updated(const CProgramInfo& old, const CProgramInfo& scanned) {
    CProgramInfo p = scanned;
    p.Name = old.Name;
    p.Provider = old.Provider;
    p.LnbName = old.LnbName;
    p.CiAccess = old.CiAccess;
    p.ProgramData1 = old.ProgramData1;
    p.ProgramData2 = old.ProgramData2;
    return p;
}

Result Plan(const CSVLFile& list, std::span<const CProgramInfo> found) {
    Result r;
    r.firstAdded = list.Programs.size();
    for (const CProgramInfo& p : found) {
        const std::size_t at = FindInList(list, KeyOf(p));
        if (at != static_cast<std::size_t>(-1))
            SetUpdate(r.updated, at, *list.Programs[at], p);
        else if (!ReplaceSame(r.added, p))
            r.added.push_back(p);
    }
    return r;
}

void Apply(CSVLFile& list, const Result& plan) {
    for (const Update& u : plan.updated) *list.Programs[u.index] = u.after;
    for (const CProgramInfo& p : plan.added)
        list.Programs.push_back(std::make_unique<CProgramInfo>(p));
}

Result Merge(CSVLFile& list, std::span<const CProgramInfo> found) {
    Result r = Plan(list, found);
    Apply(list, r);
    return r;
}

}  // namespace ScanMerge
