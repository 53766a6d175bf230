#pragma once
// Batch operations on a program list that keep the cost of one change at one pass over
// the list, however many programs it moves: a paste of 10 000 programs into a list of
// 100 000 moves each pointer once instead of once per inserted program.
#include <cstddef>
#include <memory>
#include <vector>

#include "channellist/CProgramInfo.h"

namespace ProgramListOps {

using ProgramList = std::vector<std::unique_ptr<CProgramInfo>>;

/// Inserts `batch` so that its first program stands at `position` (clamped to the end).
void InsertRange(ProgramList& list, std::size_t position, ProgramList&& batch);

/// Removes `count` programs starting at `position` and returns them in order.
ProgramList RemoveRange(ProgramList& list, std::size_t position, std::size_t count);

/// Removes the programs at the given strictly ascending indexes (each below the list's
/// size) and returns them in that order.
ProgramList RemoveAt(ProgramList& list, const std::vector<std::size_t>& ascending);

/// Inverse of RemoveAt: puts items[i] back so that it stands at ascending[i] afterwards.
void InsertAt(ProgramList& list, const std::vector<std::size_t>& ascending, ProgramList&& items);

/// Puts the list into a new order: afterwards list[i] is the program that stood at
/// order[i]. `order` must be a permutation of 0..size-1.
void Permute(ProgramList& list, const std::vector<std::size_t>& order);

/// The order that undoes `order`.
std::vector<std::size_t> Inverse(const std::vector<std::size_t>& order);

/// The order of a list of `size` programs in which the programs at `rows` (ascending)
/// stand on the same places as before, but in the order of `rearranged` (the same
/// indexes in their new order); the others keep their places.
std::vector<std::size_t> OrderFromRows(std::size_t size, const std::vector<std::size_t>& rows,
                                       const std::vector<std::size_t>& rearranged);

/// How a reordering command rearranges the rows it works on.
enum class Move { Up, Down, ToTop, ToEnd };

/// The order of a list of `size` programs in which the programs at `moved` (ascending,
/// a subset of `rows`) move among `rows` (ascending document indexes of the rows shown)
/// as `how` says; programs that are not shown keep their places. Up and Down move each
/// moved program past one shown neighbour that is not moved; ToTop and ToEnd keep the
/// moved programs' order among themselves.
std::vector<std::size_t> MoveOrder(std::size_t size, const std::vector<std::size_t>& rows,
                                   const std::vector<std::size_t>& moved, Move how);
/// As MoveOrder, with the moved programs placed before the shown row of document
/// index `before` (the first shown row at or after it; past the last: at the end).
std::vector<std::size_t> MoveBeforeOrder(std::size_t size, const std::vector<std::size_t>& rows,
                                         const std::vector<std::size_t>& moved, std::size_t before);

/// The programs among `rows` (ascending) that repeat an earlier one of them: the same
/// original network, transport stream and service id (a service id of 0 is unknown and
/// matches nothing), or the same name, frequency and polarisation. The first of each
/// group is not listed, so deleting the result leaves one of each.
std::vector<std::size_t> LaterDuplicates(const ProgramList& list,
                                         const std::vector<std::size_t>& rows);

/// Sorts, removes duplicates and drops indexes not below `size`.
std::vector<std::size_t> Normalized(std::vector<std::size_t> indexes, std::size_t size);

}  // namespace ProgramListOps
