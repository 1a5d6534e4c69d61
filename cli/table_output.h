// Tables for other programs: tab-separated with a header line, or JSON, an
// array of objects keyed by the column heads. Numbers are written with "."
// and in full, as saved tables write them (exactNumberText).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

namespace isoquill::cli {

// An empty cell (std::monostate) is blank in the table and null in JSON.
using Cell = std::variant<std::monostate, std::int64_t, double, std::string>;
using Columns = std::vector<std::string>;
using Cells = std::vector<Cell>;

// One line of cells joined by tabs, ending in "\n".
std::string tsvLine(const Cells& cells);
std::string tsvLine(const Columns& columns);

// {"<column>": cell, ...}
nlohmann::ordered_json jsonRow(const Columns& columns, const Cells& cells);

// A table written row by row as it is made, buffered: begin() writes the
// header (or "["), row() one row, finish() what closes it.
class TableOutput {
public:
    TableOutput(std::FILE* out, Columns columns, bool json);
    ~TableOutput();

    void begin();
    void row(const Cells& cells);
    void finish();

private:
    void flushIfFull();

    std::FILE* out_;
    Columns columns_;
    bool json_;
    std::size_t rows_ = 0;
    std::string buffer_;
};

}  // namespace isoquill::cli
