#include "compare/observed_peaks.h"

#include <random>

#include <gtest/gtest.h>

#include "peak_values.h"

namespace isoquill {
namespace {

using namespace testing;

// Every operation must keep the slots after the last peak zero: the
// comparison finds the end of the list there, not through a count.
void expectTerminated(const ObservedPeaks& observed) {
    for (int i = observed.observedNext; i <= observedSlotCount; ++i)
        EXPECT_TRUE(observed.observedPeaks[i].mass.isZero() && observed.observedPeaks[i].abundance == 0)
            << "slot " << i;
}

TEST(ObservedPeaks, AddStoresTheRoundedAbundanceAndRefusesWhatCannotBeStored) {
    ObservedPeaks observed;
    ASSERT_TRUE(addObservedPeak(observed, 180, 0.1L));
    EXPECT_EQ(observed.observedPeaks[1].abundance, roundReal48(0.1L));
    EXPECT_FALSE(addObservedPeak(observed, 181, 1e-40L));  // below the Real48 range: rounds to 0
    EXPECT_FALSE(addObservedPeak(observed, 0, 1.0L));
    EXPECT_THROW(addObservedPeak(observed, 12, 1e39L), FloatOverflowError);
    EXPECT_THROW(addObservedPeak(observed, 0, 1e39L), FloatOverflowError);
    EXPECT_EQ(observed.observedNext, 2);
    expectTerminated(observed);
    // The 255th peak is refused, so observedNext cannot wrap.
    for (int i = 2; i <= observedPeakLimit; ++i) ASSERT_TRUE(addObservedPeak(observed, 1000 - i, 1.0L));
    EXPECT_FALSE(addObservedPeak(observed, 5, 1.0L));
    EXPECT_EQ(observed.observedNext, 255);
    EXPECT_EQ(valuesOf(observed)[1].first, 1000 - observedPeakLimit);
    expectTerminated(observed);
}

// The sort as written, on plain numbers: equal masses end up in the order
// that its exchanges, and only they, leave them in.
PeakValues plainExchangeSort(PeakValues peaks) {
    for (std::size_t i = 0; i + 1 < peaks.size(); ++i)
        for (std::size_t j = peaks.size() - 1; j >= i && j < peaks.size(); --j)
            if (peaks[i].first > peaks[j].first) std::swap(peaks[i], peaks[j]);
    return peaks;
}

// Both ways in: a list in any order sorted once, and the same peaks added one
// by one, sorting after each. Abundances are unique, to tell equal masses apart.
TEST(ObservedPeaks, SortLeavesEqualMassesWhereTheExchangeSortLeavesThem) {
    std::mt19937 random(13);
    for (int trial = 0; trial < 300; ++trial) {
        ObservedPeaks added;
        PeakValues peaks, addedReference;
        for (int i = 1, n = static_cast<int>(random() % 41); i <= n; ++i) {
            const int mass = 1 + static_cast<int>(random() % 8);
            peaks.emplace_back(mass, i);
            addObservedPeak(added, mass, i);
            addedReference.emplace_back(mass, i);
            addedReference = plainExchangeSort(addedReference);
        }
        ObservedPeaks unordered = observedOf(peaks);
        sortObservedPeaks(unordered);
        ASSERT_EQ(valuesOf(unordered), plainExchangeSort(peaks)) << "trial " << trial;
        ASSERT_EQ(valuesOf(added), addedReference) << "trial " << trial;
    }
}

TEST(ObservedPeaks, DeleteRemovesOnlyAValidLineAndListLinesKeepWideNumbers) {
    ObservedPeaks observed = observedOf({{12, 100}, {13, 1.5L}, {14, 2}});
    EXPECT_FALSE(deleteObservedPeak(observed, -1) || deleteObservedPeak(observed, 3));
    EXPECT_TRUE(deleteObservedPeak(observed, 0));
    EXPECT_EQ(valuesOf(observed), (PeakValues{{13, 1.5L}, {14, 2}}));
    EXPECT_TRUE(deleteObservedPeak(observed, 1) && deleteObservedPeak(observed, 0));
    EXPECT_EQ(observed.observedNext, 1);
    expectTerminated(observed);
    EXPECT_FALSE(deleteObservedPeak(observed, 0));
    // Wide numbers are listed whole.
    EXPECT_EQ(peakListLine({storeReal48(12345678.0L), 123456.0L}), "12345678   123456.00000");
}

}  // namespace
}  // namespace isoquill
