#include "cli/fragments_command.h"

#include <charconv>
#include <map>
#include <memory>

#include "cli/peak_file_input.h"
#include "cli/run_progress.h"
#include "cli/table_output.h"
#include "compare/compare_chain.h"
#include "fragment/candidate_table.h"
#include "fragment/mass_mode.h"
#include "fragment/ranking.h"
#include "fragment/scoring.h"

namespace isoquill::cli {
namespace {

constexpr int exitCancelled = 130;  // as a shell reports Ctrl+C

struct FragmentsOptions {
    std::string formula;
    std::vector<std::string> ranges;
    std::optional<double> mass;
    double tolerance = 0.5;
    std::string peaks;
    std::string sort;
    bool plausible = false;
    std::optional<long long> limit;
    bool monoisotopic = false;
    bool ppm = false;
    int charge = 0;
};

const std::map<std::string, CandidateColumn> sortColumns = {
    {"error", CandidateColumn::Error}, {"deviation", CandidateColumn::Deviation}, {"mass", CandidateColumn::Mass},
    {"rdbe", CandidateColumn::Rdbe},   {"formula", CandidateColumn::Formula},
};

std::string plainSymbol(const Symbol& symbol) {
    std::string text(symbol.text());
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

int readCount(std::string_view text, const std::string& range) {
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > maxAtomCount)
        throw UsageError("--range " + range + ": Anzahlen von 0 bis " + std::to_string(maxAtomCount) + " erwartet");
    return value;
}

// "C=0..40" onto every range row whose formula entry is that element.
void applyRange(FragmentState& fragment, const Formula& formula, const std::string& range) {
    const std::size_t equals = range.find('='), dots = range.find("..");
    if (equals == std::string::npos || dots == std::string::npos || dots < equals)
        throw UsageError("--range " + range + ": erwartet Symbol=von..bis, z. B. C=0..40");
    const std::string symbol = range.substr(0, equals);
    const int von = readCount(std::string_view(range).substr(equals + 1, dots - equals - 1), range);
    const int bis = readCount(std::string_view(range).substr(dots + 2), range);
    bool found = false;
    for (int row = 1; row <= rangeRowCount && formula.formulaTable[row - 1].count > 0; ++row) {
        if (plainSymbol(formula.formulaTable[row - 1].symbol) != symbol) continue;
        setRangeCounts(fragment, row, von, bis);
        found = true;
    }
    if (!found) throw UsageError("--range " + range + ": " + symbol + " steht nicht in der Formel");
}

// The candidate table's text as JSON: the same cells, numbers as numbers,
// a blank RDBE as null.
void writeJson(const ResultTable& table, std::span<const std::uint32_t> rows) {
    const std::string text = candidateTableText(table, rows, '\t');
    const std::vector<std::string> heads(candidateColumnHeads.begin(), candidateColumnHeads.end());
    TableOutput output(stdout, heads, true);
    output.begin();
    std::size_t start = text.find('\n') + 1;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        Cells cells;
        for (std::size_t cell = start; cell <= end;) {
            const std::size_t next = std::min(text.find('\t', cell), end);
            const std::string value = text.substr(cell, next - cell);
            if (cells.size() == 0) cells.emplace_back(std::int64_t{std::stoll(value)});
            else if (cells.size() + 1 == heads.size()) cells.emplace_back(value);  // the formula
            else if (value.empty()) cells.emplace_back(std::monostate{});
            else cells.emplace_back(std::stod(value));
            cell = next + 1;
        }
        output.row(cells);
        start = end + 1;
    }
    output.finish();
}

int runFragments(Session& session, const FragmentsOptions& options) {
    const ElementTable& elements = session.elements();
    CompareState compare;
    if (!options.peaks.empty()) {
        addPeakFile(compare.observed, options.peaks);
        // What a comparison leaves for the Fragment page: the observed mean
        // mass, which turns scoring on and is the default target.
        observedStatistics(compare.comparison, compare.observed);
    }
    if (!options.mass && options.peaks.empty()) throw UsageError("--mass oder --peaks angeben");
    if (options.limit && *options.limit < 0) throw UsageError("--limit: keine negative Anzahl");

    setFormulaText(compare.formula, options.formula);
    clearFormula(compare.formula);
    if (checkFormulaSyntax(compare.formula) != 0 || options.formula.empty())
        throw InputError("Formel nicht lesbar: " + options.formula);
    parseFormula(compare.formula, elements);

    FragmentState fragment;
    fragment.massMode = options.monoisotopic ? MassMode::monoisotopic : MassMode::average;
    fragment.toleranceUnit = options.ppm ? ToleranceUnit::ppm : ToleranceUnit::u;
    fragment.ionCharge = options.charge;
    fragment.targetMass = options.mass ? storeReal48(*options.mass) : observedTargetMass(fragment.massMode, compare);
    fragment.massTolerance = storeReal48(options.tolerance);
    initRanges(fragment, compare.formula, elements);
    for (const std::string& range : options.ranges) applyRange(fragment, compare.formula, range);

    RunControl control;
    fragment.control = &control;
    GenerateResult result;
    try {
        runWatched(control, [&] { generateCandidates(fragment, compare, elements, result); });
    } catch (const RunCancelled&) {
        report("abgebrochen");
        return exitCancelled;
    } catch (const TooManyCandidatesError& error) {
        throw InputError(error.what());
    } catch (const NoMonoisotopicMassError& missing) {
        throw InputError("keine monoisotopische Masse: " + missingDataMessage(missing.symbols()));
    }
    std::vector<Symbol> missing;
    for (int row = 1; row <= rangeRowCount && compare.formula.formulaTable[row - 1].count > 0; ++row) {
        const FormulaEntry& entry = compare.formula.formulaTable[row - 1];
        if (entry.element == 0) missing.push_back(entry.symbol);
    }
    if (result.scoring) missing.insert(missing.end(), result.scoring->notices.begin(), result.scoring->notices.end());
    if (!missing.empty()) report("Warnung: " + missingDataMessage(missing));

    const ResultTable& table = result.table;
    std::vector<std::uint32_t> rows = enumerationOrder(table);
    if (options.plausible) rows = plausibleRows(table, rows);
    if (!options.sort.empty()) rankRows(table, rows, sortColumns.at(options.sort), false);
    if (options.limit && rows.size() > static_cast<std::size_t>(*options.limit))
        rows.resize(static_cast<std::size_t>(*options.limit));

    if (session.json) {
        writeJson(table, rows);
    } else {
        writeCandidateTable(table, rows, '\t', [](std::string_view piece) {
            std::fwrite(piece.data(), 1, piece.size(), stdout);
        });
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

void addFragmentsCommand(CLI::App& app, Session& session) {
    auto options = std::make_shared<FragmentsOptions>();
    CLI::App* command = app.add_subcommand(
        "fragments", "Fragmentformeln: jede Kombination der Atomanzahlen, deren Masse im Toleranzfenster um die "
                     "Zielmasse liegt, wie Generate sie findet; mit --peaks gegen die gemessenen Peaks bewertet "
                     "(Error). Spalten #, Mass, Deviation, Error, RDBE, Formula; in Aufzählungsreihenfolge, außer "
                     "mit --sort.");
    command->add_option("--formula", options->formula, "Die Elemente der Kandidaten als Formel, z. B. CHNOS")
        ->required();
    command->add_option("--range", options->ranges,
                        "Atomanzahlen eines Elements, z. B. --range C=0..40 (0 bis 200; ohne Angabe 0..5)");
    command->add_option("--mass", options->mass, "Zielmasse (m/z) in u; ohne Angabe die mittlere Masse der --peaks");
    command->add_option("--tolerance", options->tolerance, "Toleranz in u (in ppm mit --ppm)")->capture_default_str();
    command->add_flag("--monoisotopic", options->monoisotopic,
                      "Monoisotopische Massen (häufigstes Isotop) statt mittlerer Atommassen; ohne --mass ist die "
                      "Zielmasse die leichteste der --peaks");
    command->add_flag("--ppm", options->ppm, "--tolerance in ppm der Zielmasse");
    command->add_option("--charge", options->charge, "Ladung des Ions: m/z = Masse - Ladung x Elektronenmasse")
        ->check(CLI::IsMember({-1, 0, 1}))
        ->capture_default_str();
    command->add_option("--peaks", options->peaks,
                        "Gemessene Peaks (wie bei compare), gegen die jeder Kandidat bewertet wird; "
                        "- für die Standardeingabe");
    command->add_option("--sort", options->sort,
                        "Aufsteigend sortieren nach error, deviation (Betrag), mass, rdbe, formula")
        ->check(CLI::IsMember({"error", "deviation", "mass", "rdbe", "formula"}));
    std::string rules = "Nur plausible Formeln:";
    for (const std::string& line : plausibilityRuleLines()) rules += " " + line + ";";
    rules.back() = '.';
    command->add_flag("--plausible", options->plausible, rules);
    command->add_option("--limit", options->limit, "Höchstens N Zeilen ausgeben");
    command->callback([&session, options] { session.exitCode = runFragments(session, *options); });
}

}  // namespace isoquill::cli
