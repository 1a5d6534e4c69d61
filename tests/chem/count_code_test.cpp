#include "chem/count_code.h"

#include <gtest/gtest.h>

#include "core_fixture.h"

namespace isoquill::testing {

// Complete with one field per entry; fields past the entries write nothing,
// nor does an empty symbol. Codes as the candidates make them show in the
// result table's tests.
TEST(CountCode, ConvertsToFormulaTextAndIsCompleteWithOneFieldPerEntry) {
    const struct { const char *code, *formula, *text; bool complete; } cases[] = {
        {"6.12.6.9", "C6H12O6", " C6  H12 O6 ", false}, {"", "C", "", false}, {"3.2", "x9C", " 3  C2 ", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countCodeToFormula(c.code, parsed(c.formula)), c.text) << c.code;
        EXPECT_EQ(isCompleteCountCode(c.code, parsed(c.formula)), c.complete) << c.code;
    }
}

}  // namespace isoquill::testing
