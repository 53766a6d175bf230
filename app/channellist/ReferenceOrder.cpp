#include "channellist/ReferenceOrder.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <string_view>
#include <tuple>
#include <utility>

#include "channellist/CSVLFile.h"

namespace {

using ServiceKey = std::tuple<std::uint16_t, std::uint16_t, std::uint16_t>;
using TuningKey = std::pair<std::string_view, std::int32_t>;
constexpr std::size_t NoMatch = std::numeric_limits<std::size_t>::max();

ServiceKey ServiceOf(const CProgramInfo& p) {
    return {p.OriginalNetworkId, p.TransportStreamId, p.ServiceId};
}

/// Where each service and each name/frequency first stands in the reference.
struct ReferenceIndex {
    std::map<ServiceKey, std::size_t> services;
    std::map<TuningKey, std::size_t> tunings;

    explicit ReferenceIndex(const CSVLFile& reference) {
        for (std::size_t i = 0; i < reference.Programs.size(); ++i) {
            const CProgramInfo* p = reference.Programs[i].get();
            if (!p) continue;
            if (p->ServiceId != 0) services.emplace(ServiceOf(*p), i);
            tunings.emplace(TuningKey{p->Name, p->Frequency}, i);
        }
    }

    std::size_t PositionOf(const CProgramInfo& p) const {
        if (p.ServiceId != 0) {
            if (const auto it = services.find(ServiceOf(p)); it != services.end())
                return it->second;
        }
        const auto it = tunings.find(TuningKey{p.Name, p.Frequency});
        return it != tunings.end() ? it->second : NoMatch;
    }
};

}  // namespace

ReferenceOrder OrderAfterReference(const CSVLFile& list, const CSVLFile& reference) {
    const ReferenceIndex index(reference);
    // (reference position, old index): unmatched programs sort last, by old index.
    std::vector<std::pair<std::size_t, std::size_t>> keys;
    keys.reserve(list.Programs.size());
    ReferenceOrder result;
    for (std::size_t i = 0; i < list.Programs.size(); ++i) {
        const CProgramInfo* p = list.Programs[i].get();
        const std::size_t at = p ? index.PositionOf(*p) : NoMatch;
        ++(at == NoMatch ? result.unmatched : result.matched);
        keys.emplace_back(at, i);
    }
    std::sort(keys.begin(), keys.end());
    result.order.reserve(keys.size());
    for (const auto& key : keys) result.order.push_back(key.second);
    return result;
}

void ApplyOrder(CSVLFile& list, const std::vector<std::size_t>& order) {
    std::vector<std::unique_ptr<CProgramInfo>> programs;
    programs.reserve(order.size());
    for (const std::size_t i : order) programs.push_back(std::move(list.Programs[i]));
    list.Programs = std::move(programs);
}
