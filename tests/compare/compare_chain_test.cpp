#include "compare/compare_chain.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core_fixture.h"
#include "peak_values.h"

namespace isoquill {
namespace {

using namespace testing;

std::optional<long double> run(CompareState& state, std::string_view text,
                               const ElementTable& elements = shippedElements()) {
    return runComparisonChain(state, elements, text);
}

// What every reader of simPeaks relies on: ascending masses with no zero
// inside, abundances finite and at most the base peak's 100 (up to the
// rounding of the base peak to Real48).
void expectSoundGroup(const PeakList& peaks) {
    for (int i = 1; i <= peaks.count(); ++i) {
        EXPECT_GT(loadReal48(peaks[i].mass), i > 1 ? loadReal48(peaks[i - 1].mass) : 0.0L) << "peak " << i;
        EXPECT_TRUE(std::isfinite(peaks[i].abundance) && peaks[i].abundance <= 100.000001L) << "peak " << i;
    }
}

// For formulas that may ask more work than one simulation is allowed: the
// chain either finishes with a sound group or refuses the formula as too
// large. Any other error fails the test, and a hang never returns.
void expectFinishedOrTooLarge(CompareState& state, const ElementTable& elements, std::string_view text) {
    try {
        if (run(state, text, elements)) expectSoundGroup(state.simulation.simPeaks);
    } catch (const SimulationTooLargeError&) {
    }
}

// Nonsense data: xenon with ten isotopes 0.3 u apart, so none merge, each of `abundance`.
ElementTable withNonsenseXenon(long double abundance) {
    ElementTable elements = shippedElements();
    ElementRecord& xenon = elements[54];
    xenon.isotopeCount = 10;
    for (std::size_t j = 1; j <= 10; ++j) {
        Isotope& isotope = j == 10 ? xenon.lastIsotope : xenon.slots[j - 1].isotope;
        isotope = {storeReal48(100.0L + 0.3L * j), storeReal48(abundance)};
    }
    return elements;
}

// A refused text keeps the earlier results. Long texts are compared on their
// first sixty characters: glucose over and over, where every cut is a valid
// formula and a 61st character would turn the closing H1 into H12.
TEST(RunComparisonChain, EveryRunRecomputesFromTheTextAndARefusedTextKeepsTheResults) {
    CompareState state = observing();
    std::vector<std::string> notices;
    state.showMissingData = [&notices](const Symbol& symbol) { notices.emplace_back(symbol.text()); };
    const auto first = run(state, "C6H12O6");
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, squaredErrorSum(state.comparison));
    EXPECT_NEAR(loadReal48(state.formula.formulaMass), 180.156L, 0.001L);
    EXPECT_EQ(state.comparison.rowCount, 4);
    EXPECT_NEAR(loadReal48(state.comparison.alignedSimulated[1].mass), 180.0634L, 1e-4L);
    const PeakList simPeaks = state.simulation.simPeaks;
    EXPECT_FALSE(run(state, "C6h12"));
    EXPECT_EQ(state.formula.formulaText, "C6h12");
    EXPECT_EQ(state.formula.formulaTable[0].count, -1);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
    EXPECT_EQ(squaredErrorSum(state.comparison), *first);
    ASSERT_TRUE(run(state, "XxSnCl4"));
    EXPECT_EQ(notices, std::vector<std::string>{"Xx"});

    std::string text;
    while (text.size() < 10000) text += "C6H12O6";
    text.resize(10000);
    CompareState alone = observing();
    ASSERT_EQ(run(state, text), run(alone, text.substr(0, 60)));
    EXPECT_EQ(state.formula.formulaText, text.substr(0, 60));
    EXPECT_EQ(formulaEntryTotal(state.formula), 26);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, alone.simulation.simPeaks));
    EXPECT_EQ(run(state, "C6H12O6"), first);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
}

