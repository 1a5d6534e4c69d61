#include "compare/observed_peaks.h"

#include <array>
#include <utility>

#include "chem/number_text.h"

namespace isoquill {

bool addObservedPeak(ObservedPeaks& observed, std::int32_t mass, long double abundance) {
    // Rounded before any check, as the stored value is: an overflow refuses
    // the peak even when the mass would have.
    const long double stored = loadReal48(storeReal48(abundance));
    if (mass <= 0 || stored <= 0.0L || observed.count() >= observedPeakLimit) return false;
    Peak& slot = observed.observedPeaks[observed.observedNext];
    slot.mass = storeReal48(static_cast<long double>(mass));
    slot.abundance = stored;
    ++observed.observedNext;
    sortObservedPeaks(observed);
    return true;
}

// A pasted list sorts after each of up to 254 peaks, so the masses are
// loaded once per sort. When slots 1..n-1 are in order, as Add and Delete
// leave them, only the comparisons with slot n can swap: a slot i that
// takes the smaller mass from slot n stays no larger than the slots after it
// in the ordered part. Those comparisons alone give the same result.
void sortObservedPeaks(ObservedPeaks& observed) {
    auto& slots = observed.observedPeaks;
    const int n = observed.count();
    std::array<long double, observedSlotCount + 1> masses;
    bool headOrdered = true;
    for (int i = 1; i <= n; ++i) {
        masses[i] = loadReal48(slots[i].mass);
        if (i > 1 && i < n && masses[i - 1] > masses[i]) headOrdered = false;
    }
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = n; j >= (headOrdered ? n : i); --j) {
            if (masses[i] > masses[j]) {
                std::swap(slots[i], slots[j]);
                std::swap(masses[i], masses[j]);
            }
        }
    }
}

bool deleteObservedPeak(ObservedPeaks& observed, int line) {
    const int n = observed.count();
    if (line < 0 || line >= n) return false;
    auto& slots = observed.observedPeaks;
    for (int slot = line + 1; slot <= n; ++slot) slots[slot] = slots[slot + 1];
    slots[n] = Peak{};
    --observed.observedNext;
    return true;
}

std::string peakListLine(const Peak& peak) {
    return formatReal(loadReal48(peak.mass), 7, 0) + "   " + formatReal(peak.abundance, 9, 5);
}

}  // namespace isoquill
