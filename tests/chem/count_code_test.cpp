#include "chem/count_code.h"

#include <gtest/gtest.h>

#include "core_fixture.h"

namespace isoquill::testing {

// Complete with one field per entry. A field of 0 writes nothing; an empty
// symbol contributes no characters.
TEST(CountCode, ConvertsToFormulaTextAndIsCompleteWithOneFieldPerEntry) {
    const struct { const char *code, *formula, *text; bool complete; } cases[] = {
        {"6.12.6", "C6H12O6", " C6  H12 O6 ", true}, {"6.0.6", "C6H12O6", " C6  O6 ", true},
        {"6", "C6H12O6", " C6 ", false}, {"6.12.6.9", "C6H12O6", " C6  H12 O6 ", false},
        {"2", "Cl", " Cl2 ", true}, {"", "C", "", false}, {"3.2", "x9C", " 3  C2 ", true},
        {"1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16", "CHNOSPFClBrINaKCaMgFe",
         " C1  H2  N3  O4  S5  P6  F7  Cl8  Br9  I10 Na11 K12 Ca13 Mg14 Fe15", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countCodeToFormula(c.code, parsed(c.formula)), c.text) << c.code;
        EXPECT_EQ(isCompleteCountCode(c.code, parsed(c.formula)), c.complete) << c.code;
    }
}

}  // namespace isoquill::testing
