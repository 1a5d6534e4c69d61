// isoquill-cli end to end: each subcommand's rows against the core's own
// results for the same input, JSON against the table, and what bad input and
// bad usage give (exit status, message, nothing half-written).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "chem/number_text.h"
#include "cli_run.h"
#include "compare/compare_chain.h"
#include "compare/comparison_table.h"
#include "compare/peak_list_text.h"
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
            expected.push_back({formula, shortestText(static_cast<double>(loadReal48(peak.mass))),
                                shortestText(static_cast<double>(peak.abundance)),
                                shortestText(static_cast<double>(loadReal48(state.formula.formulaMass)))});
    }
    const CliRun fromArguments = runCli("pattern" + arguments);
    EXPECT_EQ(fromArguments.status, 0);
    EXPECT_EQ(fromArguments.err, "");
    EXPECT_EQ(tsvCells(fromArguments.out), expected);
    const std::string file = writeFile("formulas.txt", "  " + lines + "\n\r\n");
    EXPECT_EQ(runCli("pattern --input " + file).out, fromArguments.out) << "--input";
    EXPECT_EQ(runCli("pattern", lines).out, fromArguments.out) << "standard input";
    EXPECT_EQ(runCli("pattern --input -", lines).out, fromArguments.out) << "--input -";
    EXPECT_EQ(tsvCells(runCli("pattern C6H12O6").out)[1][1], "180.06338811805472") << "single formula";
}

// The aligned rows and figures are the numbers behind the Compare page's table:
// written with its widths and decimals they give its cells.
TEST(Cli, CompareGivesTheNumbersOfTheComparisonTable) {
    CompareState state;
    ASSERT_EQ(addPeakList(state.observed, glucosePeaks).added, 3);
    const std::optional<long double> error = runComparisonChain(state, shippedElements(), "C6H12O6");
    ASSERT_TRUE(error);
    const CliRun run = runCli("compare C6H12O6 --peaks " + writeFile("glucose.txt", glucosePeaks));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = tsvCells(run.out);
    const int rows = state.comparison.rowCount;
    ASSERT_EQ(rows, 4);
    ASSERT_EQ(lines.size(), std::size_t(rows + 4));
    EXPECT_EQ(lines[0], (std::vector<std::string>{"Row", "Exp. mass", "Exp. abundance", "Sim. mass", "Sim. abundance", "Diff."}));
    for (int r = 1; r <= rows; ++r) {
        const ComparisonRow shown = comparisonDataRow(state.comparison, r);
        const auto& cells = lines[static_cast<std::size_t>(r)];
        ASSERT_EQ(cells.size(), 6u) << r;
        EXPECT_EQ(cells[0], std::to_string(r));
        const int widths[] = {0, 6, 5, 6, 5, 7}, decimals[] = {0, 1, 1, 1, 1, 2};
        for (int col = 1; col < 6; ++col)
            EXPECT_EQ(formatReal(number(cells[col]), widths[col], decimals[col]), shown[col]) << r << "," << col;
        EXPECT_EQ(number(cells[5]), static_cast<double>(comparisonRowValues(state.comparison, r).difference)) << r;
    }
    EXPECT_EQ(lines[rows + 1], std::vector<std::string>{});
    EXPECT_EQ(lines[rows + 2], (std::vector<std::string>{"Exp. mean mass", "Formula mass", "Error"}));
    const ComparisonRow header = comparisonHeaderRow(state.comparison, state.formula.formulaMass);
    const auto& figures = lines[rows + 3];
    EXPECT_EQ(formatReal(number(figures[0]), 6, 1), header[1]);
    EXPECT_EQ(formatReal(number(figures[1]), 6, 1), header[4]);
    EXPECT_EQ(number(figures[2]), static_cast<double>(*error));
    EXPECT_EQ(runCli("compare C6H12O6 --peaks -", glucosePeaks).out, run.out) << "peaks from standard input";
}

