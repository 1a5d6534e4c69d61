#include "chem/formula.h"

#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core_fixture.h"

namespace isoquill::testing {

// Symbol, element, count, count as typed.
using Entries = std::vector<std::tuple<std::string, int, std::int32_t, long double>>;

// The entries before the end marker, as formulaEntryTotal counts them.
static Entries entries(const Formula& formula) {
    Entries result;
    for (int i = 0; i < formulaEntryTotal(formula); ++i) {
        const FormulaEntry& e = formula.formulaTable[static_cast<std::size_t>(i)];
        result.emplace_back(e.symbol.text(), e.element, e.count, loadReal48(e.countReal));
    }
    return result;
}

TEST(Formula, ParsesEntriesInTextOrderAlsoOverOldTokensAndReportsTheLastSyntaxOffence) {
    const struct { const char* text; Entries entries; } cases[] = {
        {"C6H12O6", {{" C", 6, 6, 6}, {" H", 1, 12, 12}, {" O", 8, 6, 6}}},
        {"CH3COOH",
         {{" C", 6, 1, 1}, {" H", 1, 3, 3}, {" C", 6, 1, 1}, {" O", 8, 1, 1}, {" O", 8, 1, 1}, {" H", 1, 1, 1}}},
        {"NaCl", {{"Na", 11, 1, 1}, {"Cl", 17, 1, 1}}}, {"Cl2", {{"Cl", 17, 2, 2}}}, {"C1.5", {{" C", 6, 1, 1.5L}}},
        {"C.5", {{" C", 6, 0, 0.5L}}}, {"C1.2.3", {{" C", 6, 1, roundReal48(1.2L)}}}, {"co", {{" o", 0, 1, 1}}},
        {"Co", {{"Co", 27, 1, 1}}}, {"CO", {{" C", 6, 1, 1}, {" O", 8, 1, 1}}}, {"C 2", {{"C ", 0, 2, 2}}},
        {"C12345678901", {{" C", 6, 123456789, 123456789}}}, {"x9999999999", {{"", 0, 2147483647, 9999999999.0L}}},
        {"", {}}, {"cO", {}},  // token 1 empty: nothing parsed
    };
    for (const auto& c : cases) EXPECT_EQ(entries(parsed(c.text)), c.entries) << c.text;
    // The syntax check reports the last offence.
    for (const auto& [text, offence] : {std::pair{"C6H12O6", 0}, {"Naa", 3}, {"C2l", 3}, {"H2.o", 4}, {"C2lH2cl", 7},
                                        {"co", 0}, {"", 0}, {"Uuo", 3}})
        EXPECT_EQ(checkFormulaSyntax(parsed(text)), offence) << text;
    // A parse over an uncleared table, as the fragment page's run parses over
    // what the comparison left there, continues through the old tokens.
    Formula formula = parsed("C6H12O6");
    setFormulaText(formula, "CO");
    parseFormula(formula, shippedElements());
    EXPECT_EQ(entries(formula), (Entries{{" C", 6, 1, 1}, {" O", 8, 1, 1}, {" O", 8, 6, 6}}));
}

TEST(Formula, MassSumsCountTimesMeanMassUpToTheFirstEmptySymbol) {
    const long double carbon = loadReal48(shippedElements()[6].mass);
    for (const auto& [text, mass] :
         {std::pair{"C1.5", roundReal48(1.5L * carbon)}, {"CC", 2 * carbon}, {"Cx2C", carbon}, {"", 0.0L}}) {
        Formula formula = parsed(text);
        computeFormulaMass(formula, shippedElements());
        EXPECT_EQ(loadReal48(formula.formulaMass), mass) << text;
    }
}

}  // namespace isoquill::testing
