// isoquill-cli end to end: each subcommand's rows against the core's own
// results for the same input, JSON against the table, and what bad input and
// bad usage give (exit status, message, nothing half-written).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "chem/number_text.h"
#include "fragment/candidate_table.h"
#include "cli_run.h"
#include "compare/compare_chain.h"
#include "compare/comparison_table.h"
#include "compare/peak_list_text.h"
#include "chem/count_code.h"
#include "fragment/ranking.h"
#include "fragment/scoring.h"
#include "fragment/plain_enumeration.h"
#include "core_fixture.h"
#include "shipped_elements.h"

namespace isoquill::testing {
namespace {

double number(const std::string& text) { return std::stod(text); }

// The measured glucose group of the paste examples: header, decimal comma, blanks.
const std::string glucosePeaks = "Mass\tIntensity\n180\t100\n181\t6,8\n182 1.3\n";

}  // namespace

// Each formula's rows are the peaks the comparison chain simulates, to the
// last bit of the double, with the formula mass; from arguments, a file and
// standard input alike.
TEST(Cli, PatternGivesTheSimulatedPeaksOfEachFormula) {
    const std::vector<std::string> formulas = {"C6H12O6", "Br2", "C20H25N3O", "CCl4", "C300H500N80O90S4", "Sn"};
    std::string arguments, lines;
    for (const std::string& formula : formulas) {
        arguments += " " + formula;
        lines += formula + "\n";
    }
    std::vector<std::vector<std::string>> expected = {{"Formula", "Mass", "Abundance", "Formula mass"}};
    CompareState state;
    for (const std::string& formula : formulas) {
        ASSERT_TRUE(runComparisonChain(state, shippedElements(), formula)) << formula;
        for (const Peak& peak : state.simulation.simPeaks)
            expected.push_back({formula, exactNumberText(static_cast<double>(loadReal48(peak.mass))),
                                exactNumberText(static_cast<double>(peak.abundance)),
                                exactNumberText(static_cast<double>(loadReal48(state.formula.formulaMass)))});
    }
    const CliRun fromArguments = runCli("pattern" + arguments);
    EXPECT_EQ(fromArguments.status, 0);
    EXPECT_EQ(fromArguments.err, "");
    EXPECT_EQ(tsvCells(fromArguments.out), expected);
    const std::string file = writeFile("formulas.txt", "  " + lines + "\n\r\n");
    EXPECT_EQ(runCli("pattern --input " + file).out, fromArguments.out) << "--input";
    EXPECT_EQ(runCli("pattern", lines).out, fromArguments.out) << "standard input";
    EXPECT_EQ(runCli("pattern --input -", lines).out, fromArguments.out) << "--input -";
}

// The aligned rows and figures are the comparison's own values, bit for bit
// (the Compare page's cells are these, written with its widths and decimals).
TEST(Cli, CompareGivesTheNumbersOfTheComparisonTable) {
    CompareState state;
    ASSERT_EQ(addPeakList(state.observed, glucosePeaks).added, 3);
    const std::optional<long double> error = runComparisonChain(state, shippedElements(), "C6H12O6");
    ASSERT_TRUE(error);
    ASSERT_EQ(state.comparison.rowCount, 4);
    const auto text = [](long double value) { return "\t" + exactNumberText(static_cast<double>(value)); };
    std::string expected = "Row\tExp. mass\tExp. abundance\tSim. mass\tSim. abundance\tDiff.\n";
    for (int r = 1; r <= 4; ++r) {
        const ComparisonRowValues v = comparisonRowValues(state.comparison, r);
        expected += std::to_string(r) + text(v.observedMass) + text(v.observedAbundance) + text(v.simulatedMass) +
                    text(v.simulatedAbundance) + text(v.difference) + "\n";
    }
    expected += "\nExp. mean mass\tFormula mass\tError\n" + text(loadReal48(state.comparison.observedMeanMass)).substr(1) +
                text(loadReal48(state.formula.formulaMass)) + text(*error) + "\n";
    const CliRun run = runCli("compare C6H12O6 --peaks " + writeFile("glucose.txt", glucosePeaks));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(runCli("compare C6H12O6 --peaks -", glucosePeaks).out, run.out) << "peaks from standard input";
}

// Each JSON object holds its table row's cells under the column heads: texts
// as they are, numbers bit for bit, a blank cell as null.
void expectSameRows(const std::vector<std::vector<std::string>>& table, const nlohmann::json& rows,
                    const std::string& name) {
    ASSERT_EQ(rows.size() + 1, table.size()) << name;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t col = 0; col < table[0].size(); ++col) {
            const nlohmann::json& value = rows[r].at(table[0][col]);
            const std::string& cell = table[r + 1][col];
            if (value.is_string()) EXPECT_EQ(value.get<std::string>(), cell) << name << r << "," << col;
            else if (value.is_null()) EXPECT_EQ(cell, "") << name << r << "," << col;
            else EXPECT_EQ(value.get<double>(), number(cell)) << name << r << "," << col;
        }
    }
}

