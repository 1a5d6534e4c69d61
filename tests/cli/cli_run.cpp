#include "cli_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace isoquill::testing {
namespace {

namespace fs = std::filesystem;

const fs::path workDir = [] {
    const fs::path path = fs::temp_directory_path() / ("isoquill_cli_" + std::to_string(::getpid()));
    fs::create_directories(path);
    return path;
}();

std::string readAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace

std::string writeFile(const std::string& name, const std::string& content) {
    std::ofstream(workDir / name, std::ios::binary) << content;
    return (workDir / name).string();
}

CliRun runCli(const std::string& arguments, const std::string& input, bool shippedElements) {
    writeFile("stdin", input);
    const std::string elements = shippedElements ? " --elements '" ISOQUILL_ELEMENT_FILE "'" : "";
    const int status = std::system(("cd '" + workDir.string() + "' && '" ISOQUILL_CLI "'" + elements + " " +
                                    arguments + " <stdin >stdout 2>stderr").c_str());
    return {readAll(workDir / "stdout"), readAll(workDir / "stderr"), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::vector<std::vector<std::string>> tsvCells(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream cells(line);
        lines.emplace_back();
        for (std::string cell; std::getline(cells, cell, '\t');) lines.back().push_back(cell);
    }
    return lines;
}

}  // namespace isoquill::testing
