// The formula parser: a typed formula such as C6H12O6 becomes the formula
// table of (symbol, element number, count) entries, with its syntax check and
// its mass. Both pages parse into the one table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chem/element_table.h"
#include "chem/real48.h"

namespace isoquill {

constexpr std::size_t formulaTextCapacity = 60;  // characters; longer text is cut
constexpr std::size_t tokenCapacity = 10;
constexpr std::size_t formulaEntryCount = 64;

struct FormulaEntry {
    Symbol symbol;             // as written; one letter padded to blank + letter
    std::uint8_t element = 0;  // element number, 0 when the symbol matched nothing
    std::int32_t count = 0;    // integer part of the count; -1 ends the table
    Real48 countReal;          // the count as written, fractions allowed
};

using FormulaTable = std::array<FormulaEntry, formulaEntryCount>;

// Entry p of the system's 1-based numbering is formulaTable[p - 1], token p is
// tokenTable[p - 1]. Texts hold 8-bit characters.
struct Formula {
    std::string formulaText;
    std::array<std::string, formulaEntryCount> tokenTable;
    FormulaTable formulaTable{};  // all zero before the first clearFormula
    Real48 formulaMass;
};

// The record for an element number; numbers without a record give record 0.
const ElementRecord& elementRecord(const ElementTable& elementTable, int number);

// formulaText := the first 60 characters of `text`.
void setFormulaText(Formula& formula, std::string_view text);

// Mass 0, tokens empty, entries zero with count -1.
void clearFormula(Formula& formula);

// 0 when formulaText is accepted, else the 1-based position of the last
// lower-case letter that follows a lower-case letter or a count character.
int checkFormulaSyntax(const Formula& formula);

// Splits formulaText at capital letters into tokens and the tokens into
// entries, then matches the symbols. Writes only the tokens and entries the
// text gives, so over uncleared tables it continues through earlier tokens.
void parseFormula(Formula& formula, const ElementTable& elementTable);

// element := number of the last record 1..100 whose symbol equals the entry's.
void matchFormulaSymbols(Formula& formula, const ElementTable& elementTable);

// formulaMass := sum of countReal x element mass up to the first empty symbol,
// rounded to Real48 after every entry.
void computeFormulaMass(Formula& formula, const ElementTable& elementTable);

// Number of entries before the first one whose count is -1.
int formulaEntryTotal(const Formula& formula);

}  // namespace isoquill