TEST(Cli, JsonHoldsTheTablesCells) {
    const std::string peaks = writeFile("glucose.txt", glucosePeaks);
    const std::string fragments = "fragments --formula CHO --range C=0..10 --range H=0..20 --range O=0..8 --plausible "
                                  "--sort error --peaks " + peaks;
    for (const std::string command : {"pattern C6H12O6 Br2 CCl4", fragments.c_str()})
        expectSameRows(tsvCells(runCli(command).out), nlohmann::json::parse(runCli("--json " + command).out), command);

    auto table = tsvCells(runCli("compare C6H12O6 --peaks " + peaks).out);
    const auto object = nlohmann::json::parse(runCli("compare C6H12O6 --json --peaks " + peaks).out);
    EXPECT_EQ(object["Formula"], "C6H12O6");
    const auto figures = std::vector(table.end() - 2, table.end());
    table.resize(table.size() - 3);
    expectSameRows(table, object["Rows"], "compare rows");
    expectSameRows(figures, nlohmann::json::array({object}), "compare figures");
}

// Unscored and in enumeration order, the rows are the plain enumeration's
// candidates (an independent reference); with peaks, ranking, the filter and
// a limit they are the rows the candidates window shows for the same Generate.
TEST(Cli, FragmentsGivesTheCandidatesOfGenerate) {
    const Formula cho = parsed("CHO");
    const FragmentState plainState = prepared(cho, {{0, 10}, {0, 20}, {0, 8}}, 180.06L, 0.5L);
    const std::vector<PlainCandidate> plain = plainEnumeration(plainState, cho);
    const std::string ranges = " --formula CHO --range C=0..10 --range H=0..20 --range O=0..8";
    const CliRun unscored = runCli("fragments" + ranges + " --mass 180.06");
    ASSERT_EQ(unscored.status, 0) << unscored.err;
    const auto lines = tsvCells(unscored.out);
    ASSERT_EQ(lines.size(), plain.size() + 1);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        std::string formula = countCodeToFormula(plain[i].code, cho);
        std::erase(formula, ' ');
        const auto& cells = lines[i + 1];
        EXPECT_EQ(cells[0], std::to_string(i + 1)) << i;
        EXPECT_EQ(cells[1], exactNumberText(static_cast<double>(loadReal48(plain[i].mass)))) << i;
        EXPECT_EQ(cells[4], "0") << i;
        EXPECT_EQ(cells[6], formula) << i;
    }

    const std::string peaks = writeFile("glucose.txt", glucosePeaks);
    CompareState compare;
    addPeakList(compare.observed, glucosePeaks);
    observedStatistics(compare.comparison, compare.observed);
    compare.formula = cho;
    const long double target = loadReal48(compare.comparison.observedMeanMass);
    FragmentState fragment = prepared(cho, {{0, 10}, {0, 20}, {0, 8}}, target, 0.3L);
    GenerateResult result;
    generateCandidates(fragment, compare, shippedElements(), result);
    struct Case {
        std::string options;
        std::optional<CandidateColumn> sort;
        bool plausible;
        std::size_t limit;
    };
    const Case cases[] = {
        {"", {}, false, 1000},
        {" --sort error", CandidateColumn::Error, false, 1000},
        {" --sort deviation --plausible", CandidateColumn::Deviation, true, 1000},
        {" --sort mass --plausible --limit 3", CandidateColumn::Mass, true, 3},
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> rows = enumerationOrder(result.table);
        if (c.plausible) rows = plausibleRows(result.table, rows);
        if (c.sort) rankRows(result.table, rows, *c.sort, false);
        rows.resize(std::min(rows.size(), c.limit));
        const CliRun run = runCli("fragments" + ranges + " --tolerance 0.3 --peaks " + peaks + c.options);
        EXPECT_EQ(run.status, 0) << c.options << run.err;
        EXPECT_EQ(run.out, candidateTableText(result.table, rows, '\t')) << c.options;
    }
}

// High-resolution settings, against hand values from the shipped data:
// glucose's monoisotopic 180.06339 within 5 ppm is C6H12O6 alone among CHNO
// (H8N2O9 and C7O6 lie 50 ppm and more away); the [M+H]+ ion C6H13O6 at m/z
// 181.07066 has one electron mass less than its atoms.
TEST(Cli, FragmentsTakeTheHighResolutionSettings) {
    const std::string chno = "fragments --formula CHNO --range C=0..10 --range H=0..20 --range N=0..4 --range O=0..8";
    const struct {
        std::string options;
        std::vector<std::string> formulas;
    } cases[] = {
        {" --mass 180.0634 --tolerance 5 --ppm --monoisotopic", {"C6H12O6"}},
        {" --mass 181.07066 --tolerance 5 --ppm --monoisotopic --charge 1", {"C6H13O6"}},
        {" --mass 181.07066 --tolerance 0.0002 --monoisotopic --charge 0", {}},  // neutral: 0.55 mu away
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(chno + c.options);
        EXPECT_EQ(run.status, 0) << c.options << run.err;
        const auto lines = tsvCells(run.out);
        std::vector<std::string> formulas;
        for (std::size_t i = 1; i < lines.size(); ++i) formulas.push_back(lines[i].back());
        EXPECT_EQ(formulas, c.formulas) << c.options;
    }
}

