#include "isotope/combinatorics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <math.h>

namespace isoquill {

namespace {

using PowerTable = std::array<long double, largestByteCount + 1>;

const PowerTable& factorials() {
    static const PowerTable table = [] {
        PowerTable t;
        t[0] = 1.0L;
        for (std::size_t n = 1; n < t.size(); ++n) t[n] = static_cast<long double>(n) * t[n - 1];
        return t;
    }();
    return table;
}

// powers[j] = powerReal48(j, x) for j = 1..n, and powers[0] = 1: multiplying
// by it is exact, so it leaves a factor with exponent 0 out.
void fillPowers(PowerTable& powers, int n, long double x) {
    powers[0] = 1.0L;
    if (n >= 1) powers[1] = x;
    for (int j = 2; j <= n; ++j) powers[j] = roundReal48(powers[j - 1] * x);
}

// log Γ(x) for x >= 1. The reentrant form: std::lgamma writes the global
// signgam, and candidates are scored on several threads at once.
long double logGamma(long double x) {
    int sign = 0;
    return lgammal_r(x, &sign);
}

// exponent * log(p), with a factor of exponent 0 left out even for p = 0.
long double logPower(std::int32_t exponent, long double p) { return exponent == 0 ? 0.0L : exponent * std::log(p); }

// The heavy-atom counts k whose term C(n, k) |p1|^(n-k) |p2|^k exceeds half
// of minAbundance, a run since the terms are unimodal in k; first > last when
// there are none. The terms are walked outward from the mode by the ratio of
// neighbours, so they neither overflow nor underflow on the way.
struct TermRun {
    std::int32_t first = 1;
    std::int32_t last = 0;
    long double firstTerm = 0.0L;
};

TermRun termRun(std::int32_t n, long double p1, long double p2) {
    const long double floor = minAbundance / 2;
    TermRun run;
    if (p1 + p2 <= 0.0L) return run;
    const auto mode = static_cast<std::int32_t>(
        std::clamp(std::floor((n + 1.0L) * p2 / (p1 + p2)), 0.0L, static_cast<long double>(n)));
    const long double modeTerm = std::exp(logGamma(n + 1.0L) - logGamma(mode + 1.0L) - logGamma(n - mode + 1.0L) +
                                          logPower(n - mode, p1) + logPower(mode, p2));
    if (!(modeTerm > floor)) return run;
    run.first = run.last = mode;
    run.firstTerm = modeTerm;
    for (long double term = modeTerm; run.first > 0;) {
        const std::int32_t k = run.first;
        term = term * k / (n - k + 1) * p1 / p2;
        if (!(term > floor)) break;
        run.first = k - 1;
        run.firstTerm = term;
    }
    for (long double term = modeTerm; run.last < n;) {
        const std::int32_t k = run.last;
        term = term * (n - k) / (k + 1) * p2 / p1;
        if (!(term > floor)) break;
        run.last = k + 1;
    }
    return run;
}

// Appends a peak of the run; false once a mass is 0.0, which ends a peak
// list, so nothing after it is kept.
bool appendPeak(std::vector<WorkPeak>& out, long double mass, long double probability) {
    if (mass == 0.0L) return false;
    out.push_back({mass, probability});
    return true;
}

// The fixed arithmetic for n <= 255. Terms outside the run cannot pass the
// minAbundance test: the Real48 rounding of the powers moves a term by less
// than 1e-9 of itself. A term whose power underflows to 0.0 would vanish with
// every term beyond it, so such terms are continued from their nearest
// neighbour that the fixed arithmetic gives, by the ratio of neighbours.
void byteCountPattern(std::vector<WorkPeak>& out, std::int32_t n, long double m1, long double p1, long double m2,
                      long double p2) {
    const TermRun run = termRun(n, std::fabs(p1), std::fabs(p2));
    // Only the powers the run uses, except that a power of a value above 1
    // may leave the Real48 range, and the full loop would raise that.
    PowerTable powers1, powers2;
    fillPowers(powers1, std::fabs(p1) > 1 ? n : n - run.first, p1);
    fillPowers(powers2, std::fabs(p2) > 1 ? n : run.last, p2);
    // The masses are linear in k, so a mass beyond the Real48 range that
    // the full loop would meet shows at one of its ends.
    roundReal48(m1 * n);
    roundReal48(m2 * n);
    if (run.first > run.last) return;
    auto underflows = [&](std::int32_t k) {
        return (p1 != 0.0L && powers1[n - k] == 0.0L) || (p2 != 0.0L && powers2[k] == 0.0L);
    };
    // The good terms form one run [good, goodLast]: the powers fall with the
    // exponent, which falls towards the run's middle from either end.
    std::int32_t good = run.first;
    while (good <= run.last && underflows(good)) ++good;
    std::int32_t goodLast = good > run.last ? good - 1 : run.last;
    while (goodLast > good && underflows(goodLast)) --goodLast;
    std::array<long double, largestByteCount + 1> terms;
    if (good <= goodLast) {
        for (std::int32_t k = good; k <= goodLast; ++k) terms[k] = binomial(n, n - k) * (powers1[n - k] * powers2[k]);
    } else {
        good = goodLast = run.first;
        const bool negative = (p1 < 0 && (n - good) % 2 == 1) != (p2 < 0 && good % 2 == 1);
        terms[good] = negative ? -run.firstTerm : run.firstTerm;
    }
    for (std::int32_t k = good; k > run.first; --k) terms[k - 1] = terms[k] * k / (n - k + 1) * p1 / p2;
    for (std::int32_t k = goodLast; k < run.last; ++k) terms[k + 1] = terms[k] * (n - k) / (k + 1) * p2 / p1;
    for (std::int32_t k = run.first; k <= run.last; ++k) {
        const long double probability = terms[k];
        if (probability > minAbundance && !appendPeak(out, roundReal48(m1 * (n - k) + m2 * k), probability)) return;
    }
}

}  // namespace

long double factorial(int n) { return factorials()[static_cast<std::size_t>(std::max(n, 0))]; }

long double binomial(int a, int b) { return (factorial(a) / factorial(b)) / factorial(a - b); }

long double powerReal48(int n, long double x) {
    PowerTable powers;
    fillPowers(powers, n, x);
    return powers[static_cast<std::size_t>(n)];
}

void twoIsotopePattern(std::vector<WorkPeak>& out, std::int32_t n, const ElementRecord& element) {
    out.clear();
    if (n < 1 || n > largestByteCount) return;
    const Isotope& first = element.isotope(1);
    const Isotope& second = element.isotope(2);
    const long double m1 = loadReal48(first.mass), p1 = loadReal48(first.abundance);
    const long double m2 = loadReal48(second.mass), p2 = loadReal48(second.abundance);
    byteCountPattern(out, n, m1, p1, m2, p2);
}

void polyIsotopePattern(std::vector<WorkPeak>& out, PeakTree& tree, std::int32_t n, const ElementRecord& element) {
    out.clear();
    tree.freePeakTree();
    if (n < 1) return;
    const int s = element.usableIsotopeCount();
    std::array<WorkPeak, 10> isotopes;
    for (int j = 1; j <= s; ++j)
        isotopes[j - 1] = {loadReal48(element.isotope(j).mass), loadReal48(element.isotope(j).abundance)};
    if (n == 1) {
        for (int j = 0; j < s; ++j) tree.addPeak(isotopes[j].mass, isotopes[j].abundance);
        tree.readOutAndFree(out);
        return;
    }
    // The first pass starts from the unpruned isotope list.
    out.assign(isotopes.begin(), isotopes.begin() + s);
    for (std::int32_t pass = 1; pass < n && !out.empty(); ++pass) {  // nothing comes of an empty list
        for (int i = 0; i < s; ++i)
            for (auto a = out.rbegin(); a != out.rend(); ++a)
                tree.addPeak(roundReal48(isotopes[i].mass + a->mass), roundReal48(isotopes[i].abundance * a->abundance));
        tree.readOutAndFree(out);
    }
}

}  // namespace isoquill
