#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "channellist/CLnb.h"

/// The LNB table of a channel list: name -> LNB, keys compared as exact bytes.
/// Several keys may share one object. Iteration order is the order the file
/// writer uses: buckets of a 17-bucket string hash in ascending order, most
/// recently inserted key first within a bucket.
class CLnbTable {
  public:
    struct Entry {
        std::string key;
        std::shared_ptr<CLnb> lnb;
    };

    /// Sets table[key]; an existing key keeps its place and gets the new object.
    void Set(const std::string& key, std::shared_ptr<CLnb> lnb);
    CLnb* Find(const std::string& key) const;
    bool Remove(const std::string& key);
    void Clear();
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

    /// Entries in the file writer's order (see class comment).
    std::vector<const Entry*> InHashOrder() const;
    /// Entries in insertion order.
    const std::vector<Entry>& Entries() const { return entries_; }

    /// The writer's string hash: h = h*33 + (signed char)b, modulo 2^32.
    static std::uint32_t Hash(const std::string& key);
    static constexpr std::uint32_t BucketCount = 17;

  private:
    std::vector<Entry> entries_;                          // insertion order
    std::unordered_map<std::string, std::size_t> index_;  // key -> position in entries_
};
