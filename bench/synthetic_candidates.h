// A result list of the size the candidates window is built for: 1.9 M
// candidates of a large CHNOS search around 1000 u, as Generate lists them.
#pragma once

#include "fragment/result_table.h"

namespace isoquill::benchmarks {

// C 0..200, H 0..200, N 0..30, O 0..40, S 0..5 within 8.5 u of 1000 u
// (1,907,162 candidates), enumerated as Generate does; the errors come from
// a fixed random sequence of the spread a scored run shows, in place of
// the seconds that scoring takes.
ResultTable syntheticCandidates();

}  // namespace isoquill::benchmarks
