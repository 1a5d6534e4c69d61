#include "compare/comparison_table.h"

#include "chem/number_text.h"

namespace isoquill {
namespace {

std::string cut(std::string text, std::size_t length) {
    if (text.size() > length) text.resize(length);
    return text;
}

}  // namespace

int comparisonTableRowCount(int rowCount) {
    return rowCount <= 20 ? 22 : rowCount + 2;
}

ComparisonRow comparisonHeaderRow(const Comparison& comparison, const Real48& formulaMass) {
    return {"Exp.", formatReal(loadReal48(comparison.observedMeanMass), 6, 1), "",
            "Sim.", formatReal(loadReal48(formulaMass), 6, 1), "Diff."};
}

ComparisonRowValues comparisonRowValues(const Comparison& comparison, int r) {
    const Peak& observed = comparison.alignedObserved[static_cast<std::size_t>(r)];
    const Peak& simulated = comparison.alignedSimulated[static_cast<std::size_t>(r)];
    return {loadReal48(observed.mass), observed.abundance, loadReal48(simulated.mass), simulated.abundance,
            roundReal48(observed.abundance - simulated.abundance)};
}

ComparisonRow comparisonDataRow(const Comparison& comparison, int r) {
    const ComparisonRowValues values = comparisonRowValues(comparison, r);
    return {cut(formatInteger(r, 2), 2),
            cut(formatReal(values.observedMass, 6, 1), 12),
            cut(formatReal(values.observedAbundance, 5, 1), 12),
            cut(formatReal(values.simulatedMass, 6, 1), 12),
            cut(formatReal(values.simulatedAbundance, 5, 1), 12),
            cut(formatReal(values.difference, 7, 2), 12)};
}

std::string comparisonErrorText(long double error) {
    return cut(formatReal(error, 7, 2), 12);
}

}  // namespace isoquill
