#include "compare/plot_layout.h"

#include <algorithm>
#include <cmath>

namespace isoquill {
namespace {

// The bar height in whole pixels, truncated. Clamped so an abundance far
// above 100 cannot overflow an int; such a bar leaves the box either way.
int barHeight(int plotHeight, long double abundance) {
    const long double height = std::trunc(static_cast<long double>(plotHeight) * abundance * 0.01L);
    return static_cast<int>(std::clamp(height, -1.0e9L, 1.0e9L));
}

}  // namespace

PixelRun PlotLine::pixels() const {
    return {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1};
}

std::vector<PlotLine> plotLines(const Comparison& comparison, int width, int height) {
    std::vector<PlotLine> lines;
    const int rowCount = comparison.rowCount;
    if (rowCount <= 0) return lines;
    const int plotHeight = height - 80;
    const int plotWidth = width - 10;
    const int baseline = plotHeight + 40;
    const int slot = plotWidth / (rowCount + 1);
    for (int k = 1; k <= rowCount; ++k) {
        const int centre = (k - 1) * slot + 10 + slot / 2;
        const long double observed = comparison.alignedObserved[static_cast<std::size_t>(k)].abundance;
        const long double simulated = comparison.alignedSimulated[static_cast<std::size_t>(k)].abundance;
        if (observed > 0.0L)
            lines.push_back({centre - 3, baseline, centre - 3, baseline - barHeight(plotHeight, observed), plotRed});
        if (simulated > 0.0L)
            lines.push_back({centre + 3, baseline, centre + 3, baseline - barHeight(plotHeight, simulated), plotBlue});
        lines.push_back({centre, baseline, centre, baseline + 5, plotGreen});
    }
    const int axisLeft = slot / 2 + 5;
    const int axisRight = axisLeft + 5 + (rowCount - 1) * slot;
    lines.push_back({axisLeft, baseline, axisRight, baseline, plotGreen});
    lines.push_back({axisLeft, baseline, axisLeft, baseline + 5, plotGreen});
    lines.push_back({axisRight, baseline, axisRight, baseline + 5, plotGreen});
    return lines;
}

}  // namespace isoquill
