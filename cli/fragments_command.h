// isoquill-cli fragments: the fragment formulas that fit a mass, found and
// scored as "Generate" finds and scores them, ranked and filtered as the
// candidates window does.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/session.h"

namespace isoquill::cli {

void addFragmentsCommand(CLI::App& app, Session& session);

}  // namespace isoquill::cli
