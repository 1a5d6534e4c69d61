#include "chem/count_code.h"

#include <gtest/gtest.h>

#include "shipped_elements.h"

namespace isoquill {
namespace {

Formula parsed(std::string_view text) {
    Formula formula;
    setFormulaText(formula, text);
    clearFormula(formula);
    parseFormula(formula, testing::shippedElements());
    return formula;
}

TEST(CountCode, CompleteWhenOneFieldPerEntry) {
    const Formula glucose = parsed("C6H12O6");
    EXPECT_TRUE(isCompleteCountCode("6.12.6", glucose));
    EXPECT_FALSE(isCompleteCountCode("6.12", glucose));
    EXPECT_FALSE(isCompleteCountCode(".6.12.6", glucose));
    EXPECT_FALSE(isCompleteCountCode("6.12.6.1", glucose));
    EXPECT_FALSE(isCompleteCountCode("", glucose));
    const Formula carbon = parsed("C");
    EXPECT_TRUE(isCompleteCountCode("12", carbon));
    EXPECT_FALSE(isCompleteCountCode("", carbon));
}

TEST(CountCode, ConvertsToFormulaText) {
    const Formula glucose = parsed("C6H12O6");
    EXPECT_EQ(countCodeToFormula("6.12.6", glucose), " C6  H12 O6 ");
    EXPECT_EQ(countCodeToFormula("6.0.6", glucose), " C6  O6 ");
    EXPECT_EQ(countCodeToFormula("6", glucose), " C6 ");
    EXPECT_EQ(countCodeToFormula("6.12.6.9.9", glucose), " C6  H12 O6 ");
    EXPECT_EQ(countCodeToFormula("x.1a.", glucose), " H1 ");
    EXPECT_EQ(countCodeToFormula("007", glucose), " C7 ");
    EXPECT_EQ(countCodeToFormula("1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16", parsed("CHNOSPFClBrINaKCaMgFe")),
              " C1  H2  N3  O4  S5  P6  F7  Cl8  Br9  I10 Na11 K12 Ca13 Mg14 Fe15");
    EXPECT_EQ(countCodeToFormula("2", parsed("Cl")), " Cl2 ");
}

TEST(CountCode, EmptySymbolContributesNoCharacters) {
    EXPECT_EQ(countCodeToFormula("3.2", parsed("x9C")), " 3  C2 ");
}

}  // namespace
}  // namespace isoquill
