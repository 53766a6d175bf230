#pragma once
// Merging the programs of a scan into an existing list: a program with the
// same original network id, transport stream id and service id as one of the
// list updates that one in place (tuning data, PIDs, streams, ids, type; the
// user's name and LNB name stay), the others are appended in scan order.
#include <cstddef>
#include <span>
#include <vector>

#include "channellist/CProgramInfo.h"

class CSVLFile;

namespace ScanMerge {

struct Update {
    std::size_t index = 0;  ///< position in the list
    CProgramInfo before;
    CProgramInfo after;
};

/// What a merge changes: enough to undo it in one step (restore `before` at
/// each index, remove `added.size()` programs from `firstAdded` on).
struct Result {
    std::vector<Update> updated;
    std::size_t firstAdded = 0;  ///< list index of the first appended program
    std::vector<CProgramInfo> added;
};

/// The merge of `found` into `list`, without changing the list. A program
/// found twice counts once (the later one); only the first of several list
/// programs with the same ids is updated.
Result Plan(const CSVLFile& list, std::span<const CProgramInfo> found);
/// Carries out a plan made for this list.
void Apply(CSVLFile& list, const Result& plan);
/// Plan and Apply in one.
Result Merge(CSVLFile& list, std::span<const CProgramInfo> found);

/// The program `old` updated from `scanned`: the tuning data (front-end type,
/// frequency, polarisation or QAM, symbol rate), ProgramType, the ids, the
/// PIDs and the streams come from `scanned`; Name, Provider, LnbName,
/// CiAccess and the two data blocks stay.
CProgramInfo Updated(const CProgramInfo& old, const CProgramInfo& scanned);

}  // namespace ScanMerge
