// What every subcommand of isoquill-cli shares: the element table, the output
// form, where messages go, and the exit codes that tell a script what failed.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "chem/element_table.h"

namespace isoquill::cli {

constexpr int exitBadInput = 1;
constexpr int exitBadUsage = 2;

// Bad input (a file, a formula, a peak line): exit status 1. The message
// names the file and line where there is one.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Options that do not fit together or values out of range: exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Session {
public:
    explicit Session(std::filesystem::path executableDir) : executableDir_(std::move(executableDir)) {}

    std::string elementFile;  // --elements; empty: the current directory, then the installed data folder
    bool json = false;        // --json
    int exitCode = 0;         // what the subcommand's run leaves

    // Loaded on first use. Raises InputError naming the file when it cannot be read.
    const ElementTable& elements();

private:
    std::filesystem::path executableDir_;
    ElementTable elementTable_{};
    bool loaded_ = false;
};

// The folder of the running executable: /proc/self/exe, else argv[0]'s folder.
std::filesystem::path executableDir(const char* argv0);

// "isoquill-cli: " + message on standard error.
void report(const std::string& message);

// "Die Daten zu diesem Element fehlen: Xx" (to these elements, for several
// symbols), the symbols without their padding blank, in order, each once.
std::string missingDataMessage(const std::vector<Symbol>& symbols);

}  // namespace isoquill::cli