// Bad usage exits 2, bad input 1, each with a message naming what and where;
// a failed single item writes no table, a stream skips its bad lines only.
TEST(Cli, BadInputAndBadUsage) {
    const std::string peaks = writeFile("glucose.txt", glucosePeaks);
    const std::string badLine = writeFile("bad.txt", "180 100\n181 6.8\nabc def\n");
    const std::string shortElements = writeFile("short.dat", std::string(500, 'x'));
    struct Case {
        std::string name, arguments, input;
        int status;
        std::string message;  // in standard error
        std::string out;      // all of standard output; "*": not checked
        bool shipped = true;
    };
    const Case cases[] = {
        {"unknown option", "pattern --bogus C6H12O6", "", 2, "--bogus", ""},
        {"no subcommand", "", "", 2, "subcommand", ""},
        {"compare without peaks", "compare C6H12O6", "", 2, "--peaks", ""},
        {"missing peak file", "compare C6H12O6 --peaks none.txt", "", 1, "none.txt: Datei nicht gefunden", ""},
        {"malformed peak line", "compare C6H12O6 --peaks " + badLine, "", 1,
         badLine + ": Zeile 3 nicht übernommen: keine Zahl", ""},
        {"empty peak file", "compare C6H12O6 --peaks -", "\n", 1, "<stdin>: keine Peaks", ""},
        {"peak file not text", std::string("compare C6H12O6 --peaks ") + ISOQUILL_ELEMENT_FILE, "", 1,
         "keine Textdatei", ""},
        {"single bad formula", "pattern Hee", "", 1, "Argument 1: Formel nicht lesbar, Fehler an Stelle 3: Hee", ""},
        {"bad formula to compare", "compare Hee --peaks " + peaks, "", 1, "Fehler an Stelle 3: Hee", ""},
        {"stream with one bad line", "pattern", "Br2\nHee\nSn\n", 1, "<stdin>:2: Formel nicht lesbar",
         runCli("pattern Br2 Sn").out},
        {"missing input file", "pattern --input none.txt", "", 1, "none.txt: Datei nicht gefunden", ""},
        {"arguments and input", "pattern Br2 --input -", "", 2, "schließen sich aus", ""},
        {"unreadable element file", "--elements " + shortElements + " pattern Br2", "", 1,
         shortElements + ": Lesen nach Dateiende (EOF)", "", false},
        {"missing element file", "--elements nowhere.dat pattern Br2", "", 1, "nowhere.dat: Datei nicht gefunden", "",
         false},
        {"range of an element not in the formula", "fragments --formula CHO --range N=0..3 --mass 100", "", 2,
         "--range N=0..3: N steht nicht in der Formel", ""},
        {"range beyond 200", "fragments --formula CHO --range C=0..300 --mass 100", "", 2, "0 bis 200", ""},
        {"range without dots", "fragments --formula CHO --range C=5 --mass 100", "", 2, "Symbol=von..bis", ""},
        {"no target", "fragments --formula CHO", "", 2, "--mass oder --peaks", ""},
        {"charge beyond one", "fragments --formula CH --mass 100 --charge 2", "", 2, "--charge", ""},
        {"no monoisotopic mass", "fragments --formula CTc --mass 100 --monoisotopic", "", 1,
         "keine monoisotopische Masse: Die Daten zu diesem Element fehlen: Tc", ""},
        {"negative limit", "fragments --formula CHO --mass 100 --limit -1", "", 2, "--limit", ""},
        {"unknown sort", "fragments --formula CHO --mass 100 --sort size", "", 2, "--sort", ""},
        {"too many candidates",
         "fragments --formula CHNOS --range C=0..200 --range H=0..200 --range N=0..200 --mass 1000 --tolerance 50",
         "", 1, "Zu viele Kandidaten", ""},
        {"missing element data", "pattern Cl2Xx", "", 0, "Warnung: Die Daten zu diesem Element fehlen: Xx", "*"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.arguments, c.input, c.shipped);
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
        if (c.out != "*") {
            EXPECT_EQ(run.out, c.out) << c.name;
        }
    }
    for (const std::string command : {"pattern", "compare", "fragments"}) {
        const CliRun help = runCli(command + " --help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find("Usage: isoquill-cli " + command), std::string::npos) << command << help.out;
    }
}

}  // namespace isoquill::testing
