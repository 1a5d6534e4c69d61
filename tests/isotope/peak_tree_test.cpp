#include "isotope/peak_tree.h"

#include <gtest/gtest.h>

namespace isoquill {
namespace {

TEST(PeakTree, ThresholdsAreTheirRealFortyEightValues) {
    EXPECT_EQ(mergeWindow, roundReal48(0.1L));
    EXPECT_EQ(minAbundance, roundReal48(0.0001L));
}

TEST(PeakTree, MergesWhenTheRoundedDifferenceIsBelowTheWindow) {
    // mergeWindow - 2^-44 lies halfway between mergeWindow and the Real48
    // value below it: a tie rounds up to the window and stays apart.
    PeakTree tie;
    tie.addPeak(0x1p-44L, 0.5L);
    tie.addPeak(mergeWindow, 0.5L);
    EXPECT_EQ(tie.liveNodeCount(), 2);

    PeakTree belowTie;
    belowTie.addPeak(0x1p-44L + 0x1p-60L, 0.5L);
    belowTie.addPeak(mergeWindow, 0.5L);
    EXPECT_EQ(belowTie.liveNodeCount(), 1);
}

TEST(PeakTree, ReadOutIsAscendingAndDropsPeaksAtOrBelowMinAbundance) {
    PeakTree tree;
    const long double small = roundReal48(0.00006L);
    tree.addPeak(5.0L, minAbundance);  // exactly the limit: dropped
    tree.addPeak(3.0L, 0.5L);
    tree.addPeak(4.0L, small);  // alone below the limit, merged above it
    tree.addPeak(4.0L, small);
    tree.addPeak(1.0L, small);
    tree.addPeak(2.0L, 0.25L);

    PeakList list;
    tree.readOutPeaks(list);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list[1].mass, storeReal48(2.0L));
    EXPECT_EQ(list[2].mass, storeReal48(3.0L));
    EXPECT_EQ(list[3].mass, storeReal48(4.0L));
    EXPECT_EQ(list[3].abundance, small + small);
    EXPECT_EQ(tree.liveNodeCount(), 5);
    tree.freePeakTree();
    EXPECT_TRUE(tree.empty());
}

}  // namespace
}  // namespace isoquill
