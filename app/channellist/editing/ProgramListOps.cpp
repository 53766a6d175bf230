#include "channellist/editing/ProgramListOps.h"

#include <algorithm>
#include <iterator>

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

}  // namespace ProgramListOps
