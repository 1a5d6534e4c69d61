#include "isotope/unit_steps.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "compare/compare_chain.h"
#include "core_fixture.h"
#include "exact_steps.h"
#include "isotope/peak_group.h"

namespace isoquill {
namespace {

using testing::elementWith;

TEST(LargeMolecules, EveryVisibleStepMatchesTheExactReference) {
    const ElementTable& table = testing::shippedElements();
    Simulation simulation;
    for (const char* text : {"O300", "O897", "S1000", "S10000", "Sn300", "Fe300", "C2934H4615N781O897S39",
                             "C1000H2000O500", "Br1000", "C10000H20000", "Hg3000", "C50000H80000N13000O15000S400",
                             "C1000F300", "F300I300", "Y477"}) {
        SCOPED_TRACE(text);
        const Formula formula = testing::parsed(text);
        simulatePeakGroup(simulation, formula, table, {});
        const PeakList& peaks = simulation.simPeaks;
        const testing::ExactSteps exact = testing::exactGroup(formula, table);
        EXPECT_TRUE(peaks.unitSteps);
        // Peak i is the step whose exact weighted mean lies within 0.001 u;
        // the steps follow one another, and none of at least 0.01 is missing.
        std::size_t slot = 0;
        for (int i = 1; i <= peaks.count(); ++i, ++slot) {
            const long double mass = loadReal48(peaks[i].mass);
            for (; slot < exact.p.size() && (exact.p[slot] == 0.0L || exact.mass(slot) < mass - 0.001L); ++slot)
                EXPECT_LT(exact.percent(slot), 0.0100001L) << "missing step " << slot;
            ASSERT_LT(slot, exact.p.size()) << i;
            ASSERT_NEAR(exact.mass(slot), mass, 0.001L) << i;
            EXPECT_NEAR(peaks[i].abundance, exact.percent(slot), 0.02L) << i;
        }
        for (; slot < exact.p.size(); ++slot) EXPECT_LT(exact.percent(slot), 0.0100001L) << "missing step " << slot;
    }
}

// An edited data file may list the heavier isotope first.
TEST(LargeMolecules, TakeTwoIsotopesInEitherOrder) {
    const ElementTable table = testing::tableWith(
        {elementWith(" X", 1, {{81.0L, 0.49L}, {79.0L, 0.51L}}), elementWith(" Y", 2, {{79.0L, 0.51L}, {81.0L, 0.49L}})});
    Simulation x, y;
    simulatePeakGroup(x, testing::parsed("X300", table), table, {});
    simulatePeakGroup(y, testing::parsed("Y300", table), table, {});
    EXPECT_GT(y.simPeaks.count(), 10);
    EXPECT_TRUE(testing::samePeaks(x.simPeaks, y.simPeaks));
}

TEST(LargeMolecules, TheComparisonGivesEveryStepItsOwnRow) {
    // Hg3000's step masses drift from the first peak's whole steps by up to
    // 0.78 u, so rounding the distance to the first peak would skip rows.
    CompareState state;
    ASSERT_TRUE(runComparisonChain(state, testing::shippedElements(), "Hg3000"));
    const PeakList& peaks = state.simulation.simPeaks;
    const testing::ExactSteps exact = testing::exactGroup(state.formula, testing::shippedElements());
    std::size_t firstStep = 0;
    while (std::fabs(exact.mass(firstStep) - loadReal48(peaks[1].mass)) > 0.001L) ++firstStep;
    int filled = 0;
    for (int row = 1; row <= state.comparison.rowCount; ++row) {
        const Peak& peak = state.comparison.alignedSimulated[static_cast<std::size_t>(row)];
        if (peak.mass.isZero()) continue;
        ++filled;
        EXPECT_NEAR(exact.mass(firstStep + static_cast<std::size_t>(row) - 1), loadReal48(peak.mass), 0.001L) << row;
    }
    EXPECT_EQ(filled, peaks.count());
}

TEST(LargeMolecules, EmptyEntriesAndGroupsAndHugeCountsAreRefusedWithAMessage) {
    // Every isotope at or below 0.0001, or products of two entries that are.
    const ElementTable table = testing::tableWith(
        {elementWith(" X", 1, {{10.0L, 0.00005L}, {11.0L, 0.00005L}, {12.0L, 0.00005L}}),
         elementWith(" Y", 2, {{20.0L, 0.005L}, {21.0L, 0.005L}}), testing::exampleCarbon(),
         elementWith(" Z", 3, {{10.0L, 0.5L}, {10.0L, 0.5L}}), elementWith(" V", 4, {{1.0L, 0.5L}, {1000001.0L, 1e-30L}}),
         elementWith(" U", 5, {{1.0L, 0.5L}, {1000002.0L, 1e-30L}})});
    Simulation simulation;
    const auto message = [&](std::string_view text, const ElementTable& elements) {
        try {
            simulatePeakGroup(simulation, testing::parsed(text, elements), elements, {});
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(simulation.peakTree.liveNodeCount(), 0);
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("C2X", table), "Die Simulation ergibt für X keine Peaks");
    EXPECT_EQ(message("YY", table), "Die Simulation ergibt keine Peaks");
    EXPECT_EQ(message("Y", table), "no error");
    EXPECT_EQ(message("C0", table), "no error");  // a count of 0 adds nothing by design
    EXPECT_EQ(message("Z300", table), "no error");  // damaged data: two isotopes of one mass, no step between
    EXPECT_EQ(message("V300", table), "no error");  // isotopes 10^6 u apart, the most a step may span
    EXPECT_EQ(message("U300", table), "Die Formel ist zu groß für die Simulation");
    EXPECT_EQ(message("S5000000", testing::shippedElements()), "Die Formel ist zu groß für die Simulation");
    EXPECT_EQ(message("C1000H2000", testing::shippedElements()), "no error");
}

}  // namespace
}  // namespace isoquill
