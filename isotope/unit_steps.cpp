#include "isotope/unit_steps.h"

#include <algorithm>
#include <cmath>

#include "isotope/group_width.h"

namespace isoquill {

namespace {

// One atom's isotope steps beyond this span are nonsense data; refusing
// them keeps every step array allocatable.
constexpr long double largestAtomSpan = 1e6L;

// A pair of slots costs about a sixteenth of one peak inserted into the tree.
void countProducts(PeakTree& work, std::int64_t pairs) { work.countWork(pairs / 16 + 1); }

// A slot (two long doubles) made or copied counts one unit, before it is
// made: the work limit then bounds the memory the arrays of one simulation
// ever take, about 32 bytes a unit.
void countSlots(PeakTree& work, std::size_t slots) { work.countWork(static_cast<std::int64_t>(slots)); }

// To the given size, all slots zero. Shrinking needs no count.
void resize(StepDistribution& steps, std::size_t size) {
    steps.probability.assign(size, 0.0L);
    steps.massOffset.assign(size, 0.0L);
}

void allocate(StepDistribution& steps, std::size_t size, PeakTree& work) {
    countSlots(work, size);
    resize(steps, size);
}

void copy(StepDistribution& to, const StepDistribution& from, PeakTree& work) {
    countSlots(work, from.probability.size());
    to = from;
}

// A readOutSteps peak: at least this fraction of the largest slot.
constexpr long double visibleStep = 1e-4L;

// Steps this far apart can never both lie on the comparison grid.
void requirePlaceable(std::int64_t span) {
    if (span >= maxComparisonRows) throw ComparisonTooWideError();
}

// Scales the largest slot to 1 and drops the slots at both ends that lie
// below stepPruning of it.
void trimAndScale(StepDistribution& steps) {
    auto& p = steps.probability;
    const long double max = p.empty() ? 0.0L : *std::max_element(p.begin(), p.end());
    if (!(max > 0.0L) || !std::isfinite(max)) {
        resize(steps, 0);
        return;
    }
    const long double floor = max * stepPruning;
    std::size_t first = 0, last = p.size() - 1;
    while (p[first] < floor) ++first;
    while (p[last] < floor) --last;
    const long double scale = 1.0L / max;
    for (std::size_t i = first; i <= last; ++i) {
        p[i - first] = p[i] * scale;
        steps.massOffset[i - first] = steps.massOffset[i] * scale;
    }
    p.resize(last - first + 1);
    steps.massOffset.resize(last - first + 1);
    steps.firstStep += static_cast<std::int64_t>(first);
}

std::int64_t stepOf(long double mass, long double lightest) {
    if (!(mass - lightest <= largestAtomSpan)) throw SimulationTooLargeError();
    return static_cast<std::int64_t>(std::rint(mass - lightest));
}

// The heavy-atom counts k around the mode whose terms C(n, k) pH^k pL^(n-k)
// are at least `floor` of the mode's, walked by the ratio of neighbours.
struct CountRun {
    std::int32_t first, last;
};
CountRun termsAbove(long double floor, std::int32_t n, std::int32_t mode, long double ratio) {
    CountRun run{mode, mode};
    for (long double t = 1.0L; run.first > 0;) {
        t = t * run.first / (n - run.first + 1) / ratio;
        if (t < floor) break;
        --run.first;
    }
    for (long double t = 1.0L; run.last < n;) {
        t = t * (n - run.last) / (run.last + 1) * ratio;
        if (t < floor) break;
        ++run.last;
    }
    return run;
}

// C(n, k) pH^k pL^(n-k) by the ratio of neighbours, outward from the mode
// (taken as 1), so no term overflows or underflows on the way.
void binomialSteps(StepDistribution& out, std::int32_t n, const WorkPeak& light, const WorkPeak& heavy,
                   PeakTree& work) {
    const long double ratio = heavy.abundance / light.abundance;
    const auto mode = static_cast<std::int32_t>(
        std::clamp(std::floor((n + 1.0L) * heavy.abundance / (light.abundance + heavy.abundance)), 0.0L,
                   static_cast<long double>(n)));
    const CountRun kept = termsAbove(stepPruning, n, mode, ratio);
    const std::int32_t first = kept.first, last = kept.last;
    const long double span = heavy.mass - light.mass;
    const std::int64_t step = stepOf(heavy.mass, light.mass);
    // The mode's term is the largest, so the visible ones lie around it.
    const CountRun visible = termsAbove(visibleStep, n, mode, ratio);
    requirePlaceable((static_cast<std::int64_t>(visible.last) - visible.first) * step);
    countProducts(work, (static_cast<std::int64_t>(last) - first + 1) * std::max<std::int64_t>(step, 1));
    out.baseMass = n * light.mass;
    out.firstStep = first * step;
    allocate(out, static_cast<std::size_t>((static_cast<std::int64_t>(last) - first) * step + 1), work);
    auto put = [&](std::int32_t k, long double t) {
        const auto slot = static_cast<std::size_t>((k - first) * step);
        out.probability[slot] += t;
        out.massOffset[slot] += t * (span * k);
    };
    put(mode, 1.0L);
    long double t = 1.0L;
    for (std::int32_t k = mode; k > first; --k) put(k - 1, t = t * k / (n - k + 1) / ratio);
    t = 1.0L;
    for (std::int32_t k = mode; k < last; ++k) put(k + 1, t = t * (n - k) / (k + 1) * ratio);
    trimAndScale(out);
}

void atomSteps(StepDistribution& out, const std::vector<WorkPeak>& isotopes, PeakTree& work) {
    long double lightest = isotopes.front().mass;
    for (const WorkPeak& isotope : isotopes) lightest = std::min(lightest, isotope.mass);
    std::int64_t span = 0;
    long double most = 0.0L;
    for (const WorkPeak& isotope : isotopes) {
        span = std::max(span, stepOf(isotope.mass, lightest));
        most = std::max(most, isotope.abundance);
    }
    // n atoms spread at least as far as one: its visible isotopes must fit.
    std::int64_t firstVisible = span, lastVisible = 0;
    for (const WorkPeak& isotope : isotopes) {
        if (!(isotope.abundance >= most * visibleStep)) continue;
        firstVisible = std::min(firstVisible, stepOf(isotope.mass, lightest));
        lastVisible = std::max(lastVisible, stepOf(isotope.mass, lightest));
    }
    requirePlaceable(lastVisible - firstVisible);
    countProducts(work, span);
    out.baseMass = lightest;
    out.firstStep = 0;
    allocate(out, static_cast<std::size_t>(span + 1), work);
    for (const WorkPeak& isotope : isotopes) {
        const auto slot = static_cast<std::size_t>(stepOf(isotope.mass, lightest));
        out.probability[slot] += isotope.abundance;
        out.massOffset[slot] += isotope.abundance * (isotope.mass - lightest);
    }
    trimAndScale(out);
}

// out := an empty product of a and b, with its `pairs` slot products counted.
void startProduct(StepDistribution& out, const StepDistribution& a, const StepDistribution& b, std::int64_t pairs,
                  PeakTree& work) {
    countProducts(work, pairs);
    out.firstStep = a.firstStep + b.firstStep;
    out.baseMass = a.baseMass + b.baseMass;
    allocate(out, a.probability.size() + b.probability.size() - 1, work);
}

// The slots i of a that pair with slot k - i of b, for slot k of their product.
struct PairRange {
    std::size_t first, last;  // inclusive
};
PairRange pairsFor(std::size_t k, std::size_t na, std::size_t nb) {
    return {k + 1 > nb ? k + 1 - nb : 0, std::min(k, na - 1)};
}

// out := a combined with b; out must be neither of them. Each output slot is
// summed in a register: 80-bit loads are cheap, 80-bit stores are not.
void convolve(StepDistribution& out, const StepDistribution& a, const StepDistribution& b, PeakTree& work) {
    const std::size_t na = a.probability.size(), nb = b.probability.size();
    startProduct(out, a, b, static_cast<std::int64_t>(na) * static_cast<std::int64_t>(nb), work);
    for (std::size_t k = 0; k < na + nb - 1; ++k) {
        const PairRange range = pairsFor(k, na, nb);
        long double p = 0.0L, d = 0.0L;
        for (std::size_t i = range.first; i <= range.last; ++i) {
            const long double pb = b.probability[k - i];
            p += a.probability[i] * pb;
            d += a.massOffset[i] * pb + a.probability[i] * b.massOffset[k - i];
        }
        out.probability[k] = p;
        out.massOffset[k] = d;
    }
    trimAndScale(out);
}

// The probabilities alone (mass offsets left 0). out must be neither input.
void multiplyProbabilities(StepDistribution& out, const StepDistribution& a, const StepDistribution& b,
                           PeakTree& work) {
    const std::size_t na = a.probability.size(), nb = b.probability.size();
    startProduct(out, a, b, static_cast<std::int64_t>(na) * static_cast<std::int64_t>(nb), work);
    for (std::size_t k = 0; k < na + nb - 1; ++k) {
        const PairRange range = pairsFor(k, na, nb);
        long double p = 0.0L;
        for (std::size_t i = range.first; i <= range.last; ++i) p += a.probability[i] * b.probability[k - i];
        out.probability[k] = p;
    }
    trimAndScale(out);
}

// a combined with itself: each unordered pair of slots once, doubled.
void squareProbabilities(StepDistribution& out, const StepDistribution& a, PeakTree& work) {
    const std::size_t na = a.probability.size();
    startProduct(out, a, a, static_cast<std::int64_t>(na) * static_cast<std::int64_t>(na) / 2, work);
    for (std::size_t k = 0; k < 2 * na - 1; ++k) {
        const PairRange range = pairsFor(k, na, na);
        long double p = 0.0L;
        std::size_t i = range.first;
        for (; 2 * i < k; ++i) p += a.probability[i] * a.probability[k - i];
        p += p;
        if (2 * i == k) p += a.probability[i] * a.probability[i];
        out.probability[k] = p;
    }
    trimAndScale(out);
}

// The probabilities of n atoms: n as a sum of powers of two, squarings of
// the one-atom distribution multiplied in where n has a bit set.
void powerProbabilities(StepDistribution& out, const StepDistribution& atom, std::uint32_t n, PeakTree& work) {
    out.firstStep = 0;
    out.baseMass = 0.0L;
    allocate(out, 1, work);
    out.probability[0] = 1.0L;
    StepDistribution power, scratch;
    copy(power, atom, work);
    for (std::uint32_t rest = n; rest != 0; rest >>= 1) {
        if (rest & 1u) {
            multiplyProbabilities(scratch, out, power, work);
            std::swap(out, scratch);
        }
        if (rest > 1) {
            squareProbabilities(scratch, power, work);
            std::swap(power, scratch);
        }
    }
}

}  // namespace

void stepPattern(StepDistribution& out, std::int32_t n, const ElementRecord& element, PeakTree& work) {
    resize(out, 0);
    if (n < 1) return;
    const int s = element.usableIsotopeCount();
    if (s == 1) {
        out.baseMass = loadReal48(element.mass) * n;
        out.firstStep = 0;
        allocate(out, 1, work);
        out.probability[0] = 1.0L;
        return;
    }
    std::vector<WorkPeak> isotopes;
    for (int j = 1; j <= s; ++j) {
        const long double abundance = loadReal48(element.isotope(j).abundance);
        if (abundance > 0.0L) isotopes.push_back({loadReal48(element.isotope(j).mass), abundance});
    }
    if (isotopes.empty()) return;
    if (isotopes.size() == 1) {
        out.baseMass = isotopes.front().mass * n;
        out.firstStep = 0;
        allocate(out, 1, work);
        out.probability[0] = 1.0L;
        return;
    }
    if (isotopes.size() == 2) {
        if (isotopes[1].mass < isotopes[0].mass) std::swap(isotopes[0], isotopes[1]);
        binomialSteps(out, n, isotopes[0], isotopes[1], work);
        return;
    }
    // The atoms are alike, so each carries 1/n of a step's mass offset: the
    // offsets of n atoms are n times one atom's convolved with the
    // probabilities of the other n - 1, and only those need the squarings.
    StepDistribution atom, others;
    atomSteps(atom, isotopes, work);
    powerProbabilities(others, atom, static_cast<std::uint32_t>(n - 1), work);
    const std::size_t na = atom.probability.size(), nb = others.probability.size();
    startProduct(out, atom, others, static_cast<std::int64_t>(na * nb), work);
    for (std::size_t k = 0; k < na + nb - 1; ++k) {
        const PairRange range = pairsFor(k, na, nb);
        long double p = 0.0L, d = 0.0L;
        for (std::size_t i = range.first; i <= range.last; ++i) {
            p += atom.probability[i] * others.probability[k - i];
            d += atom.massOffset[i] * others.probability[k - i];
        }
        out.probability[k] = p;
        out.massOffset[k] = n * d;
    }
    trimAndScale(out);
}

void combineSteps(StepDistribution& acc, const StepDistribution& next, PeakTree& work) {
    if (acc.empty()) {
        copy(acc, next, work);
        return;
    }
    StepDistribution combined;
    convolve(combined, acc, next, work);
    std::swap(acc, combined);
}

void readOutSteps(PeakList& simPeaks, const StepDistribution& steps) {
    simPeaks.unitSteps = true;
    if (steps.empty()) return;
    const long double max = roundReal48(*std::max_element(steps.probability.begin(), steps.probability.end()));
    for (std::size_t i = 0; i < steps.probability.size(); ++i) {
        const long double p = steps.probability[i];
        if (!(p * 100 / max >= 0.01L)) continue;
        simPeaks.append({storeReal48(steps.baseMass + steps.massOffset[i] / p), p});
    }
}

}  // namespace isoquill
