// The observed peak list that the user types or pastes on the Compare page:
// masses as measured, abundances on any scale, kept in ascending order of mass.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "isotope/peak.h"

namespace isoquill {

constexpr int observedSlotCount = 300;
constexpr int observedPeakLimit = 254;  // observedNext is 8 bits wide

struct ObservedPeaks {
    // Slots 1..300 (index 0 unused); the slot after the last peak is zero.
    std::array<Peak, observedSlotCount + 1> observedPeaks{};
    std::uint8_t observedNext = 1;  // number of peaks + 1

    int count() const { return observedNext - 1; }
};

// Why Add left a peak out; `none` when it stored it.
enum class PeakRefusal { none, massNotPositive, abundanceNotPositive, listFull };

// Add: rounds mass and abundance to Real48 and stores the peak when both are
// then above 0 and fewer than observedPeakLimit peaks are stored, then sorts.
// A whole-number mass is stored exactly. A mass or abundance above the
// Real48 range raises FloatOverflowError with nothing stored.
PeakRefusal addObservedPeak(ObservedPeaks& observed, long double mass, long double abundance);

// Exchange sort of slots 1..n by mass; equal masses are never swapped directly.
void sortObservedPeaks(ObservedPeaks& observed);

// Delete: removes the peak shown on list line `line` (0-based). Returns false
// and changes nothing when no valid line is given.
bool deleteObservedPeak(ObservedPeaks& observed, int line);

// A stored mass with the fewest decimals (none for a whole number, at most
// 16) that read back to the same Real48, so 158 and 158.6 stay apart and a
// copied list pastes back to the same masses.
std::string observedMassText(const Real48& mass);

// The list box line of a peak: mass in 7 characters, 3 blanks, abundance
// with 5 decimals in 9 characters ("     12   100.00000"). A mass with
// decimals that is wider than 7 characters takes blanks of the gap (one at
// least), so the abundance stays in its column as long as it can.
std::string peakListLine(const Peak& peak);

}  // namespace isoquill
