#include "cli/pattern_command.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/table_output.h"
#include "compare/compare_chain.h"

namespace isoquill::cli {
namespace {

struct PatternOptions {
    std::vector<std::string> formulas;
    std::string input;
};

const Columns patternColumns = {"Formula", "Mass", "Abundance", "Formula mass"};

// One formula through the comparison chain, without observed peaks. Returns
// false, with the reason reported under `where`, when it gives no group.
bool simulate(CompareState& state, const ElementTable& elements, const std::string& text, const std::string& where,
              std::vector<Cells>& rows) {
    std::vector<Symbol> missing;
    state.showMissingData = [&missing](const Symbol& symbol) { missing.push_back(symbol); };
    try {
        if (!runComparisonChain(state, elements, text)) {
            report(where + ": Formel nicht lesbar, Fehler an Stelle " +
                   std::to_string(checkFormulaSyntax(state.formula)) + ": " + text);
            return false;
        }
    } catch (const std::exception& error) {
        report(where + ": " + text + ": " + error.what());
        return false;
    }
    if (!missing.empty()) report(where + ": Warnung: " + missingDataMessage(missing));
    const double formulaMass = static_cast<double>(loadReal48(state.formula.formulaMass));
    for (const Peak& peak : state.simulation.simPeaks)
        rows.push_back({state.formula.formulaText, static_cast<double>(loadReal48(peak.mass)),
                        static_cast<double>(peak.abundance), formulaMass});
    return true;
}

std::string trimmed(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string::npos) return {};
    return line.substr(start, line.find_last_not_of(" \t\r") - start + 1);
}

int runPattern(Session& session, const PatternOptions& options) {
    if (!options.formulas.empty() && !options.input.empty())
        throw UsageError("Formeln als Argumente und --input schließen sich aus");
    const ElementTable& elements = session.elements();
    CompareState state;
    std::vector<Cells> rows;
    TableOutput output(stdout, patternColumns, session.json);

    // A single formula is all or nothing: no table when it fails.
    if (options.formulas.size() == 1) {
        if (!simulate(state, elements, options.formulas[0], "Argument 1", rows)) return exitBadInput;
        output.begin();
        for (const Cells& row : rows) output.row(row);
        output.finish();
        return 0;
    }

    // A stream: each bad line is reported and skipped; the status tells.
    const bool fromStandardInput = options.formulas.empty() && (options.input.empty() || options.input == "-");
    const std::string name = fromStandardInput ? "<stdin>" : options.input;
    std::ifstream file;
    if (options.formulas.empty() && !fromStandardInput) {
        errno = 0;
        file.open(options.input, std::ios::binary);
        if (!file) throw InputError(name + ": " + InOutError::messageFor(inOutErrorCode(errno)));
    }
    bool failed = false;
    output.begin();
    const auto take = [&](const std::string& text, const std::string& where) {
        rows.clear();
        if (!simulate(state, elements, text, where, rows)) failed = true;
        for (const Cells& row : rows) output.row(row);
    };
    if (!options.formulas.empty()) {
        for (std::size_t i = 0; i < options.formulas.size(); ++i)
            take(options.formulas[i], "Argument " + std::to_string(i + 1));
    } else {
        std::istream& in = fromStandardInput ? std::cin : file;
        std::string line;
        for (long number = 1; std::getline(in, line); ++number) {
            const std::string text = trimmed(line);
            if (!text.empty()) take(text, name + ":" + std::to_string(number));
        }
        if (in.bad()) throw InputError(name + ": " + InOutError::messageFor(inOutErrorCode(errno)));
    }
    output.finish();
    return failed ? exitBadInput : 0;
}

}  // namespace

void addPatternCommand(CLI::App& app, Session& session) {
    auto options = std::make_shared<PatternOptions>();
    CLI::App* command = app.add_subcommand(
        "pattern", "Isotopenmuster: je Formel die simulierten Peaks (Formula, Mass, Abundance mit Basispeak 100, "
                   "Formula mass). Ohne Formeln liest es eine Formel je Zeile von --input oder der Standardeingabe.");
    command->add_option("formulas", options->formulas, "Summenformeln, z. B. C6H12O6");
    command->add_option("--input", options->input, "Datei mit einer Formel je Zeile (- für die Standardeingabe)");
    command->callback([&session, options] { session.exitCode = runPattern(session, *options); });
}

}  // namespace isoquill::cli
