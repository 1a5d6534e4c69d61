// The isotope distribution of n atoms of one element, for counts 1..255 in
// the system's fixed arithmetic: closed form for two isotopes, per-atom
// convolution passes through the merge tree for more. Larger counts take
// unit_steps.h.
#pragma once

#include <cstdint>
#include <vector>

#include "chem/element_table.h"
#include "isotope/peak_tree.h"

namespace isoquill {

// Counts up to this take the fixed arithmetic below bit for bit.
constexpr std::int32_t largestByteCount = 255;

// n! in long double, 1 for n <= 1; for n up to largestByteCount.
long double factorial(int n);
// (a! / b!) / (a - b)!, the divisions in that order; 0 <= b <= a <= largestByteCount.
long double binomial(int a, int b);
// x^n for 1 <= n <= largestByteCount with rounding to Real48 after every
// multiplication; x must be a Real48 value.
long double powerReal48(int n, long double x);

// The distribution of n atoms of a two-isotope element into `out` (cleared
// first), in order of the number k of isotope-2 atoms, keeping only peaks
// above minAbundance. Terms whose Real48 powers underflow are continued by
// the ratio of neighbours instead of vanishing. Empty for n outside 1..255.
void twoIsotopePattern(std::vector<WorkPeak>& out, std::int32_t n, const ElementRecord& element);

// The distribution of n atoms of an element with three or more isotopes into
// `out` (cleared first): n - 1 passes that each add one atom through `tree`,
// pruned and merged after every pass; for n = 1 the isotopes read out of the
// tree. Ascending mass; empty for n < 1. The tree is empty on return.
void polyIsotopePattern(std::vector<WorkPeak>& out, PeakTree& tree, std::int32_t n, const ElementRecord& element);

}  // namespace isoquill
