#include "chem/count_code.h"

#include <gtest/gtest.h>

#include "core_fixture.h"

namespace isoquill {
namespace {

using testing::parsed;

TEST(CountCode, CompleteWhenOneFieldPerEntry) {
    const struct {
        const char *code, *formula;
        bool complete;
    } cases[] = {
        {"6.12.6", "C6H12O6", true}, {"6.12", "C6H12O6", false}, {".6.12.6", "C6H12O6", false},
        {"6.12.6.1", "C6H12O6", false}, {"", "C6H12O6", false}, {"12", "C", true}, {"", "C", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isCompleteCountCode(c.code, parsed(c.formula)), c.complete) << c.code;
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
