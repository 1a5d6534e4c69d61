#include "chem/formula.h"

#include <limits>

#include "chem/number_text.h"

namespace isoquill {

namespace {

bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isCountCharacter(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// The leading digits of a count text, saturated at the signed 32-bit maximum.
std::int32_t leadingCount(std::string_view countText) {
    constexpr std::int64_t maximum = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : countText) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > maximum) value = maximum;
    }
    return static_cast<std::int32_t>(value);
}

void splitIntoTokens(Formula& formula) {
    const std::string_view text = std::string_view(formula.formulaText).substr(0, formulaTextCapacity);
    std::string current;
    if (!text.empty() && isCapital(text[0])) current = text[0];
    std::size_t next = 0;
    for (std::size_t k = 1; k < text.size(); ++k) {
        const char c = text[k];
        if (isCapital(c)) {
            formula.tokenTable[next++] = current;
            current = c;
        } else if (current.size() < tokenCapacity) {
            current += c;
        }
    }
    formula.tokenTable[next] = current;
}

void fillEntry(FormulaEntry& entry, std::string_view token) {
    std::array<char, tokenCapacity> countChars{}, symbolChars{};
    std::size_t countLength = 0, symbolLength = 0;
    for (char c : token.substr(0, tokenCapacity)) {
        if (isCountCharacter(c)) countChars[countLength++] = c;
        else symbolChars[symbolLength++] = c;
    }
    const std::string_view countText = countLength ? std::string_view(countChars.data(), countLength) : "1";
    if (symbolLength == 1) {
        entry.symbol = Symbol{2, {' ', symbolChars[0]}};
    } else {
        entry.symbol = Symbol::from(std::string_view(symbolChars.data(), symbolLength));
    }
    entry.count = leadingCount(countText);
    entry.countReal = storeReal48(readNumber(countText));
}

}  // namespace

const ElementRecord& elementRecord(const ElementTable& elementTable, int number) {
    return elementTable[number >= 0 && number < elementRecordCount ? static_cast<std::size_t>(number) : 0];
}

void setFormulaText(Formula& formula, std::string_view text) {
    formula.formulaText = text.substr(0, formulaTextCapacity);
}

void clearFormula(Formula& formula) {
    formula.formulaMass = Real48{};
    for (auto& token : formula.tokenTable) token.clear();
    for (auto& entry : formula.formulaTable) {
        entry = FormulaEntry{};
        entry.count = -1;
    }
}

int checkFormulaSyntax(const Formula& formula) {
    const std::string& text = formula.formulaText;
    if (text.empty() || !isCapital(text[0])) return 0;
    int offending = 0;
    for (std::size_t k = 1; k < text.size(); ++k) {
        if (isLower(text[k]) && (isLower(text[k - 1]) || isCountCharacter(text[k - 1])))
            offending = static_cast<int>(k) + 1;
    }
    return offending;
}

void parseFormula(Formula& formula, const ElementTable& elementTable) {
    splitIntoTokens(formula);
    for (std::size_t p = 0; p < formulaEntryCount && !formula.tokenTable[p].empty(); ++p)
        fillEntry(formula.formulaTable[p], formula.tokenTable[p]);
    matchFormulaSymbols(formula, elementTable);
}

void matchFormulaSymbols(Formula& formula, const ElementTable& elementTable) {
    for (auto& entry : formula.formulaTable) {
        if (entry.count == -1) break;
        for (int i = 1; i <= lastFormulaElement; ++i) {
            const ElementRecord& record = elementTable[static_cast<std::size_t>(i)];
            if (record.symbol == entry.symbol) entry.element = record.number;
        }
    }
}

void computeFormulaMass(Formula& formula, const ElementTable& elementTable) {
    long double sum = 0.0L;
    for (const auto& entry : formula.formulaTable) {
        if (entry.symbol.empty()) break;
        sum = roundReal48(sum + loadReal48(entry.countReal) * loadReal48(elementRecord(elementTable, entry.element).mass));
    }
    formula.formulaMass = storeReal48(sum);
}

int formulaEntryTotal(const Formula& formula) {
    int n = 0;
    while (n < static_cast<int>(formulaEntryCount) && formula.formulaTable[static_cast<std::size_t>(n)].count != -1) ++n;
    return n;
}

}  // namespace isoquill
