// isoquill-cli pattern: the simulated peak group of each formula, one row per
// peak, as the Compare page computes it.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/session.h"

namespace isoquill::cli {

void addPatternCommand(CLI::App& app, Session& session);

}  // namespace isoquill::cli
