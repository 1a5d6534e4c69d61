// isoquill-cli compare: a formula's simulated group beside measured peaks from
// a file, aligned as the Compare page aligns them, with the least-square error.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/session.h"

namespace isoquill::cli {

void addCompareCommand(CLI::App& app, Session& session);

}  // namespace isoquill::cli
