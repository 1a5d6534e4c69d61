// Runs the real isoquill-cli as a shell would, with the shipped element data,
// in a temporary working directory: its standard output, standard error and
// exit status, and its tab-separated output split into cells.
#pragma once

#include <string>
#include <vector>

namespace isoquill::testing {

struct CliRun {
    std::string out, err;
    int status = -1;
};

// `arguments` as typed after the program's name (quoted by the caller where
// needed); `input` on standard input. Element data from the shipped file
// unless `arguments` name their own.
CliRun runCli(const std::string& arguments, const std::string& input = "", bool shippedElements = true);

// A file in the run's working directory, for --input, --peaks and --elements.
std::string writeFile(const std::string& name, const std::string& content);

// The lines of `text`, each split at tabs.
std::vector<std::vector<std::string>> tsvCells(const std::string& text);

}  // namespace isoquill::testing
