#include "compare/observed_peaks.h"

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

void sortObservedPeaks(ObservedPeaks& observed) {
    auto& slots = observed.observedPeaks;
    const int n = observed.count();
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = n; j >= i; --j) {
            if (loadReal48(slots[i].mass) > loadReal48(slots[j].mass)) std::swap(slots[i], slots[j]);
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
