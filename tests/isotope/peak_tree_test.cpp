#include "isotope/peak_tree.h"

#include <gtest/gtest.h>

namespace isoquill::testing {

TEST(PeakTree, MergesBelowTheWindowAndReadsOutAscendingAboveMinAbundance) {
    // mergeWindow - 2^-44 lies halfway between mergeWindow and the Real48
    // value below it: a tie rounds up to the window and stays apart.
    for (const auto& [first, nodes] : {std::pair{0x1p-44L, 2}, {0x1p-44L + 0x1p-60L, 1}}) {
        PeakTree tree;
        tree.addPeak(first, 0.5L);
        tree.addPeak(mergeWindow, 0.5L);
        EXPECT_EQ(tree.liveNodeCount(), nodes) << static_cast<double>(first);
    }
    // 5.0 exactly at the limit is dropped; 4.0, alone below the limit, is
    // kept merged above it; 1.0 stays below it.
    PeakTree tree;
    const long double small = roundReal48(0.00006L);
    for (const auto& [mass, abundance] :
         {std::pair{5.0L, minAbundance}, {3.0L, 0.5L}, {4.0L, small}, {4.0L, small}, {1.0L, small}, {2.0L, 0.25L}})
        tree.addPeak(mass, abundance);
    std::vector<WorkPeak> peaks;  // as the isotope passes read them out
    tree.readOutPeaks(peaks);
    ASSERT_EQ(peaks.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(peaks[i].mass, i + 2.0L) << i;
    EXPECT_TRUE(peaks[0].abundance == 0.25L && peaks[1].abundance == 0.5L && peaks[2].abundance == small + small);
}

}  // namespace isoquill::testing
