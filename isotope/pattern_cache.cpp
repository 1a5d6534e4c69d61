#include "isotope/pattern_cache.h"

#include <cstring>

namespace isoquill {

std::uint64_t PatternCache::key(const ElementRecord& element, std::int32_t count) {
    return std::uint64_t{element.number} << 32 | static_cast<std::uint32_t>(count);
}

const CachedPattern* PatternCache::find(const ElementRecord& element, std::int32_t count) const {
    const auto it = entries_.find(key(element, count));
    if (it == entries_.end() || std::memcmp(&it->second.element, &element, sizeof element) != 0) return nullptr;
    return &it->second.pattern;
}

void PatternCache::store(const ElementRecord& element, std::int32_t count, const std::vector<WorkPeak>& peaks,
                         std::int64_t work) {
    if (peakTotal_ + peaks.size() > peakCapacity) {
        entries_.clear();
        peakTotal_ = 0;
    }
    Entry& entry = entries_[key(element, count)];
    peakTotal_ += peaks.size();
    peakTotal_ -= entry.pattern.peaks.size();
    entry = {element, {peaks, work}};
}

}  // namespace isoquill
