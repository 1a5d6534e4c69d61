// Measured peaks for the tool's subcommands: a file (or "-", standard input)
// read as the window reads a dropped file, through the paste rules.
#pragma once

#include <string>

#include "compare/observed_peaks.h"

namespace isoquill::cli {

// Adds the file's peaks to `observed`. Raises InputError naming the file (and
// its refused lines with their reasons, as the window's message gives them)
// when it cannot be read, a line is refused, or it holds no peak: a pipeline
// must not go on with part of a measurement.
void addPeakFile(ObservedPeaks& observed, const std::string& file);

}  // namespace isoquill::cli
