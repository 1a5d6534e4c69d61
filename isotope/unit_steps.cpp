#include "isotope/unit_steps.h"

#include <algorithm>
#include <cmath>

namespace isoquill {

namespace {

// One atom's isotope steps beyond this span are nonsense data; refusing
// them keeps every step array allocatable.
constexpr long double largestAtomSpan = 1e6L;

// A pair of slots costs about a sixteenth of one peak inserted into the tree.
void countProducts(PeakTree& work, std::int64_t pairs) { work.countWork(pairs / 16 + 1); }

void resize(StepDistribution& steps, std::size_t size) {
    steps.probability.assign(size, 0.0L);
    steps.massOffset.assign(size, 0.0L);
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

// C(n, k) pH^k pL^(n-k) by the ratio of neighbours, outward from the mode
// (taken as 1), so no term overflows or underflows on the way.
void binomialSteps(StepDistribution& out, std::int32_t n, const WorkPeak& light, const WorkPeak& heavy,
                   PeakTree& work) {
    const long double ratio = heavy.abundance / light.abundance;
    const auto mode = static_cast<std::int32_t>(
        std::clamp(std::floor((n + 1.0L) * heavy.abundance / (light.abundance + heavy.abundance)), 0.0L,
                   static_cast<long double>(n)));
    std::int32_t first = mode, last = mode;
    for (long double t = 1.0L; first > 0;) {
        t = t * first / (n - first + 1) / ratio;
        if (t < stepPruning) break;
        --first;
    }
    for (long double t = 1.0L; last < n;) {
        t = t * (n - last) / (last + 1) * ratio;
        if (t < stepPruning) break;
        ++last;
    }
    const long double span = heavy.mass - light.mass;
    const std::int64_t step = stepOf(heavy.mass, light.mass);
    countProducts(work, (static_cast<std::int64_t>(last) - first + 1) * std::max<std::int64_t>(step, 1));
    out.baseMass = n * light.mass;
    out.firstStep = first * step;
    resize(out, static_cast<std::size_t>((last - first) * step + 1));
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
    for (const WorkPeak& isotope : isotopes) span = std::max(span, stepOf(isotope.mass, lightest));
    countProducts(work, span);
    out.baseMass = lightest;
    out.firstStep = 0;
    resize(out, static_cast<std::size_t>(span + 1));
    for (const WorkPeak& isotope : isotopes) {
        const auto slot = static_cast<std::size_t>(stepOf(isotope.mass, lightest));
        out.probability[slot] += isotope.abundance;
        out.massOffset[slot] += isotope.abundance * (isotope.mass - lightest);
    }
    trimAndScale(out);
}

// out := a combined with b; out must be neither of them.
void convolve(StepDistribution& out, const StepDistribution& a, const StepDistribution& b, PeakTree& work) {
    const std::size_t na = a.probability.size(), nb = b.probability.size();
    countProducts(work, static_cast<std::int64_t>(na) * static_cast<std::int64_t>(nb));
    out.firstStep = a.firstStep + b.firstStep;
    out.baseMass = a.baseMass + b.baseMass;
    resize(out, na + nb - 1);
    for (std::size_t i = 0; i < na; ++i) {
        const long double pa = a.probability[i], da = a.massOffset[i];
        if (pa == 0.0L) continue;
        long double* p = out.probability.data() + i;
        long double* d = out.massOffset.data() + i;
        for (std::size_t j = 0; j < nb; ++j) {
            const long double pb = b.probability[j];
            p[j] += pa * pb;
            d[j] += da * pb + pa * b.massOffset[j];
        }
    }
    trimAndScale(out);
}

}  // namespace

void stepPattern(StepDistribution& out, std::int32_t n, const ElementRecord& element, PeakTree& work) {
    resize(out, 0);
    if (n < 1) return;
    const int s = element.usableIsotopeCount();
    if (s == 1) {
        out.baseMass = loadReal48(element.mass) * n;
        out.firstStep = 0;
        resize(out, 1);
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
        resize(out, 1);
        out.probability[0] = 1.0L;
        return;
    }
    if (isotopes.size() == 2) {
        if (isotopes[1].mass < isotopes[0].mass) std::swap(isotopes[0], isotopes[1]);
        binomialSteps(out, n, isotopes[0], isotopes[1], work);
        return;
    }
    // n as a sum of powers of two: squarings of the one-atom distribution,
    // multiplied into the result where n has a bit set.
    StepDistribution power, scratch;
    atomSteps(power, isotopes, work);
    bool started = false;
    for (auto rest = static_cast<std::uint32_t>(n);;) {
        if (rest & 1u) {
            if (started) {
                convolve(scratch, out, power, work);
                std::swap(out, scratch);
            } else {
                out = power;
                started = true;
            }
        }
        rest >>= 1;
        if (rest == 0) break;
        convolve(scratch, power, power, work);
        std::swap(power, scratch);
    }
}

void combineSteps(StepDistribution& acc, const StepDistribution& next, PeakTree& work) {
    if (acc.empty()) {
        acc = next;
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
