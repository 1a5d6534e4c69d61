// The candidate table as text, for a file or the clipboard: the header
// "#", "Mass", "Deviation", "ppm", "Error", "RDBE", "Formula", then the given rows of
// a result table in the given order, numbers at full precision.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "chem/number_text.h"
#include "fragment/result_table.h"

namespace isoquill {

// The candidate's formula as plain text, C6H12O6: per code field with a count
// above 0 its symbol without blanks and the count (1 written out), appended
// to `text`. The grid's formula text with its blanks deleted.
void appendPlainFormula(std::string& text, const ResultTable& table, const Candidate& candidate);

// ',' for a name ending in ".csv" (any case), else '\t' (".tsv", ".txt", ...).
char separatorFor(const std::filesystem::path& path);

// Receives the text piece by piece, in order.
using TextSink = std::function<void(std::string_view piece)>;

// Writes the table: the header line, then one line per entry of `rows`
// (indices into table.rows) with the 1-based enumeration position, mass,
// deviation in u and in ppm, error, RDBE (empty when it has none) and plain formula; cells
// joined by `separator`, every line ending in "\n". Numbers as exactNumberText.
void writeCandidateTable(const ResultTable& table, std::span<const std::uint32_t> rows, char separator,
                         const TextSink& sink);

// writeCandidateTable into one string.
std::string candidateTableText(const ResultTable& table, std::span<const std::uint32_t> rows, char separator);

// A file that could not be written; the message names it and the reason.
class SaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the table to `path` whole or not at all: into a new file beside it,
// flushed to the disk, then renamed over it. Raises SaveError on any failure
// (no permission, disk full, no such folder), and then an existing file at
// `path` is left as it was and no partial file remains.
void saveCandidateTable(const std::filesystem::path& path, const ResultTable& table,
                        std::span<const std::uint32_t> rows, char separator);

}  // namespace isoquill
