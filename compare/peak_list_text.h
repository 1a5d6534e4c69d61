// The observed peak list as text, both ways: peak lists as instrument
// software, spreadsheets and files write them (a pasted clipboard or a whole
// file), and the list written back as such a table.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "compare/observed_peaks.h"

namespace isoquill {

// More than one line. A single line that ends in a line break is one line.
bool holdsSeveralLines(std::string_view text);

// Why a line gave no peak.
enum class PeakLineFault {
    noNumber,              // no number where the mass stands
    oneNumber,             // a mass but no abundance beside it
    massNotPositive,       // as Add refuses them
    abundanceNotPositive,  // also one that rounds to 0 as a Real48
    outOfRange,            // beyond the Real48 range
    listFull,              // observedPeakLimit peaks were stored already
};

// Where the mass and abundance of each line were taken from.
struct PeakColumns {
    enum class Rule {
        leadingNumbers,  // the first two numbers of the line
        runningIndex,    // the first number of every line counts 0 or 1, 2, 3, ...: the next two
        header,          // the columns a header line names
    };
    Rule rule = Rule::leadingNumbers;
    int mass = 1, abundance = 2;          // the columns taken, 1-based, in a header's cells
    std::string massName, abundanceName;  // as the header names them
};

struct PeakListPaste {
    int added = 0;
    std::vector<int> refusedLines;              // 1-based, counted in the whole text
    std::vector<PeakLineFault> refusedReasons;  // one for each of refusedLines
    PeakColumns columns;
};

// Adds the peak of every line as Add would add it, in the order of the lines,
// and says why each refused line was refused; the lines after a refused one
// still go in. Blank lines are skipped; so are the lines before the first one
// that starts with a number (a header, an instrument's preamble).
// - A header line naming a mass column ("m/z", "Mass") and an abundance
//   column ("Intensity", "Abundance", "Area") picks those columns. It is
//   split at tabs, else semicolons, else commas (else as below), and so are
//   its data lines that hold that separator, empty cells kept; so names and
//   texts may hold blanks, and a data line may start with text.
// - Otherwise a line is split at tabs, semicolons and blanks (runs count as
//   one), a line without them at its commas (plain CSV); the numbers at its
//   start count, text after them is ignored, and the first two are mass and
//   abundance. When every line of three numbers or more starts with its
//   running number (counted over the lines that start with a number, from 0
//   or 1 on), that index is dropped and the next two are taken.
// A field is a number when it starts like one; a decimal comma is read as
// the point where commas do not separate the fields.
PeakListPaste addPeakList(ObservedPeaks& observed, std::string_view text);

// What to tell the user (UTF-8, no full stop at the end; the error box adds
// it), empty when every line went in: the refused lines with their reasons,
// at most 10 and then how many more; the lines that found the list full
// together, once; and the columns taken when they were not the first two.
// A whole file's worth stays a message of a few lines.
std::string peakListPasteMessage(const PeakListPaste& paste);

// The list as a table: the header "Mass", "Abundance", then per peak the
// stored mass (observedMassText) and the abundance of its list line without
// padding. addPeakList reads it back to the same peaks.
std::vector<std::array<std::string, 2>> peakListTable(const ObservedPeaks& observed);

}  // namespace isoquill
