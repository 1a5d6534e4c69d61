#include "fragment/result_table.h"

#include <cmath>
#include <utility>

#include "chem/count_code.h"
#include "chem/number_text.h"

namespace isoquill {

long double candidateDeviation(const Candidate& candidate, long double target) {
    return roundReal48(loadReal48(candidate.mass) - target);
}

namespace {

// `text` without any `cut` and without the blanks at both ends.
void appendCell(std::string& out, std::string text, std::string_view cut) {
    for (std::size_t at = 0; !cut.empty() && (at = text.find(cut, at)) != std::string::npos;)
        text.erase(at, cut.size());
    const std::size_t first = text.find_first_not_of(' ');
    if (first != std::string::npos) out.append(text, first, text.find_last_not_of(' ') - first + 1);
}

constexpr std::size_t rowsBetweenStopChecks = 4096;

}  // namespace

bool runCodesComplete(const FragmentState& fragment, const Formula& formula) {
    return isCompleteCountCode(countCode(Candidate{}, fragment.codeFields), formula);
}

ResultTable ausgebenRows(FragmentState& fragment, const Formula& formula) {
    ResultTable table;
    table.candidateCount = fragment.candidateList.size();
    table.formula = formula;
    table.codeFields = fragment.codeFields;
    table.targetMass = fragment.targetMass;
    table.rows = std::move(fragment.candidateList);
    fragment.candidateList = std::vector<Candidate>();
    const long double target = loadReal48(fragment.targetMass);
    if (!runCodesComplete(fragment, formula)) table.rows = std::vector<Candidate>();
    std::erase_if(table.rows,
                  [target](const Candidate& c) { return !(std::fabs(candidateDeviation(c, target)) < target); });
    return table;
}

ResultRow resultRowTexts(const ResultTable& table, std::size_t row) {
    const Candidate& candidate = table.rows[row];
    const long double mass = loadReal48(candidate.mass);
    return {formatReal(mass, 9, 3) + " : ",
            formatReal(candidateDeviation(candidate, loadReal48(table.targetMass)), 5, 2) + " : ",
            formatReal(loadReal48(candidate.error), 4, 1),
            countCodeToFormula(countCode(candidate, table.codeFields), table.formula)};
}

std::string resultTableText(const ResultTable& table, std::stop_token stop) {
    std::string text = "Mass\tDeviation\tError\tFormula\n";
    text.reserve(text.size() + table.rows.size() * 48);
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        if (row % rowsBetweenStopChecks == 0 && stop.stop_requested()) return {};
        ResultRow cells = resultRowTexts(table, row);
        appendCell(text, std::move(cells[0]), " : ");
        text += '\t';
        appendCell(text, std::move(cells[1]), " : ");
        text += '\t';
        appendCell(text, std::move(cells[2]), {});
        text += '\t';
        appendCell(text, std::move(cells[3]), " ");
        text += '\n';
    }
    return text;
}

}  // namespace isoquill
