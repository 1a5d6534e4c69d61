#include "compare/observed_peaks.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace isoquill {
namespace {

std::vector<std::string> listLines(const ObservedPeaks& observed) {
    std::vector<std::string> lines;
    for (int i = 1; i <= observed.count(); ++i) lines.push_back(peakListLine(observed.observedPeaks[i]));
    return lines;
}

// Every operation must keep the slot after the last peak zero: the comparison
// finds the end of the list there, not through a count.
void expectTerminated(const ObservedPeaks& observed) {
    for (int i = observed.observedNext; i <= observedSlotCount; ++i) {
        EXPECT_TRUE(observed.observedPeaks[i].mass.isZero()) << "slot " << i;
        EXPECT_EQ(observed.observedPeaks[i].abundance, 0.0L) << "slot " << i;
    }
}

TEST(ObservedPeaks, StoresTheAbundanceRoundedToReal48) {
    ObservedPeaks observed;
    ASSERT_TRUE(addObservedPeak(observed, 180, 0.1L));
    EXPECT_EQ(observed.observedPeaks[1].abundance, roundReal48(0.1L));
    EXPECT_NE(observed.observedPeaks[1].abundance, 0.1L);
    EXPECT_FALSE(addObservedPeak(observed, 181, 1e-40L));  // below the Real48 range: rounds to 0
    EXPECT_EQ(observed.observedNext, 2);
    expectTerminated(observed);
}

TEST(ObservedPeaks, AbundanceBeyondReal48RaisesOverflowWithNothingStored) {
    ObservedPeaks observed;
    EXPECT_THROW(addObservedPeak(observed, 12, 1e39L), FloatOverflowError);
    EXPECT_THROW(addObservedPeak(observed, 0, 1e39L), FloatOverflowError);
    EXPECT_EQ(observed.observedNext, 1);
    expectTerminated(observed);
}

TEST(ObservedPeaks, RefusesThe255thPeakSoObservedNextCannotWrap) {
    ObservedPeaks observed;
    for (int i = 1; i <= observedPeakLimit; ++i) ASSERT_TRUE(addObservedPeak(observed, 1000 - i, 1.0L));
    EXPECT_EQ(observed.observedNext, 255);
    EXPECT_FALSE(addObservedPeak(observed, 5, 1.0L));
    EXPECT_EQ(observed.observedNext, 255);
    EXPECT_EQ(loadReal48(observed.observedPeaks[1].mass), 1000 - observedPeakLimit);
    expectTerminated(observed);
}

TEST(ObservedPeaks, SortIsAscendingAndKeepsDuplicates) {
    ObservedPeaks observed;
    for (int mass : {5, 3, 5, 1, 4, 3}) addObservedPeak(observed, mass, static_cast<long double>(mass * 10));
    std::vector<long double> masses;
    for (int i = 1; i <= observed.count(); ++i) masses.push_back(loadReal48(observed.observedPeaks[i].mass));
    EXPECT_EQ(masses, (std::vector<long double>{1, 3, 3, 4, 5, 5}));
}

// The sort as written, on plain numbers: equal masses end up in the order
// that its exchanges, and only they, leave them in.
std::vector<std::pair<int, int>> plainExchangeSort(std::vector<std::pair<int, int>> peaks) {
    const std::size_t n = peaks.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = n - 1; j >= i && j < n; --j)
            if (peaks[i].first > peaks[j].first) std::swap(peaks[i], peaks[j]);
    return peaks;
}

std::vector<std::pair<int, int>> massesAndAbundances(const ObservedPeaks& observed) {
    std::vector<std::pair<int, int>> peaks;
    for (int i = 1; i <= observed.count(); ++i)
        peaks.emplace_back(static_cast<int>(loadReal48(observed.observedPeaks[i].mass)),
                           static_cast<int>(observed.observedPeaks[i].abundance));
    return peaks;
}

// Both ways in: a list in any order sorted once, and the same peaks added one
// by one, sorting after each. Abundances are unique, to tell equal masses apart.
TEST(ObservedPeaks, SortLeavesEqualMassesWhereTheExchangeSortLeavesThem) {
    std::mt19937 random(13);
    for (int trial = 0; trial < 300; ++trial) {
        ObservedPeaks unordered;
        ObservedPeaks added;
        std::vector<std::pair<int, int>> peaks;
        std::vector<std::pair<int, int>> addedReference;
        const int n = static_cast<int>(random() % 41);
        for (int i = 1; i <= n; ++i) {
            const int mass = 1 + static_cast<int>(random() % 8);
            peaks.emplace_back(mass, i);
            unordered.observedPeaks[i] = {storeReal48(mass), static_cast<long double>(i)};
            addObservedPeak(added, mass, i);
            addedReference.emplace_back(mass, i);
            addedReference = plainExchangeSort(addedReference);
        }
        unordered.observedNext = static_cast<std::uint8_t>(n + 1);
        sortObservedPeaks(unordered);
        ASSERT_EQ(massesAndAbundances(unordered), plainExchangeSort(peaks)) << "trial " << trial;
        ASSERT_EQ(massesAndAbundances(added), addedReference) << "trial " << trial;
    }
}

TEST(ObservedPeaks, DeleteTheOnlyPeakEmptiesTheList) {
    ObservedPeaks observed;
    addObservedPeak(observed, 12, 100.0L);
    EXPECT_TRUE(deleteObservedPeak(observed, 0));
    EXPECT_EQ(observed.observedNext, 1);
    expectTerminated(observed);
}

TEST(ObservedPeaks, DeleteWithoutAValidLineChangesNothing) {
    ObservedPeaks observed;
    addObservedPeak(observed, 12, 100.0L);
    addObservedPeak(observed, 13, 1.1L);
    const ObservedPeaks before = observed;
    EXPECT_FALSE(deleteObservedPeak(observed, -1));  // no line selected
    EXPECT_FALSE(deleteObservedPeak(observed, 2));
    EXPECT_EQ(listLines(observed), listLines(before));
    EXPECT_EQ(observed.observedNext, before.observedNext);
    ObservedPeaks empty;
    EXPECT_FALSE(deleteObservedPeak(empty, 0));
    EXPECT_EQ(empty.observedNext, 1);
}

TEST(ObservedPeaks, ListLineKeepsWideNumbersWhole) {
    Peak peak;
    peak.mass = storeReal48(12345678.0L);
    peak.abundance = 123456.0L;
    EXPECT_EQ(peakListLine(peak), "12345678   123456.00000");
}

}  // namespace
}  // namespace isoquill
