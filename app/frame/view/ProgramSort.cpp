#include "frame/view/ProgramSort.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <optional>

#include "channellist/CSVLFile.h"
#include "frame/view/CMainListColumns.h"

namespace ProgramSort {

namespace {

using C = CMainListColumns;

// The number a numeric column sorts by; nothing for a text column.
std::optional<std::int64_t> NumberOf(const CProgramInfo& p, int column) {
    switch (column) {
        case C::Frequenz:
            return p.Frequency;
        case C::Symbolrate:
            return p.SymbolRate;
        case C::Programmtype:
            return p.ProgramType;
        case C::VPid:
            return p.VideoPid;
        case C::APid:
            return p.AudioPid;
        case C::PcrPid:
            return p.PcrPid;
        case C::PmtPid:
            return p.PmtPid;
        default:
            return std::nullopt;
    }
}

template <class Key, class Less>
void SortByKey(std::vector<std::size_t>& rows, std::vector<Key> keys, Less less, bool descending) {
    std::vector<std::size_t> at(rows.size());
    for (std::size_t k = 0; k < at.size(); ++k) at[k] = k;
    std::stable_sort(at.begin(), at.end(), [&](std::size_t a, std::size_t b) {
        return descending ? less(keys[b], keys[a]) : less(keys[a], keys[b]);
    });
    std::vector<std::size_t> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t k : at) sorted.push_back(rows[k]);
    rows.swap(sorted);
}

}  // namespace

std::vector<int> SortableColumns() {
    return {C::Programm,   C::Provider, C::LnbName,      C::Frequenz,
            C::Symbolrate, C::CiAccess, C::Programmtype, C::VPid,
            C::APid,       C::PcrPid,   C::PmtPid,       C::PolarisationOrQam};
}

void SortRows(const CSVLFile& list, std::vector<std::size_t>& rows, int column, bool descending) {
    const auto& programs = list.Programs;
    std::erase_if(rows, [&](std::size_t i) { return i >= programs.size() || !programs[i]; });
    if (rows.empty()) return;
    if (NumberOf(*programs[rows.front()], column)) {
        std::vector<std::int64_t> keys;
        keys.reserve(rows.size());
        for (const std::size_t i : rows) keys.push_back(*NumberOf(*programs[i], column));
        SortByKey(rows, std::move(keys), std::less<>(), descending);
        return;
    }
    std::vector<QString> keys;
    keys.reserve(rows.size());
    for (const std::size_t i : rows)
        keys.push_back(C::CellText(*programs[i], int(i), column, false).toCaseFolded());
    SortByKey(rows, std::move(keys), std::less<>(), descending);
}

}  // namespace ProgramSort
