#include "isotope/pattern_cache.h"

#include <gtest/gtest.h>

#include "hand_built_elements.h"

namespace isoquill {
namespace {

TEST(PatternCache, StartsAfreshBeyondItsCapacity) {
    PatternCache cache;
    const ElementRecord carbon = testing::exampleCarbon();
    const std::vector<WorkPeak> half(PatternCache::peakCapacity / 2, WorkPeak{1.0L, 1.0L});
    cache.store(carbon, 1, half);
    cache.store(carbon, 1, half);  // replaces its own entry
    cache.store(carbon, 2, half);
    EXPECT_EQ(cache.peakTotal(), PatternCache::peakCapacity);
    cache.store(carbon, 3, {{36.0L, 1.0L}});
    EXPECT_EQ(cache.peakTotal(), 1u);
    EXPECT_EQ(cache.find(carbon, 1), nullptr);
    EXPECT_NE(cache.find(carbon, 3), nullptr);
}

}  // namespace
}  // namespace isoquill
