#include "compare/comparison.h"

#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "peak_values.h"

namespace isoquill {
namespace {

using namespace testing;

PeakList simulatedOf(const PeakValues& peaks) {
    PeakList list;
    for (auto [mass, abundance] : peaks) list.append({storeReal48(mass), abundance});
    return list;
}

// The rows that hold a peak, as "row:observed mass/abundance|simulated mass/abundance", whole numbers.
std::string rowsText(const Comparison& c) {
    const auto values = [](const Peak& p) {
        return std::to_string(static_cast<int>(loadReal48(p.mass))) + "/" +
               std::to_string(static_cast<int>(p.abundance));
    };
    std::string text;
    for (std::size_t k = 1; k <= static_cast<std::size_t>(c.rowCount); ++k) {
        if (c.alignedObserved[k].abundance == 0 && c.alignedSimulated[k].abundance == 0) continue;
        if (!text.empty()) text += ' ';
        text += std::to_string(k) + ":" + values(c.alignedObserved[k]) + "|" + values(c.alignedSimulated[k]);
    }
    return text;
}

constexpr long double unchecked = -1;  // error of a case not checked

TEST(AlignPeakGroups, PlacesBothGroupsOnTheBaseAndSumsTheSquaredErrors) {
    struct Case { PeakValues observed, simulated; int rowCount, observedBase, simulatedBase; std::string rows;
                  long double error, observedMax, meanMass; };
    const Case cases[] = {
        {{{100, 100}, {101, 50}, {102, 10}}, {{100, 100}, {101, 40}, {102, 5}}, 3, 1, 1,
         "1:100/100|100/100 2:101/50|101/40 3:102/10|102/5", 125, 100, 16070.0L / 160},
        // The simulated base moves onto the observed one.
        {{{100, 30}, {101, 100}}, {{100, 100}, {101, 30}}, 3, 2, 1, "1:100/30|0/0 2:101/100|100/100 3:0/0|101/30", 1800,
         100, 13100.0L / 130},
        // Observed abundances on any scale; a gap at 102.
        {{{100, 50}, {101, 25}, {103, 5}}, {{100, 100}, {101, 40}}, 4, 1, 1,
         "1:100/100|100/100 2:101/50|101/40 4:103/10|0/0", 200, 50, 16080.0L / 160},
        // A Br2-like group whose maximum misses 100 aligns across the gaps.
        {{{158, 50}, {160, 100}, {162, 49}}, {{158, 51.4L}, {160, 99.9999999L}, {162, 48.6L}}, 5, 3, 3,
         "1:158/50|158/51 3:160/100|160/99 5:162/49|162/48", unchecked, 100, 31838.0L / 199},
        // Equal maxima short of 100: the first is the base.
        {{{158, 50}, {160, 100}, {162, 49}}, {{158, 50}, {160, 50}}, 5, 3, 1,
         "1:158/50|0/0 3:160/100|158/50 5:162/49|160/50", 5001, 100, 31838.0L / 199},
        // An exact 100.0 decides even when another peak is larger.
        {{{200, 100}, {201, 50}}, {{200, 100}, {201, 100.5L}}, 3, 1, 1, "1:200/100|200/100 2:201/50|201/100",
         2550.25L, 100, 30050.0L / 150},
        {{{100, 100}}, {{100, 100}}, 1, 1, 1, "1:100/100|100/100", 0, 100, 100},
        {{}, {{100, 100}, {101, 40}}, 2, 0, 1, "1:0/0|100/100 2:0/0|101/40", 11600, 1, 0},
        {{}, {}, 0, 0, 0, "", 0, 1, 0},
        {{{100, 100}, {700, 50}}, {}, 601, 1, 0, "1:100/100|0/0 601:700/50|0/0", 12500, 100, 45000.0L / 150},
        {{{1, 100}, {10000, 50}}, {}, 10000, 1, 0, "1:1/100|0/0 10000:10000/50|0/0", 12500, 100, 500100.0L / 150},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const Case& expected = cases[i];
        Comparison c;
        alignPeakGroups(c, observedOf(expected.observed), simulatedOf(expected.simulated));
        EXPECT_EQ(std::tuple(c.rowCount, c.observedBase, c.simulatedBase, rowsText(c)),
                  std::tuple(expected.rowCount, expected.observedBase, expected.simulatedBase, expected.rows));
        if (expected.error != unchecked) {
            EXPECT_EQ(squaredErrorSum(c), expected.error);
        }
        EXPECT_EQ(std::pair(c.observedMax, c.observedMeanMass),
                  std::pair(storeReal48(expected.observedMax), storeReal48(expected.meanMass)));
    }
    Comparison c;
    EXPECT_THROW(alignPeakGroups(c, observedOf({{1, 100}, {10001, 50}}), PeakList{}), ComparisonTooWideError);
    EXPECT_THROW(alignPeakGroups(c, observedOf({{1, 100}, {2'000'000'000, 50}}), PeakList{}), ComparisonTooWideError);
    EXPECT_THROW(alignPeakGroups(c, ObservedPeaks{}, simulatedOf({{5, 100}, {3e30L, 50}})), ComparisonTooWideError);
    EXPECT_STREQ(ComparisonTooWideError().what(),
                 "Die Peakgruppen sind zu breit für den Vergleich (mehr als 10000 Zeilen)");
}

TEST(AlignPeakGroups, StatisticsAndBaseComeFromTheFirst25SlotsOnly) {
    PeakValues peaks;
    for (int i = 1; i <= 25; ++i) peaks.emplace_back(99 + i, 10);
    peaks.emplace_back(125, 50);
    Comparison c;
    alignPeakGroups(c, observedOf(peaks), PeakList{});
    EXPECT_EQ(c.observedMax, storeReal48(10));
    EXPECT_EQ(c.observedMeanMass, storeReal48(112));
    EXPECT_EQ(c.observedBase, 25);  // the last slot at the maximum
    EXPECT_EQ(c.rowCount, 26);
    EXPECT_EQ(rowsText(c).substr(rowsText(c).rfind(' ') + 1), "26:125/500|0/0");
    EXPECT_EQ(squaredErrorSum(c), 25 * 100.0L * 100 + 500.0L * 500);
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
