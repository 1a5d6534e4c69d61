#include "fragment/mass_mode.h"

#include <algorithm>
#include <string>

#include "compare/compare_chain.h"
#include "fragment/enumeration.h"
#include "fragment/result_table.h"

namespace isoquill {

namespace {

std::string namesOf(const std::vector<Symbol>& symbols) {
    std::string names;
    for (const Symbol& symbol : symbols) {
        std::string_view text = symbol.text();
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        names += (names.empty() ? "" : " ") + std::string(text);
    }
    return names;
}

bool mayHoldAtoms(const ElementRange& row) {
    const std::int32_t von = clampCount(row.von), bis = clampCount(row.bis);
    return bis >= von && bis > 0;
}

}  // namespace

std::optional<Real48> monoisotopicMass(const ElementRecord& element) {
    const int count = element.usableIsotopeCount();
    if (count == 0) return std::nullopt;
    int most = 1;
    for (int j = 2; j <= count; ++j)
        if (loadReal48(element.isotope(j).abundance) > loadReal48(element.isotope(most).abundance)) most = j;
    return element.isotope(most).mass;
}

NoMonoisotopicMassError::NoMonoisotopicMassError(std::vector<Symbol> symbols)
    : std::runtime_error("Keine Isotopendaten für " + namesOf(symbols)), symbols_(std::move(symbols)) {}

void applyMassMode(FragmentState& state, const Formula& formula, const ElementTable& elementTable) {
    std::array<std::optional<Real48>, rangeRowCount> masses{};
    std::vector<Symbol> missing;
    for (std::size_t r = 0; r < rangeRowCount && formula.formulaTable[r].count > 0; ++r) {
        if (!mayHoldAtoms(state.rangeTable[r])) continue;
        const FormulaEntry& entry = formula.formulaTable[r];
        const ElementRecord& element = elementRecord(elementTable, entry.element);
        masses[r] = state.massMode == MassMode::monoisotopic ? monoisotopicMass(element) : element.mass;
        if (!masses[r] && std::find(missing.begin(), missing.end(), entry.symbol) == missing.end())
            missing.push_back(entry.symbol);
    }
    if (!missing.empty()) throw NoMonoisotopicMassError(std::move(missing));
    for (std::size_t r = 0; r < rangeRowCount; ++r)
        if (masses[r]) state.rangeTable[r].mass = *masses[r];
}

SearchWindow searchWindow(const FragmentState& state) {
    SearchWindow window;
    window.target = loadReal48(state.targetMass);
    window.tolerance = loadReal48(state.massTolerance);
    if (state.toleranceUnit == ToleranceUnit::ppm)
        window.tolerance = roundReal48(window.target * window.tolerance / 1e6L);
    if (state.ionCharge != 0) window.startMass = roundReal48(-state.ionCharge * electronMass);
    return window;
}

long double deviationPpm(const Candidate& candidate, const Real48& target) {
    const long double t = loadReal48(target);
    if (t == 0.0L) return 0.0L;
    return candidateDeviation(candidate, t) / t * 1e6L;
}

Real48 observedTargetMass(MassMode mode, const CompareState& compare) {
    if (mode == MassMode::average) return compare.comparison.observedMeanMass;
    return compare.observed.count() > 0 ? compare.observed.observedPeaks[1].mass : Real48{};
}

}  // namespace isoquill