// --json holds the same numbers, bit for bit, under the table's column heads.
TEST(Cli, JsonHoldsTheTablesNumbers) {
    const auto lines = tsvCells(runCli("pattern C6H12O6 Br2 CCl4").out);
    const auto json = nlohmann::json::parse(runCli("--json pattern C6H12O6 Br2 CCl4").out);
    ASSERT_EQ(json.size() + 1, lines.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        const auto& cells = lines[i + 1];
        EXPECT_EQ(json[i]["Formula"], cells[0]) << i;
        for (std::size_t col = 1; col < 4; ++col)
            EXPECT_EQ(json[i][lines[0][col]].get<double>(), number(cells[col])) << i << "," << col;
    }
    const std::string peaks = writeFile("glucose.txt", glucosePeaks);
    const auto table = tsvCells(runCli("compare C6H12O6 --peaks " + peaks).out);
    const auto object = nlohmann::json::parse(runCli("compare C6H12O6 --json --peaks " + peaks).out);
    const std::size_t rows = object["Rows"].size();
    ASSERT_EQ(table.size(), rows + 4);
    for (std::size_t r = 0; r < rows; ++r) {
        EXPECT_EQ(object["Rows"][r]["Row"].get<int>(), std::stoi(table[r + 1][0]));
        for (std::size_t col = 1; col < 6; ++col)
            EXPECT_EQ(object["Rows"][r][table[0][col]].get<double>(), number(table[r + 1][col])) << r << "," << col;
    }
    for (std::size_t col = 0; col < 3; ++col)
        EXPECT_EQ(object[table[rows + 2][col]].get<double>(), number(table[rows + 3][col])) << col;
    EXPECT_EQ(object["Formula"], "C6H12O6");
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
        std::string out;      // all of standard output; "*" when rows are checked elsewhere
        bool shipped = true;
    };
    const Case cases[] = {
        {"unknown option", "pattern --bogus C6H12O6", "", 2, "--bogus", ""},
        {"no subcommand", "", "", 2, "subcommand", ""},
        {"compare without peaks", "compare C6H12O6", "", 2, "--peaks", ""},
        {"--peaks without a value", "compare C6H12O6 --peaks", "", 2, "--peaks", ""},
        {"missing peak file", "compare C6H12O6 --peaks none.txt", "", 1, "none.txt: Datei nicht gefunden", ""},
        {"malformed peak line", "compare C6H12O6 --peaks " + badLine, "", 1,
         badLine + ": 1 Zeile nicht übernommen: 3", ""},
        {"empty peak file", "compare C6H12O6 --peaks -", "\n", 1, "<stdin>: keine Peaks", ""},
        {"peak file not text", std::string("compare C6H12O6 --peaks ") + ISOQUILL_ELEMENT_FILE, "", 1,
         "keine Textdatei", ""},
        {"single bad formula", "pattern Hee", "", 1, "Argument 1: Formel nicht lesbar, Fehler an Stelle 3: Hee", ""},
        {"bad formula to compare", "compare Hee --peaks " + peaks, "", 1, "Fehler an Stelle 3: Hee", ""},
        {"stream with one bad line", "pattern", "Br2\nHee\nSn\n", 1, "<stdin>:2: Formel nicht lesbar", "*"},
        {"missing input file", "pattern --input none.txt", "", 1, "none.txt: Datei nicht gefunden", ""},
        {"arguments and input", "pattern Br2 --input -", "", 2, "schließen sich aus", ""},
        {"unreadable element file", "--elements " + shortElements + " pattern Br2", "", 1,
         shortElements + ": Lesen nach Dateiende (EOF)", "", false},
        {"missing element file", "--elements nowhere.dat pattern Br2", "", 1, "nowhere.dat: Datei nicht gefunden", "",
         false},
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
    const auto stream = tsvCells(runCli("pattern", "Br2\nHee\nSn\n").out);
    std::vector<std::string> streamed;
    for (const auto& cells : stream) streamed.push_back(cells[0]);
    EXPECT_EQ(streamed, (std::vector<std::string>{"Formula", "Br2", "Br2", "Br2", "Sn", "Sn", "Sn", "Sn", "Sn", "Sn",
                                                  "Sn", "Sn", "Sn", "Sn"}));
    for (const std::string command : {"pattern", "compare"}) {
        const CliRun help = runCli(command + " --help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find("Usage: isoquill-cli " + command), std::string::npos) << command << help.out;
    }
}

}  // namespace isoquill::testing
