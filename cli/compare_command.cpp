#include "cli/compare_command.h"

#include <memory>

#include "cli/peak_file_input.h"
#include "cli/table_output.h"
#include "compare/compare_chain.h"
#include "compare/comparison_table.h"

namespace isoquill::cli {
namespace {

struct CompareOptions {
    std::string formula;
    std::string peaks;
};

const Columns rowColumns = {"Row", "Exp. mass", "Exp. abundance", "Sim. mass", "Sim. abundance", "Diff."};
const Columns summaryColumns = {"Exp. mean mass", "Formula mass", "Error"};

int runCompare(Session& session, const CompareOptions& options) {
    const ElementTable& elements = session.elements();
    CompareState state;
    addPeakFile(state.observed, options.peaks);
    std::vector<Symbol> missing;
    state.showMissingData = [&missing](const Symbol& symbol) { missing.push_back(symbol); };
    std::optional<long double> error;
    try {
        error = runComparisonChain(state, elements, options.formula);
    } catch (const std::exception& failure) {
        throw InputError(options.formula + ": " + failure.what());
    }
    if (!error)
        throw InputError("Formel nicht lesbar, Fehler an Stelle " + std::to_string(checkFormulaSyntax(state.formula)) +
                         ": " + options.formula);
    if (!missing.empty()) report("Warnung: " + missingDataMessage(missing));

    const Comparison& comparison = state.comparison;
    std::vector<Cells> rows;
    for (int r = 1; r <= comparison.rowCount; ++r) {
        const ComparisonRowValues values = comparisonRowValues(comparison, r);
        rows.push_back({std::int64_t{r}, static_cast<double>(values.observedMass),
                        static_cast<double>(values.observedAbundance), static_cast<double>(values.simulatedMass),
                        static_cast<double>(values.simulatedAbundance), static_cast<double>(values.difference)});
    }
    const Cells summary = {static_cast<double>(loadReal48(comparison.observedMeanMass)),
                           static_cast<double>(loadReal48(state.formula.formulaMass)), static_cast<double>(*error)};

    std::string text;
    if (session.json) {
        nlohmann::ordered_json result = jsonRow(summaryColumns, summary);
        result["Formula"] = state.formula.formulaText;
        result["Rows"] = nlohmann::ordered_json::array();
        for (const Cells& row : rows) result["Rows"].push_back(jsonRow(rowColumns, row));
        text = result.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    } else {
        // The aligned rows, a blank line, then the figures of the whole comparison.
        text = tsvLine(rowColumns);
        for (const Cells& row : rows) text += tsvLine(row);
        text += "\n" + tsvLine(summaryColumns) + tsvLine(summary);
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace

void addCompareCommand(CLI::App& app, Session& session) {
    auto options = std::make_shared<CompareOptions>();
    CLI::App* command = app.add_subcommand(
        "compare", "Vergleich: die simulierten Peaks der Formel neben den gemessenen, auf den Basispeak ausgerichtet "
                   "wie auf der Seite Compare; dazu die beobachtete mittlere Masse, die Formelmasse und der Fehler "
                   "(Summe der Abweichungsquadrate).");
    command->add_option("formula", options->formula, "Summenformel, z. B. C6H12O6")->required();
    command->add_option("--peaks", options->peaks,
                        "Gemessene Peaks: je Zeile Masse und Intensität (Tab, Semikolon, Leerzeichen oder Komma; "
                        "Kopfzeile und Dezimalkomma erlaubt); - für die Standardeingabe")
        ->required();
    command->callback([&session, options] { session.exitCode = runCompare(session, *options); });
}

}  // namespace isoquill::cli
