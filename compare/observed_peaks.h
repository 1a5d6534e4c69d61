// The observed peak list that the user types on the Compare page: whole-number
// masses with abundances on any scale, kept in ascending order of mass.
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

// Add: stores the peak when mass > 0 and the abundance, rounded to Real48,
// is > 0, then sorts. Returns false (nothing stored) otherwise, and when
// observedPeakLimit peaks are stored. An abundance above the Real48 range
// raises FloatOverflowError with nothing stored.
bool addObservedPeak(ObservedPeaks& observed, std::int32_t mass, long double abundance);

// Exchange sort of slots 1..n by mass; equal masses are never swapped directly.
void sortObservedPeaks(ObservedPeaks& observed);

// Delete: removes the peak shown on list line `line` (0-based). Returns false
// and changes nothing when no valid line is given.
bool deleteObservedPeak(ObservedPeaks& observed, int line);

// The list box line of a peak: mass in 7 characters, 3 blanks, abundance
// with 5 decimals in 9 characters ("     12   100.00000").
std::string peakListLine(const Peak& peak);

}  // namespace isoquill
