// Count codes: a fragment candidate's atom counts in formula-table order
// joined by "." (6.12.6 for C6H12O6), and their conversion to formula text.
// Both read the symbols of the current formula table.
#pragma once

#include <string>
#include <string_view>

#include "chem/formula.h"

namespace isoquill {

// True when the code does not start with "." and has exactly one field per
// formula entry (entries before the first count of -1).
bool isCompleteCountCode(std::string_view code, const Formula& formula);

// " C6  H12 O6 " for 6.12.6: per entry with a count above 0, a blank, the
// symbol without its padding blank, and the count padded to two characters.
// Fields beyond the formula's entries are ignored; missing fields count 0.
std::string countCodeToFormula(std::string_view code, const Formula& formula);

}  // namespace isoquill
