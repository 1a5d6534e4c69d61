#include "chem/formula.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chem/number_text.h"
#include "core_fixture.h"

namespace isoquill {
namespace {

struct Entry {
    std::string symbol;
    int element;
    std::int32_t count;
    long double countReal;
    friend bool operator==(const Entry&, const Entry&) = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "[" << e.symbol << "] " << e.element << " " << e.count << " " << static_cast<double>(e.countReal);
}

std::vector<Entry> entries(const Formula& formula) {
    std::vector<Entry> result;
    for (const auto& e : formula.formulaTable) {
        if (e.count == -1) break;
        result.push_back({std::string(e.symbol.text()), e.element, e.count, loadReal48(e.countReal)});
    }
    return result;
}

Formula parsed(std::string_view text) {
    Formula formula;
    setFormulaText(formula, text);
    clearFormula(formula);
    if (checkFormulaSyntax(formula) == 0) parseFormula(formula, testing::shippedElements());
    return formula;
}

int syntax(std::string_view text) {
    Formula formula;
    setFormulaText(formula, text);
    return checkFormulaSyntax(formula);
}

TEST(Formula, ParsesEntriesInTextOrder) {
    using V = std::vector<Entry>;
    EXPECT_EQ(entries(parsed("C6H12O6")), (V{{" C", 6, 6, 6}, {" H", 1, 12, 12}, {" O", 8, 6, 6}}));
    EXPECT_EQ(entries(parsed("CH3COOH")),
              (V{{" C", 6, 1, 1}, {" H", 1, 3, 3}, {" C", 6, 1, 1}, {" O", 8, 1, 1}, {" O", 8, 1, 1}, {" H", 1, 1, 1}}));
    EXPECT_EQ(entries(parsed("NaCl")), (V{{"Na", 11, 1, 1}, {"Cl", 17, 1, 1}}));
    EXPECT_EQ(entries(parsed("Cl2")), (V{{"Cl", 17, 2, 2}}));
    EXPECT_EQ(entries(parsed("C1.5")), (V{{" C", 6, 1, 1.5L}}));
    EXPECT_EQ(entries(parsed("C.5")), (V{{" C", 6, 0, 0.5L}}));
    EXPECT_EQ(entries(parsed("C1.2.3")), (V{{" C", 6, 1, roundReal48(1.2L)}}));
    EXPECT_EQ(entries(parsed("co")), (V{{" o", 0, 1, 1}}));
    EXPECT_EQ(entries(parsed("Co")), (V{{"Co", 27, 1, 1}}));
    EXPECT_EQ(entries(parsed("CO")), (V{{" C", 6, 1, 1}, {" O", 8, 1, 1}}));
    EXPECT_EQ(entries(parsed("C2l")), V{});  // refused by the syntax check, table stays cleared
    EXPECT_EQ(entries(parsed("C 2")), (V{{"C ", 0, 2, 2}}));
    EXPECT_EQ(entries(parsed("C12345678901")), (V{{" C", 6, 123456789, 123456789}}));
    EXPECT_EQ(entries(parsed("x9999999999")), (V{{"", 0, 2147483647, 9999999999.0L}}));
    EXPECT_EQ(entries(parsed("")), V{});
    EXPECT_EQ(entries(parsed("cO")), V{});  // token 1 empty: nothing parsed
}

TEST(Formula, SyntaxCheckReportsTheLastOffence) {
    EXPECT_EQ(syntax("C6H12O6"), 0);
    EXPECT_EQ(syntax("Naa"), 3);
    EXPECT_EQ(syntax("C2l"), 3);
    EXPECT_EQ(syntax("H2.o"), 4);
    EXPECT_EQ(syntax("C2lH2cl"), 7);
    EXPECT_EQ(syntax("co"), 0);
    EXPECT_EQ(syntax(""), 0);
    EXPECT_EQ(syntax("Uuo"), 3);
}

TEST(Formula, TextIsCutToSixtyCharacters) {
    const std::string text = std::string(59, 'C') + "H" + "O";
    Formula formula = parsed(text);
    EXPECT_EQ(formula.formulaText.size(), 60u);
    const auto e = entries(formula);
    ASSERT_EQ(e.size(), 60u);
    EXPECT_EQ(e.back().symbol, " H");
}

TEST(Formula, ReparseOverUnclearedTablesContinuesThroughOldTokens) {
    Formula formula = parsed("C6H12O6");
    setFormulaText(formula, "CO");
    parseFormula(formula, testing::shippedElements());
    EXPECT_EQ(entries(formula), (std::vector<Entry>{{" C", 6, 1, 1}, {" O", 8, 1, 1}, {" O", 8, 6, 6}}));
    // Parsing the same text again over the same table changes nothing.
    const FormulaTable before = formula.formulaTable;
    parseFormula(formula, testing::shippedElements());
    EXPECT_EQ(std::memcmp(before.data(), formula.formulaTable.data(), sizeof before), 0);
}

TEST(Formula, UnmatchedSymbolKeepsItsEarlierElement) {
    Formula formula = parsed("C6");
    setFormulaText(formula, "Xx");
    parseFormula(formula, testing::shippedElements());
    EXPECT_EQ(formula.formulaTable[0].element, 6);
}

TEST(Formula, MassSumsCountTimesMeanMass) {
    Formula formula = parsed("C6H12O6");
    computeFormulaMass(formula, testing::shippedElements());
    EXPECT_EQ(formatReal(loadReal48(formula.formulaMass), 0, 3), "180.156");

    Formula half = parsed("C1.5");
    computeFormulaMass(half, testing::shippedElements());
    EXPECT_EQ(loadReal48(half.formulaMass), roundReal48(1.5L * loadReal48(testing::shippedElements()[6].mass)));

    Formula empty = parsed("");
    computeFormulaMass(empty, testing::shippedElements());
    EXPECT_TRUE(empty.formulaMass.isZero());

    // An entry with an empty symbol ends the sum.
    Formula stops = parsed("x2C");
    computeFormulaMass(stops, testing::shippedElements());
    EXPECT_TRUE(stops.formulaMass.isZero());
}

TEST(Formula, ElementNumbersWithoutRecordReadRecordZero) {
    const ElementTable& table = testing::shippedElements();
    EXPECT_EQ(&elementRecord(table, 200), &table[0]);
    EXPECT_EQ(&elementRecord(table, 120), &table[120]);
}

TEST(Formula, EntryTotalCountsUpToTheEndMarker) {
    EXPECT_EQ(formulaEntryTotal(parsed("C6H12O6")), 3);
    EXPECT_EQ(formulaEntryTotal(parsed("")), 0);
    EXPECT_EQ(formulaEntryTotal(Formula{}), 64);  // never cleared: no end marker
}

}  // namespace
}  // namespace isoquill
