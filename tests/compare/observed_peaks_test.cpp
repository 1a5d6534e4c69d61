#include "compare/observed_peaks.h"

#include <gtest/gtest.h>

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
