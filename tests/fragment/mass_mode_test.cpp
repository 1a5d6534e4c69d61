// The high-resolution search: monoisotopic masses against hand values from
// the shipped data, the ppm window's exact edges, and the precision Real48
// keeps for sub-ppm windows.
#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

#include "compare/peak_values.h"
#include "core_fixture.h"
#include "fragment/scoring.h"
#include "plain_enumeration.h"

namespace isoquill {
namespace {

using namespace testing;

// A run as Generate sets it up, in the given mode, unit and charge.
FragmentState preparedIn(MassMode mode, ToleranceUnit unit, int charge, const Formula& formula, const Ranges& ranges,
                         long double target, long double tolerance) {
    FragmentState state = prepared(formula, ranges, target, tolerance);
    std::tie(state.massMode, state.toleranceUnit, state.ionCharge) = std::tuple(mode, unit, charge);
    applyMassMode(state, formula, shippedElements());
    initCountMasses(state, formula);
    return state;
}

const ElementRecord& element(int number) { return shippedElements()[static_cast<std::size_t>(number)]; }

// Iron's most abundant isotope is not its lightest; of equally abundant
// isotopes the lighter counts. Hand values are sums of the shipped isotope
// masses; as an ion of charge +1 or -1 one electron mass less or more; the
// mean masses lie elsewhere. Real48 keeps 40 bits, about 12 significant
// digits: near 10^5 u the rounded count and running masses still come within
// 5e-6 u (0.05 ppm) of the exact sum, which is enough for sub-ppm windows.
TEST(MassMode, MonoisotopicMassesMatchHandValues) {
    EXPECT_EQ(monoisotopicMass(element(26)), storeReal48(55.9349421L)) << "Fe";
    EXPECT_EQ(monoisotopicMass(elementWith("Xx", 99, {{10, 0.5L}, {11, 0.5L}})), storeReal48(10)) << "tie";
    struct Case { const char* formula; Ranges ranges; long double mass; };
    const Case cases[] = {{"C6H12O6", {{6, 6}, {12, 12}, {6, 6}}, 180.06339L},
                          {"C8H10N4O2", {{8, 8}, {10, 10}, {4, 4}, {2, 2}}, 194.08038L},
                          {"CCl4", {{1, 1}, {4, 4}}, 151.87541L},
                          {"UPbBi", {{200, 200}, {200, 200}, {51, 51}}, 99863.483253L}};
    for (const Case& c : cases) {
        const Formula formula = parsed(c.formula);
        for (int charge : {0, 1, -1}) {
            const long double ion = c.mass - charge * 0.000548579909L;
            FragmentState state =
                preparedIn(MassMode::monoisotopic, ToleranceUnit::u, charge, formula, c.ranges, ion, 1e-4L);
            const std::vector<PlainCandidate> found = enumerated(state, formula);
            ASSERT_EQ(found.size(), 1u) << c.formula << " charge " << charge;
            EXPECT_NEAR(loadReal48(found[0].mass), ion, 5e-6L) << c.formula << " charge " << charge;
        }
        FragmentState average = preparedIn(MassMode::average, ToleranceUnit::u, 0, formula, c.ranges, c.mass, 1e-4L);
        EXPECT_TRUE(enumerated(average, formula).empty()) << c.formula;
    }
}

// "Never as 0": Generate refuses, keeps nothing and names each symbol once
// that may occur without isotope data; at 0..0, or after a count of 0 ends
// the enumerated rows, a symbol needs no mass. Of sixteen entries the
// fifteen rows that exist take their masses.
TEST(MassMode, ElementsWithoutIsotopeDataAreNamedNotCountedAsZero) {
    CompareState compare = observing();
    compare.formula = parsed("CTcXxTcQ");
    FragmentState run = prepared(compare.formula, {{0, 2}, {0, 1}, {1, 1}, {0, 3}, {1, 2}}, 100, 100);
    run.massMode = MassMode::monoisotopic;
    GenerateResult result;
    try {
        generateCandidates(run, compare, shippedElements(), result);
        ADD_FAILURE() << "no error";
    } catch (const NoMonoisotopicMassError& error) {
        EXPECT_EQ(std::pair(std::string(error.what()), error.symbols().size()),
                  std::pair(std::string("Keine Isotopendaten für Tc Xx Q"), std::size_t{3}));
    }
    EXPECT_TRUE(run.previousList.empty() && run.candidateList.empty() && result.table.rows.empty());
    for (int row : {2, 3, 4, 5}) setRangeCounts(run, row, 0, 0);
    applyMassMode(run, compare.formula, shippedElements());
    EXPECT_EQ(run.rangeTable[0].mass, storeReal48(12));
    EXPECT_NO_THROW(
        preparedIn(MassMode::monoisotopic, ToleranceUnit::u, 0, parsed("CO0Tc"), {{0, 1}, {0, 1}, {0, 1}}, 9, 1));
    const Formula sixteen = parsed("CHNOSPFClBrINaKCaMgFeZn");
    const FragmentState all =
        preparedIn(MassMode::monoisotopic, ToleranceUnit::u, 0, sixteen, Ranges(15, {1, 1}), 2000, 2000);
    EXPECT_EQ(all.rangeTable[14].mass, monoisotopicMass(element(26))) << "Fe";
}

// Carbon weighs exactly 12, 200,000 ppm of 60 u are exactly 12 u, so 4 C
// lie on the lower edge (kept) and 6 C on the upper one (never built). Random
// ppm windows and charges go through the enumeration's random test.
TEST(MassMode, PpmWindowEdges) {
    const Formula carbon = parsed("C");
    FragmentState edges = preparedIn(MassMode::monoisotopic, ToleranceUnit::ppm, 0, carbon, {{0, 10}}, 60, 200'000);
    EXPECT_EQ(enumerated(edges, carbon), (std::vector<PlainCandidate>{{"4", storeReal48(48)}, {"5", storeReal48(60)}}));
}

// A target of 0 has no ppm deviation; the exact values of others are the
// candidate table's ppm column.
TEST(MassMode, DeviationInPpmFromTargetZero) {
    EXPECT_EQ(deviationPpm({{}, storeReal48(12), {}}, storeReal48(0)), 0);
}

}  // namespace
}  // namespace isoquill
