// The high-resolution search: monoisotopic masses against hand values from
// the shipped data, the ppm window and the ion charge against the plain
// enumeration, and the precision Real48 keeps for sub-ppm windows.
#include <cmath>
#include <cstdio>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "compare/peak_values.h"
#include "core_fixture.h"
#include "fragment/mass_mode.h"
#include "fragment/scoring.h"
#include "plain_enumeration.h"

namespace isoquill {
namespace {

using namespace testing;

struct Settings {
    MassMode mode = MassMode::average;
    ToleranceUnit unit = ToleranceUnit::u;
    int charge = 0;
};

// A run as Generate sets it up, in the given settings.
FragmentState preparedIn(const Settings& settings, const Formula& formula, const Ranges& ranges, long double target,
                         long double tolerance) {
    FragmentState state = prepared(formula, ranges, target, tolerance);
    state.massMode = settings.mode;
    state.toleranceUnit = settings.unit;
    state.ionCharge = settings.charge;
    applyMassMode(state, formula, shippedElements());
    initCountMasses(state, formula);
    return state;
}

std::vector<PlainCandidate> enumerated(FragmentState& state, const Formula& formula) {
    buildCandidates(state, formula);
    filterByTolerance(state);
    std::vector<PlainCandidate> result;
    for (const Candidate& c : state.candidateList) result.push_back({countCode(c, state.codeFields), c.mass});
    return result;
}

const ElementRecord& element(int number) { return shippedElements()[static_cast<std::size_t>(number)]; }

// Iron's most abundant isotope is not its lightest; fluorine has one isotope;
// technetium none. Of equally abundant isotopes the lighter counts.
TEST(MassMode, MonoisotopicMassIsTheMostAbundantIsotopes) {
    EXPECT_EQ(monoisotopicMass(element(26)), storeReal48(55.9349421L)) << "Fe";
    EXPECT_EQ(monoisotopicMass(element(9)), element(9).isotope(1).mass) << "F";
    EXPECT_EQ(monoisotopicMass(element(6)), storeReal48(12)) << "C";
    EXPECT_EQ(monoisotopicMass(element(43)), std::nullopt) << "Tc";
    EXPECT_EQ(monoisotopicMass(element(0)), std::nullopt) << "no element";
    EXPECT_EQ(monoisotopicMass(elementWith("Xx", 99, {{10, 0.5L}, {11, 0.5L}})), storeReal48(10)) << "tie";
    ElementRecord broken = element(6);
    broken.isotopeCount = 11;
    EXPECT_EQ(monoisotopicMass(broken), std::nullopt) << "more isotopes than slots";
}

// Hand values: sums of the shipped isotope masses, to 5 decimals. The one
// candidate of each formula has that mass, and as a singly charged ion
// (+1) or anion (-1) one electron mass less or more.
TEST(MassMode, MonoisotopicCandidatesHaveTheHandMasses) {
    struct Case { const char* formula; Ranges ranges; long double mass; };
    const Case cases[] = {{"C6H12O6", {{6, 6}, {12, 12}, {6, 6}}, 180.06339L},
                          {"C8H10N4O2", {{8, 8}, {10, 10}, {4, 4}, {2, 2}}, 194.08038L},
                          {"CCl4", {{1, 1}, {4, 4}}, 151.87541L}};
    for (const Case& c : cases) {
        const Formula formula = parsed(c.formula);
        for (int charge : {0, 1, -1}) {
            const long double ion = c.mass - charge * 0.000548579909L;
            FragmentState state = preparedIn({MassMode::monoisotopic, ToleranceUnit::u, charge}, formula, c.ranges,
                                             ion, 0.0001L);
            const std::vector<PlainCandidate> found = enumerated(state, formula);
            ASSERT_EQ(found.size(), 1u) << c.formula << " charge " << charge;
            EXPECT_NEAR(loadReal48(found[0].mass), ion, 0.000005L) << c.formula << " charge " << charge;
        }
        FragmentState average = preparedIn({}, formula, c.ranges, c.mass, 0.0001L);
        EXPECT_TRUE(enumerated(average, formula).empty()) << c.formula << ": the mean masses lie elsewhere";
    }
}

// "Never as 0": a symbol without isotope data that may occur stops the run,
// named once; at 0..0 it needs no mass; average mode counts its mean mass.
TEST(MassMode, ElementsWithoutIsotopeDataAreNamedNotCountedAsZero) {
    const Formula formula = parsed("CTcXxTc");
    FragmentState state = prepared(formula, {{0, 2}, {0, 1}, {1, 1}, {0, 3}}, 100, 1);
    const auto averageRows = state.rangeTable;
    state.massMode = MassMode::monoisotopic;
    try {
        applyMassMode(state, formula, shippedElements());
        ADD_FAILURE() << "no error";
    } catch (const NoMonoisotopicMassError& error) {
        std::vector<std::string_view> names;
        for (const Symbol& symbol : error.symbols()) names.push_back(symbol.text());
        EXPECT_EQ(names, (std::vector<std::string_view>{"Tc", "Xx"}));
        EXPECT_STREQ(error.what(), "Keine Isotopendaten für Tc Xx");
    }
    for (int r = 0; r < 4; ++r) EXPECT_EQ(state.rangeTable[r].mass, averageRows[r].mass) << "row " << r + 1;

    setRangeCounts(state, 2, 0, 0);
    setRangeCounts(state, 3, 2, 1);
    setRangeCounts(state, 4, 0, 0);
    applyMassMode(state, formula, shippedElements());
    EXPECT_EQ(state.rangeTable[0].mass, storeReal48(12)) << "C";
    EXPECT_EQ(state.rangeTable[1].mass, element(43).mass) << "Tc at 0..0 keeps its row";

    // Back in average mode the rows take the mean masses again.
    state.massMode = MassMode::average;
    applyMassMode(state, formula, shippedElements());
    EXPECT_EQ(state.rangeTable[0].mass, element(6).mass) << "C";

    // Generate itself refuses with nothing kept.
    CompareState compare = observing();
    compare.formula = parsed("CTc");
    FragmentState run = prepared(compare.formula, {{0, 2}, {0, 1}}, 100, 100);
    run.massMode = MassMode::monoisotopic;
    GenerateResult result;
    EXPECT_THROW(generateCandidates(run, compare, shippedElements(), result), NoMonoisotopicMassError);
    EXPECT_TRUE(run.previousList.empty() && run.candidateList.empty() && result.table.rows.empty());
}

// Carbon's monoisotopic mass is exactly 12, so 200,000 ppm of 60 u is
// exactly 12 u: four carbons lie on the lower edge (kept), six on the upper
// one (never built). The converted tolerance is target x ppm / 10^6.
TEST(MassMode, PpmWindowEdgesLieExactlyAtTheTolerance) {
    const Formula carbon = parsed("C");
    FragmentState state = preparedIn({MassMode::monoisotopic, ToleranceUnit::ppm}, carbon, {{0, 10}}, 60, 200'000);
    EXPECT_EQ(searchWindow(state).tolerance, 12.0L);
    std::vector<std::string> codes;
    for (const PlainCandidate& c : enumerated(state, carbon)) codes.push_back(c.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"4", "5"}));

