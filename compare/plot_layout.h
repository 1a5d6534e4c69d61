// The comparison plot as plain geometry: for a paint box of a given size and
// the aligned results, the red observed and blue simulated bars, the green
// ticks and the axis. The box itself is filled white first.
#pragma once

#include <cstdint>
#include <vector>

#include "compare/comparison.h"

namespace isoquill {

constexpr std::uint32_t plotRed = 0xFF0000;    // observed
constexpr std::uint32_t plotBlue = 0x0000FF;   // simulated
constexpr std::uint32_t plotGreen = 0x008000;  // ticks and axis

// The pixels a line covers, its start and end point included.
struct PixelRun {
    int x, y, width, height;
};

// A line from (x1, y1) to (x2, y2), 1 pixel wide, in box coordinates with y
// growing downwards. Every line of the plot is vertical or horizontal.
struct PlotLine {
    int x1, y1, x2, y2;
    std::uint32_t rgb;

    PixelRun pixels() const;
    friend bool operator==(const PlotLine&, const PlotLine&) = default;
};

// Baseline 40 pixels above the bottom, 100 % reaching 40 pixels below the
// top, one slot of (width - 10) div (rowCount + 1) pixels per aligned row.
// Nothing when rowCount is 0 or less.
std::vector<PlotLine> plotLines(const Comparison& comparison, int width, int height);

}  // namespace isoquill
