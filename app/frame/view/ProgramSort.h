#pragma once
// Sorting the program list by one of its columns: a one-off new order of the list,
// not a state of the view.
#include <cstddef>
#include <vector>

class CSVLFile;

namespace ProgramSort {

/// Columns of "TheMainList" the list can be sorted by, in menu order (not the blank
/// column, and not "Nr", which is the place in the list itself).
std::vector<int> SortableColumns();

/// Sorts `rows` (document indexes) by the column's value, stably: programs with equal
/// values keep their order, also in descending order. Numbers compare as numbers, texts
/// without regard to case.
void SortRows(const CSVLFile& list, std::vector<std::size_t>& rows, int column, bool descending);

}  // namespace ProgramSort
