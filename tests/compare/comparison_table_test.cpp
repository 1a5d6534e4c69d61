#include "compare/comparison_table.h"

#include <gtest/gtest.h>

namespace isoquill {
namespace {

TEST(ComparisonTable, DataRowsShowBothGroupsAndTheirDifferenceCutToTheirColumns) {
    // Just below 0.125 the extended value writes as 0.12; Real48 has too few
    // bits to hold it apart from 0.125, which writes as 0.13.
    const long double justBelow = 0.125L - 1e-15L;
    Comparison c;
    c.rowCount = 123;
    c.alignedObserved.resize(124);
    c.alignedSimulated.resize(124);
    c.alignedObserved[1] = {storeReal48(100), 30};
    c.alignedObserved[2] = {storeReal48(101), 100};
    c.alignedSimulated[2] = {storeReal48(100.9995L), 100};
    c.alignedSimulated[3] = {storeReal48(102), 6.66L};
    c.alignedObserved[4] = {storeReal48(12), justBelow};
    c.alignedObserved[5] = {storeReal48(1e12L), 1e13L};
    const std::pair<int, ComparisonRow> cases[] = {
        {1, {" 1", " 100.0", " 30.0", "   0.0", "  0.0", "  30.00"}},
        {2, {" 2", " 101.0", "100.0", " 101.0", "100.0", "   0.00"}},
        {3, {" 3", "   0.0", "  0.0", " 102.0", "  6.7", "  -6.66"}},
        {4, {" 4", "  12.0", "  0.1", "   0.0", "  0.0", "   0.13"}},
        {5, {" 5", "100000000000", "100000000000", "   0.0", "  0.0", "100000000000"}},
        {100, {"10", "   0.0", "  0.0", "   0.0", "  0.0", "   0.00"}},  // row numbers keep two characters
        {123, {"12", "   0.0", "  0.0", "   0.0", "  0.0", "   0.00"}},
    };
    for (const auto& [row, texts] : cases) EXPECT_EQ(comparisonDataRow(c, row), texts) << "row " << row;
    EXPECT_EQ(comparisonErrorText(125.0L), " 125.00");
    EXPECT_EQ(comparisonErrorText(123456789012.5L), "123456789012");
}

}  // namespace
}  // namespace isoquill
