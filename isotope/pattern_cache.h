// Entry distributions already simulated, by element and count. A distribution
// depends on nothing but the element's record and the count, so a cached one
// is exactly what a recomputation gives; typing and the fragment generator
// repeat the same entries over and over. Each keeps the work it cost, which
// a hit counts again: the work limit must judge a formula alike whatever
// simulations ran before.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "chem/element_table.h"
#include "isotope/peak_tree.h"

namespace isoquill {

struct CachedPattern {
    std::vector<WorkPeak> peaks;
    std::int64_t work = 0;  // in PeakTree's units
};

class PatternCache {
public:
    // Beyond this many peaks in all, the cache starts afresh.
    static constexpr std::size_t peakCapacity = 100'000;

    // The stored distribution of `count` atoms of an element with exactly
    // this record (every byte equal), or nullptr.
    const CachedPattern* find(const ElementRecord& element, std::int32_t count) const;
    void store(const ElementRecord& element, std::int32_t count, const std::vector<WorkPeak>& peaks, std::int64_t work);

private:
    struct Entry {
        ElementRecord element;
        CachedPattern pattern;
    };
    static std::uint64_t key(const ElementRecord& element, std::int32_t count);

    std::unordered_map<std::uint64_t, Entry> entries_;
    std::size_t peakTotal_ = 0;
};

}  // namespace isoquill
