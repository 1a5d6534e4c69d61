#include "compare/comparison.h"

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

namespace isoquill {
namespace {

struct Values {
    long double mass;
    long double abundance;
};

ObservedPeaks observedOf(std::initializer_list<Values> peaks) {
    ObservedPeaks observed;
    for (const Values& v : peaks) observed.observedPeaks[observed.observedNext++] = {storeReal48(v.mass), v.abundance};
    return observed;
}

PeakList simulatedOf(std::initializer_list<Values> peaks) {
    PeakList list;
    for (const Values& v : peaks) list.append({storeReal48(v.mass), v.abundance});
    return list;
}

Comparison aligned(const ObservedPeaks& observed, const PeakList& simulated) {
    Comparison comparison;
    alignPeakGroups(comparison, observed, simulated);
    return comparison;
}

// Row k as "observed mass/abundance | simulated mass/abundance".
std::string row(const Comparison& c, int k) {
    auto text = [](const Peak& p) { return std::to_string(static_cast<int>(loadReal48(p.mass))) + "/" +
                                           std::to_string(static_cast<int>(p.abundance)); };
    return text(c.alignedObserved[static_cast<std::size_t>(k)]) + " | " + text(c.alignedSimulated[static_cast<std::size_t>(k)]);
}

TEST(AlignPeakGroups, SameMassesNeedNoShift) {
    const Comparison c = aligned(observedOf({{100, 100}, {101, 50}, {102, 10}}), simulatedOf({{100, 100}, {101, 40}, {102, 5}}));
    EXPECT_EQ(c.rowCount, 3);
    EXPECT_EQ(row(c, 2), "101/50 | 101/40");
    EXPECT_EQ(squaredErrorSum(c), 125.0L);
}

TEST(AlignPeakGroups, ShiftsTheSimulatedGroupOntoTheObservedBase) {
    const Comparison c = aligned(observedOf({{100, 30}, {101, 100}}), simulatedOf({{100, 100}, {101, 30}}));
    EXPECT_EQ(c.observedBase, 2);
    EXPECT_EQ(c.simulatedBase, 1);
    EXPECT_EQ(c.rowCount, 3);
    EXPECT_EQ(row(c, 1), "100/30 | 0/0");
    EXPECT_EQ(row(c, 2), "101/100 | 100/100");
    EXPECT_EQ(row(c, 3), "0/0 | 101/30");
    EXPECT_EQ(squaredErrorSum(c), 1800.0L);
}

TEST(AlignPeakGroups, ObservedAbundancesOnAnyScaleGiveTheSameResult) {
    const PeakList simulated = simulatedOf({{100, 100}, {101, 40}});
    const Comparison full = aligned(observedOf({{100, 100}, {101, 50}, {103, 10}}), simulated);
    const Comparison half = aligned(observedOf({{100, 50}, {101, 25}, {103, 5}}), simulated);
    EXPECT_EQ(loadReal48(half.observedMax), 50.0L);
    EXPECT_EQ(half.observedMeanMass, full.observedMeanMass);
    EXPECT_EQ(loadReal48(full.observedMeanMass), roundReal48(roundReal48(100 * 100 + 101 * 50.0L + 103 * 10.0L) / 160));
    EXPECT_EQ(row(half, 4), "103/10 | 0/0");
    EXPECT_EQ(row(half, 3), "0/0 | 0/0");  // the gap at 102
    EXPECT_EQ(squaredErrorSum(half), squaredErrorSum(full));
}

TEST(AlignPeakGroups, StatisticsAndBaseComeFromTheFirst25SlotsOnly) {
    ObservedPeaks observed;
    for (int i = 1; i <= 25; ++i) observed.observedPeaks[i] = {storeReal48(99.0L + i), 10.0L};
    observed.observedPeaks[26] = {storeReal48(125.0L), 50.0L};
    const Comparison c = aligned(observed, PeakList{});
    EXPECT_EQ(loadReal48(c.observedMax), 10.0L);
    EXPECT_EQ(loadReal48(c.observedMeanMass), 112.0L);
    EXPECT_EQ(c.observedBase, 25);  // the last slot at the maximum
    EXPECT_EQ(c.rowCount, 26);
    EXPECT_EQ(row(c, 26), "125/500 | 0/0");
    EXPECT_EQ(squaredErrorSum(c), 25 * 100.0L * 100 + 500.0L * 500);
}

TEST(AlignPeakGroups, SimulatedGroupStandsAloneWithoutObservedPeaks) {
    const Comparison simulatedOnly = aligned(ObservedPeaks{}, simulatedOf({{100, 100}, {101, 40}}));
    EXPECT_EQ(loadReal48(simulatedOnly.observedMax), 1.0L);
    EXPECT_TRUE(simulatedOnly.observedMeanMass.isZero());
    EXPECT_EQ(simulatedOnly.rowCount, 2);
    EXPECT_EQ(squaredErrorSum(simulatedOnly), 11600.0L);
    EXPECT_EQ(aligned(ObservedPeaks{}, PeakList{}).rowCount, 0);  // no group at all: no row
}

TEST(AlignPeakGroups, BaseWithoutAnExactHundredAlignsAcrossGaps) {
    // A Br2-like group: its maximum, scaled through a Real48, misses 100.
    const ObservedPeaks observed = observedOf({{158, 50}, {160, 100}, {162, 49}});
    const Comparison c = aligned(observed, simulatedOf({{158, 51.4L}, {160, 99.9999999L}, {162, 48.6L}}));
    EXPECT_EQ(c.simulatedBase, 3);
    EXPECT_EQ(c.rowCount, 5);
    EXPECT_EQ(row(c, 3), "160/100 | 160/99");
    EXPECT_EQ(row(c, 5), "162/49 | 162/48");

    // Equal maxima short of 100: the first is the base.
    EXPECT_EQ(aligned(observed, simulatedOf({{158, 50}, {160, 50}})).simulatedBase, 1);

    // An exact 100.0 decides even when another slot is larger.
    const Comparison exact = aligned(observedOf({{200, 100}, {201, 50}}), simulatedOf({{200, 100}, {201, 100.5L}}));
    EXPECT_EQ(exact.simulatedBase, 1);
    EXPECT_EQ(row(exact, 1), "200/100 | 200/100");
}

TEST(AlignPeakGroups, TablesGrowWithTheGroupsUpToTheCap) {
    const Comparison wide = aligned(observedOf({{100, 100}, {700, 50}}), PeakList{});
    EXPECT_EQ(wide.rowCount, 601);
    EXPECT_EQ(squaredErrorSum(wide), 12500.0L);
    EXPECT_EQ(aligned(observedOf({{1, 100}, {10000, 50}}), PeakList{}).rowCount, maxComparisonRows);

    Comparison c;
    EXPECT_THROW(alignPeakGroups(c, observedOf({{1, 100}, {10001, 50}}), PeakList{}), ComparisonTooWideError);
    EXPECT_THROW(alignPeakGroups(c, observedOf({{1, 100}, {2'000'000'000, 50}}), PeakList{}), ComparisonTooWideError);
    EXPECT_THROW(alignPeakGroups(c, ObservedPeaks{}, simulatedOf({{5, 100}, {3e30L, 50}})), ComparisonTooWideError);
    EXPECT_NE(std::string(ComparisonTooWideError().what()).find("10000"), std::string::npos);
}

TEST(SquaredErrorSum, RoundsAbundancesAndEverySumToRealFortyEight) {
    Comparison c;
    c.alignedObserved = {Peak{}, {storeReal48(1.0L), 1.0L / 3}, Peak{}};
    c.alignedSimulated = {Peak{}, Peak{}, {storeReal48(2.0L), 0.1L}};
    const long double third = roundReal48(1.0L / 3), tenth = roundReal48(0.1L);
    EXPECT_EQ(squaredErrorSum(c), roundReal48(roundReal48(third * third) + tenth * tenth));
}

}  // namespace
}  // namespace isoquill
