// The observed peak list as text, both ways through the clipboard: lines of a
// mass and an abundance as instrument software and spreadsheets write them,
// and the list written back as such a table.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compare/observed_peaks.h"

namespace isoquill {

// More than one line. A single line that ends in a line break is one line.
bool holdsSeveralLines(std::string_view text);

// The mass and abundance texts of one line, or nothing when it does not give
// exactly two. The line is split at tabs, semicolons and blanks (runs count
// as one); with two fields a comma in them is a decimal comma and comes back
// as "."; a single field is split at its commas instead (plain CSV).
std::optional<std::array<std::string, 2>> splitPeakLine(std::string_view line);

struct PeakListPaste {
    int added = 0;
    std::vector<int> refusedLines;  // 1-based, counted in the whole text
};

// Adds the peak of every line exactly as Add would from the two fields
// (whole-number mass as Add reads it, its refusals, observedPeakLimit), in
// the order of the lines. Blank lines are skipped, and so is the first
// non-blank line when it holds no digit (a header). A line that does not
// split into two fields, that Add refuses, or whose abundance overflows a
// Real48 is refused; the lines after it still go in.
PeakListPaste addPeakList(ObservedPeaks& observed, std::string_view text);

// "3 Zeilen nicht übernommen: 1, 7, 12" (UTF-8; the error box adds the full
// stop), "1 Zeile nicht übernommen: 7" for one.
std::string refusedLinesMessage(const std::vector<int>& lines);

// The list as a table: the header "Mass", "Abundance", then per peak the two
// texts of its list line without their padding. addPeakList reads it back
// to the same peaks.
std::vector<std::array<std::string, 2>> peakListTable(const ObservedPeaks& observed);

}  // namespace isoquill
