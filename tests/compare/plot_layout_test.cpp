#include "compare/plot_layout.h"

#include <gtest/gtest.h>

namespace isoquill {

void PrintTo(const PlotLine& line, std::ostream* os) {
    *os << "(" << line.x1 << "," << line.y1 << ")-(" << line.x2 << "," << line.y2 << ") #" << std::hex << line.rgb;
}

namespace {

Comparison comparisonOf(std::initializer_list<std::pair<long double, long double>> rows) {
    Comparison comparison;
    comparison.rowCount = static_cast<int>(rows.size());
    comparison.alignedObserved.resize(rows.size() + 1);
    comparison.alignedSimulated.resize(rows.size() + 1);
    std::size_t k = 1;
    for (auto [observed, simulated] : rows) {
        comparison.alignedObserved[k].abundance = observed;
        comparison.alignedSimulated[k].abundance = simulated;
        ++k;
    }
    return comparison;
}

TEST(PlotLayout, NothingBeforeTheFirstComparison) {
    EXPECT_TRUE(plotLines(Comparison{}, 193, 613).empty());
}

// The design size: plot height 613 - 80 = 533, width 193 - 10 = 183,
// baseline 573, three rows in slots of 183 div 4 = 45 pixels centred at 32, 77, 122.
TEST(PlotLayout, BarsTicksAndAxisAtTheDesignSize) {
    const auto lines = plotLines(comparisonOf({{30, 0}, {100, 100}, {0, 30}}), 193, 613);
    const std::vector<PlotLine> expected = {
        {29, 573, 29, 414, plotRed},    // 533 x 30 % = 159.9, truncated
        {32, 573, 32, 578, plotGreen},
        {74, 573, 74, 40, plotRed},     // 100 % reaches 40 pixels below the top
        {80, 573, 80, 40, plotBlue},
        {77, 573, 77, 578, plotGreen},
        {125, 573, 125, 414, plotBlue},
        {122, 573, 122, 578, plotGreen},
        {27, 573, 122, 573, plotGreen},  // axis from 45 div 2 + 5 to the last centre
        {27, 573, 27, 578, plotGreen},
        {122, 573, 122, 578, plotGreen},
    };
    EXPECT_EQ(lines, expected);
}

TEST(PlotLayout, PixelRunsCoverBothEndsOfALine) {
    const auto run = [](const PlotLine& line) {
        const PixelRun r = line.pixels();
        return std::vector<int>{r.x, r.y, r.width, r.height};
    };
    EXPECT_EQ(run({29, 573, 29, 414, plotRed}), (std::vector<int>{29, 414, 1, 160}));
    EXPECT_EQ(run({122, 573, 27, 573, plotGreen}), (std::vector<int>{27, 573, 96, 1}));
}

TEST(PlotLayout, ObservedAboveHundredIsTallerThanThePlot) {
    const auto lines = plotLines(comparisonOf({{150, 0}}), 193, 613);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], (PlotLine{52, 573, 52, 573 - 799, plotRed}));
}

TEST(PlotLayout, TooManyRowsForTheWidthFallOnOneSlot) {
    const auto lines = plotLines(comparisonOf({{100, 100}, {50, 50}, {10, 10}}), 12, 200);
    for (const PlotLine& line : lines) {
        if (line.rgb == plotRed) {
            EXPECT_EQ(line.x1, 7);
        }
        if (line.rgb == plotBlue) {
            EXPECT_EQ(line.x1, 13);
        }
    }
}

}  // namespace
}  // namespace isoquill
