#include "compare/observed_peaks.h"

#include <algorithm>
#include <array>
#include <utility>

#include "chem/number_text.h"

namespace isoquill {

PeakRefusal addObservedPeak(ObservedPeaks& observed, long double mass, long double abundance) {
    // Rounded before any check, as the stored values are: an overflow refuses
    // the peak even when the other value would have.
    const long double storedAbundance = loadReal48(storeReal48(abundance));
    const Real48 storedMass = storeReal48(mass);
    if (loadReal48(storedMass) <= 0.0L) return PeakRefusal::massNotPositive;
    if (storedAbundance <= 0.0L) return PeakRefusal::abundanceNotPositive;
    if (observed.count() >= observedPeakLimit) return PeakRefusal::listFull;
    Peak& slot = observed.observedPeaks[observed.observedNext];
    slot.mass = storedMass;
    slot.abundance = storedAbundance;
    ++observed.observedNext;
    sortObservedPeaks(observed);
    return PeakRefusal::none;
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

std::string observedMassText(const Real48& mass) {
    constexpr int mostDecimals = 16;  // 13 significant digits, which tell every Real48 apart, down to 0.001
    const long double value = loadReal48(mass);
    for (int decimals = 0; decimals < mostDecimals; ++decimals) {
        std::string text = formatReal(value, 0, decimals);
        if (storeReal48(readNumber(text)) == mass) return text;
    }
    return formatReal(value, 0, mostDecimals);
}

std::string peakListLine(const Peak& peak) {
    constexpr int massWidth = 7, gap = 3;
    const std::string mass = observedMassText(peak.mass);
    const int length = static_cast<int>(mass.size());
    const bool decimals = mass.find('.') != std::string::npos;
    const int blanks = decimals ? std::max(1, massWidth + gap - std::max(length, massWidth)) : gap;
    return std::string(static_cast<std::size_t>(std::max(0, massWidth - length)), ' ') + mass +
           std::string(static_cast<std::size_t>(blanks), ' ') + formatReal(peak.abundance, 9, 5);
}

}  // namespace isoquill