TEST(RunComparisonChain, ExtremeCountsGiveDefinedResults) {
    const ElementTable& elements = shippedElements();
    CompareState state;
    // A token keeps 10 characters, so a count typed after a symbol keeps 9
    // digits. Fluorine has one isotope: one peak, the element's mass times
    // the count, which against no observed peak gives an error of 100 squared.
    const Real48 fluorineMass = storeReal48(loadReal48(elements[9].mass) * 214748364);
    EXPECT_EQ(run(state, "F2147483647"), 10000.0L);
    EXPECT_EQ(std::tuple(state.formula.formulaTable[0].count, state.formula.formulaMass, state.comparison.rowCount),
              std::tuple(214748364, fluorineMass, 1));
    ASSERT_EQ(state.simulation.simPeaks.count(), 1);
    EXPECT_EQ(state.simulation.simPeaks[1].mass, fluorineMass);
    EXPECT_EQ(state.simulation.simPeaks[1].abundance, 100.0L);
    // Two isotopes and the largest count: the closed form gives every one of
    // the group's visible steps, more than the comparison takes.
    EXPECT_THROW(run(state, "C2147483647"), ComparisonTooWideError);
    EXPECT_EQ(state.formula.formulaMass, storeReal48(loadReal48(elements[6].mass) * 214748364));
    EXPECT_GT(state.simulation.simPeaks.count(), maxComparisonRows);
    expectSoundGroup(state.simulation.simPeaks);
    EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0);
    expectFinishedOrTooLarge(state, elements, "O2147483647");
    // All ten digits reach the table only as a token without a symbol, which
    // ends the formula before it; so do ten digits beyond 32 bits. Counts of
    // 0 simulate nothing, whatever the number of isotopes.
    ASSERT_TRUE(run(state, "x2147483647"));
    EXPECT_EQ(state.formula.formulaTable[0].count, 2147483647);
    for (const char* text : {"x2147483647", "x9999999999", "C0H0", "C0", "F0", "O0"}) {
        EXPECT_EQ(run(state, text), 0.0L) << text;
        EXPECT_TRUE(state.formula.formulaMass.isZero() && state.simulation.simPeaks.empty()) << text;
        EXPECT_EQ(state.comparison.rowCount, 0) << text;
        EXPECT_EQ(state.formula.formulaTable[0].symbol.empty(), text[0] == 'x') << text;
    }
}

// Fuzz findings: two carbon entries of 327777777 atoms, thousands of peaks
// each, whose combination once ran for minutes (the observed peaks, a mass
// typed twice, play no part in it); and a damaged data file that gave neon
// abundances adding up to a little over 1, so the per-atom passes of a count
// in the thousands never pruned their list empty; so do ten xenon isotopes
// that never merge.
TEST(RunComparisonChain, NonsenseIsotopeDataAndHugeCountsNeverHang) {
    ElementTable elements = withNonsenseXenon(0.1001L);
    elements[10].slots[2].isotope.abundance = storeReal48(0.0954297L);
    CompareState state = observing(observedOf({{200, 100}, {200, 50}}));
    for (const char* text : {"C327777777C327777777H12", "Ne18582", "Xe5", "Xe5000"})
        expectFinishedOrTooLarge(state, elements, text);
}

// Many runs through one state, as a long session makes them, some of them
// ended by an error (xenon at 1e30 leaves the Real48 range in two atoms):
// every run leaves the merge tree without a node, and every one that
// simulated gives exactly what a fresh state gives.
TEST(RunComparisonChain, RepeatedRunsReleaseTheTreeAndRecoverFromErrors) {
    const ElementTable elements = withNonsenseXenon(1e30L);
    const std::vector<std::string> formulas = {"C6H12O6", "SnCl4", "C2934H4615N781O897S39", "Br2Hg", "C6h",
                                               "XxC6", "F9C12H5", "C100000H200000"};
    CompareState state = observing();
    for (int i = 0; i < 200; ++i) {
        const std::string& text = formulas[static_cast<std::size_t>(i) % formulas.size()];
        if (i % 10 == 3) {
            EXPECT_THROW(run(state, "Xe2", elements), FloatOverflowError);
        } else if (i % 100 == 57) {  // slow, so only now and then
            EXPECT_THROW(run(state, "Sn1000000", elements), SimulationTooLargeError);
        } else {
            CompareState fresh = observing();
            const auto error = run(state, text, elements);
            ASSERT_EQ(error, run(fresh, text, elements)) << text << " in run " << i;
            // A text the syntax check refuses simulates nothing.
            EXPECT_TRUE(!error || samePeaks(state.simulation.simPeaks, fresh.simulation.simPeaks)) << text;
        }
        EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0) << "run " << i;
    }
}

}  // namespace
}  // namespace isoquill
