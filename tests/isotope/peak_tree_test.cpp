#include "isotope/peak_tree.h"

#include <gtest/gtest.h>

namespace isoquill {
namespace {

std::vector<WorkPeak> readOut(const PeakTree& tree) {
    std::vector<WorkPeak> out;
    tree.readOutPeaks(out);
    return out;
}

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

TEST(PeakTree, MergedPeakKeepsTheMassThatCreatedItsNode) {
    PeakTree tree;
    tree.addPeak(roundReal48(100.0L), 0.25L);
    tree.addPeak(roundReal48(100.05L), 0.25L);
    tree.addPeak(roundReal48(99.96L), 0.125L);
    tree.addPeak(roundReal48(100.2L), 0.125L);
    const auto peaks = readOut(tree);
    ASSERT_EQ(peaks.size(), 2u);
    EXPECT_EQ(peaks[0].mass, 100.0L);
    EXPECT_EQ(peaks[0].abundance, 0.625L);
    EXPECT_EQ(peaks[1].mass, roundReal48(100.2L));
}

TEST(PeakTree, PeakCloseToTwoNodesJoinsTheOneOnItsPathFirst) {
    const long double low = roundReal48(100.0L), high = roundReal48(100.12L), between = roundReal48(100.06L);
    PeakTree lowFirst;
    lowFirst.addPeak(low, 0.5L);
    lowFirst.addPeak(high, 0.5L);
    lowFirst.addPeak(between, 0.25L);
    EXPECT_EQ(readOut(lowFirst)[0].abundance, 0.75L);

    PeakTree highFirst;
    highFirst.addPeak(high, 0.5L);
    highFirst.addPeak(low, 0.5L);
    highFirst.addPeak(between, 0.25L);
    EXPECT_EQ(readOut(highFirst)[1].abundance, 0.75L);
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