    state.targetMass = storeReal48(180.0634L);
    state.massTolerance = storeReal48(5);
    EXPECT_EQ(searchWindow(state).tolerance, roundReal48(loadReal48(storeReal48(180.0634L)) * 5 / 1'000'000));
    state.ionCharge = 1;
    EXPECT_EQ(searchWindow(state).startMass, roundReal48(-0.000548579909L));
    state.toleranceUnit = ToleranceUnit::u;
    state.ionCharge = 0;
    const SearchWindow laidOut = searchWindow(state);
    EXPECT_EQ(std::tuple(laidOut.startMass, laidOut.target, laidOut.tolerance),
              std::tuple(0.0L, loadReal48(state.targetMass), 5.0L));
}

// The search with ppm tolerances and charges against the plain enumeration on
// the same masses: same candidates, same order. Often the target is a
// candidate's mass and the ppm tolerance converts exactly to its distance to
// another, which puts candidates on both edges of the window.
TEST(MassMode, PpmWindowMatchesThePlainEnumerationOnRandomRanges) {
    const std::vector<std::string> symbols{"C", "H", "N", "O", "S", "P", "Cl", "Br", "F", "Si", "Na", "Fe"};
    std::mt19937 random(22);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    int exactEdges = 0;
    for (int run = 0; run < 300; ++run) {
        std::string text;
        Ranges ranges;
        const int elements = uniform(1, 5);
        for (int e = 0; e < elements; ++e) {
            text += symbols[uniform(0, int(symbols.size()) - 1)];
            const int von = uniform(0, 12);
            ranges.push_back({von, von + uniform(0, 15)});
        }
        const Formula formula = parsed(text);
        const Settings settings{uniform(0, 3) ? MassMode::monoisotopic : MassMode::average, ToleranceUnit::ppm,
                                uniform(-1, 1)};
        FragmentState state = preparedIn(settings, formula, ranges, 0, 0);
        long double heaviest = 0;
        for (int e = 0; e < elements; ++e) heaviest += loadReal48(state.countMasses[e][ranges[e].second]);
        state.targetMass = storeReal48(heaviest * uniform(1, 100) / 100);
        state.massTolerance = storeReal48(20'000);
        const std::vector<PlainCandidate> near = plainEnumeration(state, formula);
        state.massTolerance = storeReal48(uniform(0, 5000) / 100.0L);
        if (near.size() >= 2 && uniform(0, 2) > 0) {
            const long double m = loadReal48(near[uniform(0, int(near.size()) - 1)].mass);
            const long double distance = roundReal48(std::fabs(loadReal48(near[uniform(0, int(near.size()) - 1)].mass) - m));
            state.targetMass = storeReal48(m);
            state.massTolerance = storeReal48(distance / m * 1'000'000);
            if (searchWindow(state).tolerance == distance && distance > 0) ++exactEdges;
        }
        EXPECT_EQ(enumerated(state, formula), plainEnumeration(state, formula))
            << text << " run " << run << " charge " << settings.charge;
    }
    EXPECT_GT(exactEdges, 20);
}

// Real48 keeps 40 bits, about 12 significant digits. Near 10^5 u the search
// rounds every count mass and running mass, yet each candidate stays within
// 10^-6 u (0.01 ppm) of the exact sum of its isotope masses, so a window of
// 0.1 ppm holds exactly the formulas it should.
TEST(MassMode, Real48KeepsSubPpmWindowsUpTo100000U) {
    const Formula formula = parsed("UPbBi");
    const long double u = loadReal48(element(92).isotope(3).mass), pb = loadReal48(element(82).isotope(4).mass),
                      bi = loadReal48(element(83).isotope(1).mass);
    const long double exact = 200 * u + 200 * pb + 51 * bi;  // 99,863.5 u
    ASSERT_GT(exact, 99'000);
    FragmentState state = preparedIn({MassMode::monoisotopic, ToleranceUnit::ppm}, formula,
                                     {{190, 200}, {190, 200}, {40, 60}}, exact, 0.1L);
    const std::vector<PlainCandidate> found = enumerated(state, formula);
    ASSERT_FALSE(found.empty());
    bool expected = false;
    for (const PlainCandidate& c : found) {
        int nu = 0, npb = 0, nbi = 0;
        ASSERT_EQ(std::sscanf(c.code.c_str(), "%d.%d.%d", &nu, &npb, &nbi), 3);
        const long double sum = nu * u + npb * pb + nbi * bi;
        EXPECT_LT(std::fabs(loadReal48(c.mass) - sum), 1e-6L) << c.code;
        EXPECT_LE(std::fabs(sum - exact) / exact * 1e6L, 0.1L + 1e-8L) << c.code;
        expected = expected || c.code == "200.200.51";
    }
    EXPECT_TRUE(expected);
}

// The deviation the candidates window and the tool show beside u.
TEST(MassMode, DeviationInPpm) {
    struct Case { long double mass, target, ppm; };
    const Case cases[] = {{200.001L, 200, 5}, {179.9991L, 180, -5}, {180.0634L, 180.0634L, 0}, {12, 0, 0}};
    for (const Case& c : cases)
        EXPECT_NEAR(deviationPpm(storeReal48(c.mass), storeReal48(c.target)), c.ppm, 1e-5L)
            << c.mass << " against " << c.target;
}

// Entering the page takes the mean in average mode, the lightest peak in
// monoisotopic mode; nothing without observed peaks.
TEST(MassMode, ObservedTargetMass) {
    CompareState compare = observing(observedOf({{180, 100}, {181, 20}, {182, 5}}));
    runComparisonChain(compare, shippedElements(), "C6H12O6");
    EXPECT_EQ(observedTargetMass(MassMode::average, compare), compare.comparison.observedMeanMass);
    EXPECT_GT(loadReal48(compare.comparison.observedMeanMass), 180.2L);
    EXPECT_EQ(observedTargetMass(MassMode::monoisotopic, compare), storeReal48(180));
    const CompareState empty = observing(ObservedPeaks{});
    EXPECT_EQ(observedTargetMass(MassMode::monoisotopic, empty), Real48{});
}

}  // namespace
}  // namespace isoquill
