// isoquill-cli: the isotope pattern, the comparison with measured peaks and
// the fragment search without the window, for scripts and pipelines. Exit
// status 0 when all went well, 1 for bad input, 2 for bad usage.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/compare_command.h"
#include "cli/fragments_command.h"
#include "cli/pattern_command.h"
#include "cli/session.h"

using namespace isoquill::cli;

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    Session session(executableDir(argv[0]));
    CLI::App app("Isoquill ohne Fenster: Isotopenmuster, Vergleich mit gemessenen Peaks, Fragmentformeln. "
                 "Ausgabe tabulatorgetrennt mit Kopfzeile, oder JSON.",
                 "isoquill-cli");
    app.require_subcommand(1);
    app.fallthrough();
    app.add_option("--elements", session.elementFile,
                   "Elementdaten (PSE.DAT); sonst im aktuellen Verzeichnis, dann in ../share/isoquill beim Programm");
    app.add_flag("--json", session.json, "JSON statt tabulatorgetrennter Tabelle");
    addPatternCommand(app, session);
    addCompareCommand(app, session);
    addFragmentsCommand(app, session);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : exitBadUsage;
    } catch (const UsageError& error) {
        report(error.what());
        return exitBadUsage;
    } catch (const std::exception& error) {
        report(error.what());
        return exitBadInput;
    }
    return session.exitCode;
}
