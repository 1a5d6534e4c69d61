// An independent reference for peak groups by isotope step: every entry's
// one-atom distribution raised to its count by squaring, in plain long double,
// dropping only slots below 1e-100 of an intermediate's largest (no visible
// step can feel that), and masses carried as plain probability × mass sums.
// Unlike the program it never prunes near the visible range, uses no
// binomial terms, and rounds nothing to Real48.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "chem/element_table.h"
#include "chem/formula.h"

namespace isoquill::testing {

struct ExactSteps {
    std::int64_t first = 0;           // step of slot 0, in whole u above the lightest combination
    std::vector<long double> p, pm;   // probability and probability × mass per step

    long double mass(std::size_t i) const { return pm[i] / p[i]; }
    // Probability of slot i on the 0-100 scale of the largest slot.
    long double percent(std::size_t i) const { return p[i] * 100 / *std::max_element(p.begin(), p.end()); }
};

inline ExactSteps exactProduct(const ExactSteps& a, const ExactSteps& b) {
    ExactSteps c{a.first + b.first, std::vector<long double>(a.p.size() + b.p.size() - 1), {}};
    c.pm = c.p;
    for (std::size_t i = 0; i < a.p.size(); ++i)
        for (std::size_t j = 0; j < b.p.size(); ++j) {
            c.p[i + j] += a.p[i] * b.p[j];
            c.pm[i + j] += a.pm[i] * b.p[j] + a.p[i] * b.pm[j];
        }
    const long double keep = *std::max_element(c.p.begin(), c.p.end()) * 1e-100L;
    std::size_t lo = 0, hi = c.p.size();
    while (c.p[lo] < keep) ++lo;
    while (c.p[hi - 1] < keep) --hi;
    c.first += static_cast<std::int64_t>(lo);
    for (auto* v : {&c.p, &c.pm}) v->assign(v->begin() + std::ptrdiff_t(lo), v->begin() + std::ptrdiff_t(hi));
    return c;
}

inline ExactSteps exactEntry(const ElementRecord& element, std::int64_t n) {
    // A mono-isotopic element weighs its element mass, not its isotope's
    // (yttrium's differ by 2e-6 u, 0.001 u at 477 atoms).
    if (element.usableIsotopeCount() == 1) return {0, {1.0L}, {loadReal48(element.mass) * n}};
    long double lightest = INFINITY;
    for (int j = 1; j <= element.isotopeCount; ++j)
        if (loadReal48(element.isotope(j).abundance) > 0)
            lightest = std::min(lightest, loadReal48(element.isotope(j).mass));
    ExactSteps atom;
    for (int j = 1; j <= element.isotopeCount; ++j) {
        const long double m = loadReal48(element.isotope(j).mass), a = loadReal48(element.isotope(j).abundance);
        if (!(a > 0)) continue;
        const auto step = static_cast<std::size_t>(std::llround(m - lightest));
        if (atom.p.size() <= step) atom.p.resize(step + 1), atom.pm.resize(step + 1);
        atom.p[step] += a;
        atom.pm[step] += a * m;
    }
    ExactSteps result{0, {1.0L}, {0.0L}};
    for (ExactSteps power = atom; n > 0; n >>= 1) {
        if (n & 1) result = exactProduct(result, power);
        if (n > 1) power = exactProduct(power, power);
    }
    return result;
}

// The group of every entry with isotope data and a count of 1 or more.
inline ExactSteps exactGroup(const Formula& formula, const ElementTable& table) {
    ExactSteps group{0, {1.0L}, {0.0L}};
    for (const FormulaEntry& entry : formula.formulaTable) {
        if (entry.symbol.empty()) break;
        if (entry.element == 0 || entry.count < 1 || table[entry.element].isotopeCount == 0) continue;
        group = exactProduct(group, exactEntry(table[entry.element], entry.count));
    }
    return group;
}

}  // namespace isoquill::testing
