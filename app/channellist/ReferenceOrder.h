#pragma once
// Putting a channel list into the order of another one.
#include <cstddef>
#include <memory>
#include <vector>

class CProgramInfo;
class CSVLFile;

/// The order of a list after a reference list: order[k] is the index of the
/// program that stands at position k afterwards.
///
/// A program matches the first reference program with the same original
/// network, transport stream and service id (a service id of 0 is unknown and
/// matches nothing), else the first one with the same name and frequency.
/// Matched programs come first, in the reference's order (several matching the
/// same reference program keep their old order among themselves); the rest
/// follow in their old order.
struct ReferenceOrder {
    std::vector<std::size_t> order;
    std::size_t matched = 0;
    std::size_t unmatched = 0;
};

ReferenceOrder OrderAfterReference(const CSVLFile& list, const CSVLFile& reference);

/// Rearranges programs by `order` (a permutation of their indexes).
void ApplyOrder(std::vector<std::unique_ptr<CProgramInfo>>& programs,
                const std::vector<std::size_t>& order);
