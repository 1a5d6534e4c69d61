#include "compare/plot_layout.h"

#include <gtest/gtest.h>

namespace isoquill {
namespace {

// Rows of observed and simulated abundances, masses left 0.
Comparison comparisonOf(std::initializer_list<std::pair<long double, long double>> rows) {
    Comparison comparison;
    comparison.rowCount = static_cast<int>(rows.size());
    comparison.alignedObserved.resize(rows.size() + 1);
    comparison.alignedSimulated.resize(rows.size() + 1);
    std::size_t k = 1;
    for (auto [observed, simulated] : rows) {
        comparison.alignedObserved[k].abundance = observed;
        comparison.alignedSimulated[k++].abundance = simulated;
    }
    return comparison;
}

// The design size: plot height 613 - 80 = 533, width 193 - 10 = 183,
// baseline 573, three rows in slots of 183 div 4 = 45 pixels centred at 32, 77, 122.
TEST(PlotLayout, BarsTicksAndAxisAtTheDesignSize) {
    // Row 1: 533 x 30 % = 159.9, truncated; row 2: 100 % reaches 40 pixels
    // below the top; the axis runs from 45 div 2 + 5 to the last centre.
    const std::vector<PlotLine> expected = {
        {29, 573, 29, 414, plotRed},   {32, 573, 32, 578, plotGreen},  {74, 573, 74, 40, plotRed},
        {80, 573, 80, 40, plotBlue},   {77, 573, 77, 578, plotGreen},  {125, 573, 125, 414, plotBlue},
        {122, 573, 122, 578, plotGreen}, {27, 573, 122, 573, plotGreen}, {27, 573, 27, 578, plotGreen},
        {122, 573, 122, 578, plotGreen}};
    EXPECT_EQ(plotLines(comparisonOf({{30, 0}, {100, 100}, {0, 30}}), 193, 613), expected);
    EXPECT_TRUE(plotLines(Comparison{}, 193, 613).empty());
    // An observed peak above 100 is taller than the plot.
    EXPECT_EQ(plotLines(comparisonOf({{150, 0}}), 193, 613).front(), (PlotLine{52, 573, 52, 573 - 799, plotRed}));
    // Too many rows for the width fall on one slot.
    for (const PlotLine& line : plotLines(comparisonOf({{100, 100}, {50, 50}, {10, 10}}), 12, 200))
        if (line.rgb != plotGreen) { EXPECT_EQ(line.x1, line.rgb == plotRed ? 7 : 13); }
}

TEST(PlotLayout, PixelRunsCoverBothEndsOfALine) {
    const auto run = [](const PlotLine& line) {
        const PixelRun r = line.pixels();
        return std::array{r.x, r.y, r.width, r.height};
    };
    EXPECT_EQ(run({29, 573, 29, 414, plotRed}), (std::array{29, 414, 1, 160}));
    EXPECT_EQ(run({122, 573, 27, 573, plotGreen}), (std::array{27, 573, 96, 1}));
}

}  // namespace
}  // namespace isoquill
