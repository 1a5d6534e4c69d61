#include "compare/comparison_table.h"

#include <gtest/gtest.h>

#include "chem/number_text.h"

namespace isoquill {
namespace {

Peak peak(long double mass, long double abundance) {
    return {storeReal48(mass), abundance};
}

// rowCount aligned rows, all empty until set.
Comparison comparisonOf(int rowCount) {
    Comparison comparison;
    comparison.rowCount = rowCount;
    comparison.alignedObserved.resize(static_cast<std::size_t>(rowCount) + 1);
    comparison.alignedSimulated.resize(static_cast<std::size_t>(rowCount) + 1);
    return comparison;
}

TEST(ComparisonTable, DataRowsShowBothGroupsAndTheirDifference) {
    Comparison comparison = comparisonOf(3);
    comparison.alignedObserved[1] = peak(100, 30);
    comparison.alignedObserved[2] = peak(101, 100);
    comparison.alignedSimulated[2] = peak(100.9995L, 100);
    comparison.alignedSimulated[3] = peak(102, 6.66L);
    EXPECT_EQ(comparisonDataRow(comparison, 1), (ComparisonRow{" 1", " 100.0", " 30.0", "   0.0", "  0.0", "  30.00"}));
    EXPECT_EQ(comparisonDataRow(comparison, 2), (ComparisonRow{" 2", " 101.0", "100.0", " 101.0", "100.0", "   0.00"}));
    EXPECT_EQ(comparisonDataRow(comparison, 3), (ComparisonRow{" 3", "   0.0", "  0.0", " 102.0", "  6.7", "  -6.66"}));
}

TEST(ComparisonTable, RowNumbersFrom100AreCutToTwoCharacters) {
    Comparison comparison = comparisonOf(123);
    EXPECT_EQ(comparisonDataRow(comparison, 9)[0], " 9");
    EXPECT_EQ(comparisonDataRow(comparison, 100)[0], "10");
    EXPECT_EQ(comparisonDataRow(comparison, 123)[0], "12");
}

TEST(ComparisonTable, LongTextsAreCutToTwelveCharacters) {
    Comparison comparison = comparisonOf(1);
    comparison.alignedObserved[1] = peak(1e12L, 1e13L);
    const ComparisonRow row = comparisonDataRow(comparison, 1);
    EXPECT_EQ(row[1], "100000000000");
    EXPECT_EQ(row[2], "100000000000");
    EXPECT_EQ(row[5], "100000000000");
    EXPECT_EQ(comparisonErrorText(125.0L), " 125.00");
    EXPECT_EQ(comparisonErrorText(123456789012.5L), "123456789012");
}

TEST(ComparisonTable, DifferenceIsRoundedToReal48BeforeItIsWritten) {
    // Just below 0.125 the extended value writes as 0.12; Real48 has too few
    // bits to hold it apart from 0.125, which writes as 0.13.
    const long double justBelow = 0.125L - 1e-15L;
    ASSERT_EQ(formatReal(justBelow, 7, 2), "   0.12");
    ASSERT_EQ(roundReal48(justBelow), 0.125L);
    Comparison comparison = comparisonOf(1);
    comparison.alignedObserved[1] = peak(12, justBelow);
    EXPECT_EQ(comparisonDataRow(comparison, 1)[5], "   0.13");
}

}  // namespace
}  // namespace isoquill
