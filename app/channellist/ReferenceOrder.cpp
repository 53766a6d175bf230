#include "channellist/ReferenceOrder.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "channellist/CSVLFile.h"

namespace {

constexpr std::size_t NoMatch = std::numeric_limits<std::size_t>::max();

std::uint64_t ServiceOf(const CProgramInfo& p) {
    return std::uint64_t{p.OriginalNetworkId} << 32 | std::uint64_t{p.TransportStreamId} << 16 |
           p.ServiceId;
}

struct TuningKey {
    std::string_view name;
    std::int32_t frequency;
    bool operator==(const TuningKey&) const = default;
};

struct TuningHash {
    std::size_t operator()(const TuningKey& k) const {
        return std::hash<std::string_view>()(k.name) ^
               (std::size_t(k.frequency) * 0x9E3779B97F4A7C15u);
    }
};

/// Where each service first stands in the reference, and, made only when a
/// program has no service match, where each name and frequency first stands.
class ReferenceIndex {
  public:
    explicit ReferenceIndex(const CSVLFile& reference) : reference_(reference) {
        services_.reserve(reference.Programs.size());
        for (std::size_t i = 0; i < reference.Programs.size(); ++i) {
            const CProgramInfo* p = reference.Programs[i].get();
            if (p && p->ServiceId != 0) services_.emplace(ServiceOf(*p), i);
        }
    }

    std::size_t PositionOf(const CProgramInfo& p) {
        if (p.ServiceId != 0) {
            if (const auto it = services_.find(ServiceOf(p)); it != services_.end())
                return it->second;
        }
        if (!tuningsMade_) MakeTunings();
        const auto it = tunings_.find(TuningKey{p.Name, p.Frequency});
        return it != tunings_.end() ? it->second : NoMatch;
    }

  private:
    void MakeTunings() {
        tuningsMade_ = true;
        tunings_.reserve(reference_.Programs.size());
        for (std::size_t i = 0; i < reference_.Programs.size(); ++i) {
            const CProgramInfo* p = reference_.Programs[i].get();
            if (p) tunings_.emplace(TuningKey{p->Name, p->Frequency}, i);
        }
    }

    const CSVLFile& reference_;
    std::unordered_map<std::uint64_t, std::size_t> services_;
    std::unordered_map<TuningKey, std::size_t, TuningHash> tunings_;
    bool tuningsMade_ = false;
};

}  // namespace

ReferenceOrder OrderAfterReference(const CSVLFile& list, const CSVLFile& reference) {
    ReferenceIndex index(reference);
    const std::size_t size = list.Programs.size();
    std::vector<std::size_t> at(size);
    ReferenceOrder result;
    // A counting sort by reference position, unmatched programs in a last
    // bucket; stable, so ties keep their old order.
    std::vector<std::size_t> start(reference.Programs.size() + 2, 0);
    for (std::size_t i = 0; i < size; ++i) {
        const CProgramInfo* p = list.Programs[i].get();
        const std::size_t position = p ? index.PositionOf(*p) : NoMatch;
        ++(position == NoMatch ? result.unmatched : result.matched);
        at[i] = position == NoMatch ? reference.Programs.size() : position;
        ++start[at[i] + 1];
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    result.order.resize(size);
    for (std::size_t i = 0; i < size; ++i) result.order[start[at[i]]++] = i;
    return result;
}

void ApplyOrder(std::vector<std::unique_ptr<CProgramInfo>>& programs,
                const std::vector<std::size_t>& order) {
    std::vector<std::unique_ptr<CProgramInfo>> reordered;
    reordered.reserve(order.size());
    for (const std::size_t from : order) reordered.push_back(std::move(programs[from]));
    programs.swap(reordered);
}
