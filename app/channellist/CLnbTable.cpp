#include "channellist/CLnbTable.h"

#include <algorithm>

void CLnbTable::Set(const std::string& key, std::shared_ptr<CLnb> lnb) {
    if (auto it = index_.find(key); it != index_.end()) {
        entries_[it->second].lnb = std::move(lnb);
        return;
    }
    index_.emplace(key, entries_.size());
    entries_.push_back(Entry{key, std::move(lnb)});
}

CLnb* CLnbTable::Find(const std::string& key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : entries_[it->second].lnb.get();
}

bool CLnbTable::Remove(const std::string& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return false;
    const std::size_t position = it->second;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    index_.erase(it);
    for (auto& [name, pos] : index_)
        if (pos > position) --pos;
    return true;
}

void CLnbTable::Clear() {
    entries_.clear();
    index_.clear();
}

std::vector<const CLnbTable::Entry*> CLnbTable::InHashOrder() const {
    // Newest first, then a stable sort by bucket: ascending buckets, and
    // within a bucket the most recently inserted key first.
    std::vector<std::pair<std::uint32_t, const Entry*>> keyed;
    keyed.reserve(entries_.size());
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        keyed.emplace_back(Hash(it->key) % BucketCount, &*it);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const Entry*> order;
    order.reserve(keyed.size());
    for (const auto& [bucket, entry] : keyed) order.push_back(entry);
    return order;
}

std::uint32_t CLnbTable::Hash(const std::string& key) {
    std::uint32_t h = 0;
    for (char c : key) {
        const auto b = static_cast<std::int32_t>(static_cast<signed char>(c));
        h = h * 33u + static_cast<std::uint32_t>(b);
    }
    return h;
}
