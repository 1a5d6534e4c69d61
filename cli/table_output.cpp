#include "cli/table_output.h"

#include "chem/number_text.h"

namespace isoquill::cli {
namespace {

constexpr std::size_t flushSize = 1 << 16;

std::string cellText(const Cell& cell) {
    if (const auto* integer = std::get_if<std::int64_t>(&cell)) return std::to_string(*integer);
    if (const auto* number = std::get_if<double>(&cell)) return exactNumberText(*number);
    if (const auto* text = std::get_if<std::string>(&cell)) return *text;
    return {};
}

}  // namespace

std::string tsvLine(const Cells& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += '\t';
        line += cellText(cells[i]);
    }
    line += '\n';
    return line;
}

std::string tsvLine(const Columns& columns) {
    return tsvLine(Cells(columns.begin(), columns.end()));
}

nlohmann::ordered_json jsonRow(const Columns& columns, const Cells& cells) {
    nlohmann::ordered_json row = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < columns.size() && i < cells.size(); ++i)
        std::visit(
            [&](const auto& value) {
                if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::monostate>) row[columns[i]] = nullptr;
                else row[columns[i]] = value;
            },
            cells[i]);
    return row;
}

TableOutput::TableOutput(std::FILE* out, Columns columns, bool json)
    : out_(out), columns_(std::move(columns)), json_(json) {}

TableOutput::~TableOutput() {
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
}

void TableOutput::begin() { buffer_ += json_ ? "[" : tsvLine(columns_); }

void TableOutput::row(const Cells& cells) {
    if (json_) {
        buffer_ += rows_ ? ",\n" : "\n";
        // Invalid UTF-8 (a Latin-1 formula) is replaced rather than refused.
        buffer_ += jsonRow(columns_, cells).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    } else {
        buffer_ += tsvLine(cells);
    }
    ++rows_;
    flushIfFull();
}

void TableOutput::finish() {
    if (json_) buffer_ += rows_ ? "\n]\n" : "]\n";
    std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
    buffer_.clear();
    std::fflush(out_);
}

void TableOutput::flushIfFull() {
    if (buffer_.size() < flushSize) return;
    std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
    buffer_.clear();
}

}  // namespace isoquill::cli
