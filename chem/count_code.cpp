#include "chem/count_code.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace isoquill {

namespace {

// A field's leading digits, saturated at the signed 32-bit maximum.
std::int64_t fieldValue(std::string_view field) {
    constexpr std::int64_t maximum = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), maximum);
    }
    return value;
}

}  // namespace

bool isCompleteCountCode(std::string_view code, const Formula& formula) {
    if (code.empty() || code.front() == '.') return false;
    return std::count(code.begin(), code.end(), '.') == formulaEntryTotal(formula) - 1;
}

std::string countCodeToFormula(std::string_view code, const Formula& formula) {
    const int n = formulaEntryTotal(formula);
    std::string text;
    std::size_t fieldStart = 0;
    for (int k = 0; k < n && fieldStart <= code.size(); ++k) {
        const std::size_t point = std::min(code.find('.', fieldStart), code.size());
        const std::int64_t value = fieldValue(code.substr(fieldStart, point - fieldStart));
        fieldStart = point + 1;
        if (value <= 0) continue;
        std::string_view symbol = formula.formulaTable[static_cast<std::size_t>(k)].symbol.text();
        if (!symbol.empty() && symbol.front() == ' ') symbol.remove_prefix(1);
        std::string number = std::to_string(value);
        if (number.size() == 1) number += ' ';
        text += ' ';
        text += symbol;
        text += number;
    }
    return text;
}

}  // namespace isoquill
