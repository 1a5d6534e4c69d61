#include "isotope/peak_tree.h"

#include <vector>

#include <gtest/gtest.h>

namespace isoquill::testing {

TEST(PeakTree, MergesBelowTheWindowAndReadsOutAscendingAboveMinAbundance) {
    EXPECT_TRUE(mergeWindow == roundReal48(0.1L) && minAbundance == roundReal48(0.0001L));
    // mergeWindow - 2^-44 lies halfway between mergeWindow and the Real48
    // value below it: a tie rounds up to the window and stays apart.
    for (const auto& [first, nodes] : {std::pair{0x1p-44L, 2}, {0x1p-44L + 0x1p-60L, 1}}) {
        PeakTree tree;
        tree.addPeak(first, 0.5L);
        tree.addPeak(mergeWindow, 0.5L);
        EXPECT_EQ(tree.liveNodeCount(), nodes) << static_cast<double>(first);
    }
    PeakTree tree;
    const long double small = roundReal48(0.00006L);
    tree.addPeak(5.0L, minAbundance);  // exactly the limit: dropped
    tree.addPeak(3.0L, 0.5L);
    tree.addPeak(4.0L, small);  // alone below the limit, merged above it
    tree.addPeak(4.0L, small);
    tree.addPeak(1.0L, small);
    tree.addPeak(2.0L, 0.25L);
    PeakList list;
    std::vector<WorkPeak> passes;  // as the isotope passes read out: the same peaks
    tree.readOutPeaks(list);
    tree.readOutPeaks(passes);
    ASSERT_TRUE(list.count() == 3 && passes.size() == 3u);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(list[i].mass == storeReal48(i + 1.0L) && passes[i - 1].mass == i + 1.0L &&
                    passes[i - 1].abundance == list[i].abundance) << i;
    EXPECT_EQ(list[3].abundance, small + small);
    EXPECT_EQ(tree.liveNodeCount(), 5);
    tree.freePeakTree();
    EXPECT_TRUE(tree.empty());
}

}  // namespace isoquill::testing
