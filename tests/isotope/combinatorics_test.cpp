#include "isotope/combinatorics.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "core_fixture.h"
#include "exact_steps.h"

namespace isoquill::testing {

TEST(TwoIsotopePattern, MatchesTheExactTermsDownToTheFloorAlsoWherePowersUnderflow) {
    // The worked example's carbon (for 3 atoms the term of about 1.3e-6 is
    // dropped); Cl255 (0.2424^k underflows from k = 63, just past the mode),
    // Br250 and B255 underflow on either side of the mode; C and H never do;
    // of X255 only the term k = 131 has both powers within the range; V255
    // keeps the term of the heaviest end.
    const auto& shipped = shippedElements();
    const ElementRecord carbon = exampleCarbon(), x = elementWith(" X", 1, {{1.0L, 0.49L}, {2.0L, 0.51L}});
    for (const auto& [e, n] : {std::pair{&carbon, 1}, {&carbon, 2}, {&carbon, 3}, {&shipped[17], 255},
                               {&shipped[35], 250}, {&shipped[5], 255}, {&shipped[47], 255}, {&shipped[6], 255},
                               {&shipped[1], 255}, {&x, 255}, {&shipped[23], 255}}) {
        SCOPED_TRACE(::testing::Message() << e->symbol.text() << n);
        const long double m1 = loadReal48(e->isotope(1).mass), m2 = loadReal48(e->isotope(2).mass);
        std::vector<WorkPeak> peaks;
        twoIsotopePattern(peaks, n, *e);
        // The exact reference holds the terms at their steps in whole u.
        const ExactSteps steps = exactEntry(*e, n);
        const std::int64_t stride = std::llround(m2 - m1);
        std::size_t i = 0;  // the next peak
        for (int k = 0; k <= n; ++k) {
            const auto slot = static_cast<std::size_t>(k * stride - steps.first);
            const long double exact = slot < steps.p.size() ? steps.p[slot] : 0.0L;
            if (i == peaks.size() || peaks[i].mass != roundReal48(m1 * (n - k) + m2 * k)) {
                EXPECT_LE(exact, 1.0001e-4L) << "dropped " << k;
                continue;
            }
            EXPECT_GE(exact, 0.9999e-4L) << k;
            EXPECT_NEAR(peaks[i++].abundance / exact, 1.0L, 1e-8L) << k;
        }
        EXPECT_EQ(i, peaks.size());  // no peak off the terms' masses
    }
    // A mass beyond the Real48 range at the group's heavy end raises the
    // overflow error, though that end's abundance is far below the kept ones.
    const ElementRecord heavyEnd = elementWith(" X", 1, {{1.0L, 0.99999L}, {1e37L, 0.00001L}});
    std::vector<WorkPeak> many;
    EXPECT_THROW(twoIsotopePattern(many, 20, heavyEnd), FloatOverflowError);
}

// The passes without a tree: a new peak joins the earliest-made peak within
// the window (in a search tree that node is an ancestor of any other within
// the window, so every search path meets it first), else it is appended.
static std::vector<WorkPeak> plainPasses(const std::vector<WorkPeak>& isotopes, int n) {
    std::vector<WorkPeak> acc = isotopes;
    for (int pass = 1; pass < n; ++pass) {
        std::vector<WorkPeak> made;
        for (const WorkPeak& isotope : isotopes)
            for (auto a = acc.rbegin(); a != acc.rend(); ++a) {
                const WorkPeak peak{roundReal48(isotope.mass + a->mass), roundReal48(isotope.abundance * a->abundance)};
                auto near = std::find_if(made.begin(), made.end(), [&](const WorkPeak& m) {
                    return std::fabs(roundReal48(peak.mass - m.mass)) < mergeWindow;
                });
                if (near == made.end()) made.push_back(peak);
                else near->abundance += peak.abundance;
            }
        std::stable_sort(made.begin(), made.end(),
                         [](const WorkPeak& x, const WorkPeak& y) { return x.mass < y.mass; });
        std::erase_if(made, [](const WorkPeak& m) { return !(m.abundance > minAbundance); });
        acc = made;
    }
    return acc;
}

TEST(PolyIsotopePattern, PassesMatchAPlainListMergeWhereMassesCrowd) {
    // Isotopes 0.06 u apart: which node absorbs a peak depends on the order
    // of insertion, and the summed abundances show it.
    const ElementRecord crowded =
        elementWith(" X", 1, {{10.0L, 0.4L}, {10.06L, 0.35L}, {10.13L, 0.2L}, {11.0L, 0.05L}});
    std::vector<WorkPeak> isotopes;
    for (int j = 1; j <= 4; ++j)
        isotopes.push_back({loadReal48(crowded.isotope(j).mass), loadReal48(crowded.isotope(j).abundance)});
    const auto same = [](const auto& a, const auto& b) { return a.mass == b.mass && a.abundance == b.abundance; };
    for (int n = 2; n <= 7; ++n) {
        std::vector<WorkPeak> actual;
        PeakTree tree;
        polyIsotopePattern(actual, tree, n, crowded);
        const auto expected = plainPasses(isotopes, n);
        EXPECT_TRUE(std::equal(actual.begin(), actual.end(), expected.begin(), expected.end(), same)) << n;
    }
}

}  // namespace isoquill::testing
