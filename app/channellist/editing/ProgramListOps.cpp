#include "channellist/editing/ProgramListOps.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <string_view>
#include <tuple>

#include "channellist/ReferenceOrder.h"

namespace ProgramListOps {

void InsertRange(ProgramList& list, std::size_t position, ProgramList&& batch) {
    position = std::min(position, list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position),
                std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    batch.clear();
}

ProgramList RemoveRange(ProgramList& list, std::size_t position, std::size_t count) {
    position = std::min(position, list.size());
    count = std::min(count, list.size() - position);
    const auto first = list.begin() + static_cast<std::ptrdiff_t>(position);
    const auto last = first + static_cast<std::ptrdiff_t>(count);
    ProgramList removed(std::make_move_iterator(first), std::make_move_iterator(last));
    list.erase(first, last);
    return removed;
}

ProgramList RemoveAt(ProgramList& list, const std::vector<std::size_t>& ascending) {
    ProgramList removed;
    removed.reserve(ascending.size());
    std::size_t write = 0;
    std::size_t next = 0;
    for (std::size_t read = 0; read < list.size(); ++read) {
        if (next < ascending.size() && ascending[next] == read) {
            removed.push_back(std::move(list[read]));
            ++next;
        } else {
            if (write != read) list[write] = std::move(list[read]);
            ++write;
        }
    }
    list.resize(write);
    return removed;
}

void InsertAt(ProgramList& list, const std::vector<std::size_t>& ascending, ProgramList&& items) {
    const std::size_t oldSize = list.size();
    const std::size_t total = oldSize + items.size();
    list.resize(total);
    // Fill from the back: each slot takes either the next item (when its final index is
    // that slot) or the last remaining old program.
    std::size_t old = oldSize;
    std::size_t item = items.size();
    for (std::size_t slot = total; slot-- > 0;) {
        if (item > 0 && ascending[item - 1] == slot) {
            list[slot] = std::move(items[--item]);
        } else {
            list[slot] = std::move(list[--old]);
        }
    }
    items.clear();
}

std::vector<std::size_t> Normalized(std::vector<std::size_t> indexes, std::size_t size) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::lower_bound(indexes.begin(), indexes.end(), size), indexes.end());
    return indexes;
}

void Permute(ProgramList& list, const std::vector<std::size_t>& order) { ApplyOrder(list, order); }

std::vector<std::size_t> Inverse(const std::vector<std::size_t>& order) {
    std::vector<std::size_t> inverse(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) inverse[order[i]] = i;
    return inverse;
}

namespace {

// The picked rows, in their order, placed before the row at position `at`
// (rows.size(): at the end); the others keep their order around them.
std::vector<std::size_t> PlacedBefore(const std::vector<std::size_t>& rows,
                                      const std::vector<char>& picked, std::size_t at) {
    std::vector<std::size_t> out;
    out.reserve(rows.size());
    for (std::size_t k = 0; k < at && k < rows.size(); ++k)
        if (!picked[k]) out.push_back(rows[k]);
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (picked[k]) out.push_back(rows[k]);
    for (std::size_t k = at; k < rows.size(); ++k)
        if (!picked[k]) out.push_back(rows[k]);
    return out;
}

std::vector<char> Picked(const std::vector<std::size_t>& rows,
                         const std::vector<std::size_t>& moved) {
    std::vector<char> picked(rows.size(), 0);
    for (std::size_t k = 0, m = 0; k < rows.size(); ++k) {
        while (m < moved.size() && moved[m] < rows[k]) ++m;
        picked[k] = m < moved.size() && moved[m] == rows[k];
    }
    return picked;
}

// Rearranges the shown rows; `picked[k]` tells whether rows[k] is moved.
std::vector<std::size_t> Rearranged(const std::vector<std::size_t>& rows, std::vector<char> picked,
                                    Move how) {
    std::vector<std::size_t> seq = rows;
    switch (how) {
        case Move::ToTop:
            return PlacedBefore(seq, picked, 0);
        case Move::ToEnd:
            return PlacedBefore(seq, picked, seq.size());
        case Move::Up:
            // A moved row trades places with an unmoved row above it; a block at the top stays.
            for (std::size_t k = 1; k < seq.size(); ++k)
                if (picked[k] && !picked[k - 1]) {
                    std::swap(seq[k], seq[k - 1]);
                    std::swap(picked[k], picked[k - 1]);
                }
            return seq;
        case Move::Down:
            for (std::size_t k = seq.size(); k-- > 1;)
                if (picked[k - 1] && !picked[k]) {
                    std::swap(seq[k], seq[k - 1]);
                    std::swap(picked[k], picked[k - 1]);
                }
            return seq;
    }
    return seq;
}

}  // namespace

std::vector<std::size_t> LaterDuplicates(const ProgramList& list,
                                         const std::vector<std::size_t>& rows) {
    std::set<std::tuple<std::uint16_t, std::uint16_t, std::uint16_t>> services;
    std::set<std::tuple<std::string_view, std::int32_t, std::int32_t>> tunings;
    std::vector<std::size_t> later;
    for (const std::size_t i : rows) {
        if (i >= list.size() || !list[i]) continue;
        const CProgramInfo& p = *list[i];
        const bool sameService =
            p.ServiceId != 0 &&
            !services.emplace(p.OriginalNetworkId, p.TransportStreamId, p.ServiceId).second;
        const bool sameTuning =
            !p.Name.empty() && !tunings.emplace(p.Name, p.Frequency, p.PolarisationOrQam).second;
        if (sameService || sameTuning) later.push_back(i);
    }
    return later;
}

std::vector<std::size_t> OrderFromRows(std::size_t size, const std::vector<std::size_t>& rows,
                                       const std::vector<std::size_t>& rearranged) {
    std::vector<std::size_t> order(size);
    for (std::size_t i = 0; i < size; ++i) order[i] = i;
    // The rows keep the set of places they stand on; only their order changes.
    for (std::size_t k = 0; k < rows.size() && k < rearranged.size(); ++k)
        order[rows[k]] = rearranged[k];
    return order;
}

std::vector<std::size_t> MoveOrder(std::size_t size, const std::vector<std::size_t>& rows,
                                   const std::vector<std::size_t>& moved, Move how) {
    return OrderFromRows(size, rows, Rearranged(rows, Picked(rows, moved), how));
}

std::vector<std::size_t> MoveBeforeOrder(std::size_t size, const std::vector<std::size_t>& rows,
                                         const std::vector<std::size_t>& moved,
                                         std::size_t before) {
    const std::size_t at =
        std::size_t(std::lower_bound(rows.begin(), rows.end(), before) - rows.begin());
    return OrderFromRows(size, rows, PlacedBefore(rows, Picked(rows, moved), at));
}

}  // namespace ProgramListOps
