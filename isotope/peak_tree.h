// The peak merge tree: collects peaks, merging any that come closer than
// 0.1 u to a node on their search path, and reads them out in ascending mass.
#pragma once

#include "isotope/peak.h"

namespace isoquill {

class PeakTree;  // defined by the simulation

}  // namespace isoquill
