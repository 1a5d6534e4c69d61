#include "compare/compare_chain.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core_fixture.h"

namespace isoquill {
namespace {

using testing::samePeaks;

std::optional<long double> run(CompareState& state, std::string_view text) {
    return runComparisonChain(state, testing::shippedElements(), text);
}

CompareState withObservedGlucose() {
    CompareState state;
    state.observed.observedPeaks[1] = {storeReal48(180.0L), 100.0L};
    state.observed.observedPeaks[2] = {storeReal48(181.0L), roundReal48(6.6L)};
    state.observed.observedPeaks[3] = {storeReal48(182.0L), roundReal48(1.2L)};
    state.observed.observedNext = 4;
    return state;
}

// What every reader of simPeaks relies on: ascending masses with no zero
// inside, abundances finite and at most the base peak's 100 (up to the
// rounding of the base peak to Real48).
void expectSoundGroup(const PeakList& peaks) {
    long double previous = 0.0L;
    for (const Peak& peak : peaks) {
        const long double mass = loadReal48(peak.mass);
        EXPECT_GT(mass, previous);
        EXPECT_TRUE(std::isfinite(peak.abundance));
        EXPECT_LE(peak.abundance, 100.000001L);
        previous = mass;
    }
}

// For formulas that may ask more work than one simulation is allowed: the
// chain either finishes with a sound group or refuses the formula as too
// large. Any other error fails the test, and a hang never returns.
void expectFinishedOrTooLarge(CompareState& state, const ElementTable& elementTable, std::string_view text) {
    try {
        if (runComparisonChain(state, elementTable, text)) expectSoundGroup(state.simulation.simPeaks);
    } catch (const SimulationTooLargeError& error) {
        EXPECT_STREQ(error.what(), "Die Formel ist zu groß für die Simulation");
    }
}

TEST(RunComparisonChain, EveryRunRecomputesFromTheText) {
    CompareState state = withObservedGlucose();
    std::vector<std::string> notices;
    state.showMissingData = [&notices](const Symbol& symbol) { notices.emplace_back(symbol.text()); };
    const auto first = run(state, "C6H12O6");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, squaredErrorSum(state.comparison));
    EXPECT_NEAR(loadReal48(state.formula.formulaMass), 180.156L, 0.001L);
    EXPECT_EQ(state.comparison.rowCount, 4);
    EXPECT_NEAR(loadReal48(state.comparison.alignedSimulated[1].mass), 180.0634L, 1e-4L);
    const PeakList firstPeaks = state.simulation.simPeaks;

    ASSERT_TRUE(run(state, "XxSnCl4"));
    EXPECT_EQ(notices, std::vector<std::string>{"Xx"});
    EXPECT_EQ(run(state, "C6H12O6"), first);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, firstPeaks));
}

TEST(RunComparisonChain, RefusedTextKeepsTheEarlierResults) {
    CompareState state = withObservedGlucose();
    ASSERT_TRUE(run(state, "C6H12O6"));
    const PeakList simPeaks = state.simulation.simPeaks;
    const std::vector<Peak> alignedSimulated = state.comparison.alignedSimulated;

    EXPECT_FALSE(run(state, "C6h12"));
    EXPECT_EQ(state.formula.formulaText, "C6h12");
    EXPECT_EQ(state.formula.formulaTable[0].count, -1);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
    ASSERT_EQ(state.comparison.alignedSimulated.size(), alignedSimulated.size());
    EXPECT_EQ(std::memcmp(state.comparison.alignedSimulated.data(), alignedSimulated.data(),
                          alignedSimulated.size() * sizeof(Peak)),
              0);
}

TEST(RunComparisonChain, ProteinKeepsItsFullAtomCounts) {
    // The group's abundance-weighted mean lies near the formula mass from the
    // mean atomic masses; the per-atom passes' pruning cuts a little off
    // oxygen's heavy tail, so the tolerance is loose, but counts taken as
    // 8 bits would miss by thousands of u.
    CompareState state;
    ASSERT_TRUE(run(state, "C2934H4615N781O897S39"));
    long double weight = 0.0L, moment = 0.0L;
    for (const Peak& peak : state.simulation.simPeaks) {
        weight += peak.abundance;
        moment += peak.abundance * loadReal48(peak.mass);
    }
    EXPECT_NEAR(moment / weight, loadReal48(state.formula.formulaMass), 0.5L);
    EXPECT_EQ(state.comparison.rowCount, state.simulation.simPeaks.count());
}

TEST(RunComparisonChain, LongTextsAreComparedOnTheirFirstSixtyCharacters) {
    // Glucose over and over: every cut is a valid formula, and a 61st
    // character would turn the closing H1 into H12.
    std::string text;
    while (text.size() < 10000) text += "C6H12O6";
    text.resize(10000);
    const std::string first60 = text.substr(0, 60);
    ASSERT_EQ(first60.substr(56), "C6H1");
    CompareState state = withObservedGlucose();
    const auto error = run(state, text);
    ASSERT_TRUE(error);
    EXPECT_EQ(state.formula.formulaText, first60);
    EXPECT_EQ(formulaEntryTotal(state.formula), 26);
    CompareState alone = withObservedGlucose();
    EXPECT_EQ(error, run(alone, first60));
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, alone.simulation.simPeaks));

    // 64 one-letter symbols: 60 entries, every one simulated, for the
    // lightest peak is 60 atoms of carbon 12, exactly 720.
    ASSERT_TRUE(run(state, std::string(64, 'C')));
    EXPECT_EQ(state.formula.formulaText, std::string(60, 'C'));
    EXPECT_EQ(formulaEntryTotal(state.formula), 60);
    ASSERT_GT(state.simulation.simPeaks.count(), 1);
    EXPECT_EQ(loadReal48(state.simulation.simPeaks[1].mass), 720.0L);
    EXPECT_EQ(state.simulation.simPeaks[1].abundance, 100.0L);
    expectSoundGroup(state.simulation.simPeaks);
}

TEST(RunComparisonChain, ExtremeCountsGiveDefinedResults) {
    const ElementTable& elements = testing::shippedElements();
    const long double fluorine = loadReal48(elements[9].mass);
    CompareState state;

    // A token keeps 10 characters, so a count typed after a symbol keeps 9
    // digits. Fluorine has one isotope: one peak, the element's mass times
    // the count, which against no observed peak gives an error of 100 squared.
    EXPECT_EQ(run(state, "F2147483647"), 10000.0L);
    EXPECT_EQ(state.formula.formulaTable[0].count, 214748364);
    ASSERT_EQ(state.simulation.simPeaks.count(), 1);
    EXPECT_EQ(state.simulation.simPeaks[1].mass, storeReal48(fluorine * 214748364));
    EXPECT_EQ(state.simulation.simPeaks[1].abundance, 100.0L);
    EXPECT_EQ(state.formula.formulaMass, storeReal48(fluorine * 214748364));
    EXPECT_EQ(state.comparison.rowCount, 1);

    // Two isotopes and the largest count: the closed form gives every one of
    // the group's visible steps, more than the comparison takes.
    EXPECT_THROW(run(state, "C2147483647"), ComparisonTooWideError);
    EXPECT_EQ(state.formula.formulaMass, storeReal48(loadReal48(elements[6].mass) * 214748364));
    EXPECT_GT(state.simulation.simPeaks.count(), maxComparisonRows);
    expectSoundGroup(state.simulation.simPeaks);
    EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0);
    expectFinishedOrTooLarge(state, elements, "O2147483647");

    // All ten digits reach the table only as a token without a symbol, which
    // ends the formula before it; so do ten digits beyond 32 bits.
    ASSERT_TRUE(run(state, "x2147483647"));
    EXPECT_EQ(state.formula.formulaTable[0].count, 2147483647);
    for (const char* text : {"x2147483647", "x9999999999"}) {
        EXPECT_EQ(run(state, text), 0.0L) << text;
        EXPECT_TRUE(state.formula.formulaTable[0].symbol.empty()) << text;
        EXPECT_TRUE(state.formula.formulaMass.isZero()) << text;
        EXPECT_TRUE(state.simulation.simPeaks.empty()) << text;
    }

    // Counts of 0 simulate nothing, whatever the number of isotopes; the
    // observed peak then stands alone.
    state.observed.observedPeaks[1] = {storeReal48(100.0L), 50.0L};
    state.observed.observedNext = 2;
    for (const char* text : {"C0H0", "C0", "F0", "O0"}) {
        EXPECT_EQ(run(state, text), 10000.0L) << text;
        EXPECT_TRUE(state.formula.formulaMass.isZero()) << text;
        EXPECT_TRUE(state.simulation.simPeaks.empty()) << text;
        EXPECT_EQ(state.comparison.rowCount, 1) << text;
    }
}

TEST(RunComparisonChain, TooLargeFormulasAreRefusedAndTheNextRunWorks) {
    const ElementTable& elements = testing::shippedElements();
    CompareState fresh = withObservedGlucose();
    const auto glucose = run(fresh, "C6H12O6");
    CompareState state = withObservedGlucose();
    try {
        run(state, "Sn1000000");
        FAIL() << "no error raised";
    } catch (const SimulationTooLargeError& error) {
        EXPECT_STREQ(error.what(), "Die Formel ist zu groß für die Simulation");
    }
    EXPECT_EQ(run(state, "C6H12O6"), glucose);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, fresh.simulation.simPeaks));
    EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0);

    // Fuzz finding: two carbon entries of 327777777 atoms, thousands of peaks
    // each, whose combination once ran for minutes. The observed peaks (a
    // mass typed twice) play no part in it.
    state.observed = ObservedPeaks{};
    state.observed.observedPeaks[1] = {storeReal48(200.0L), 100.0L};
    state.observed.observedPeaks[2] = {storeReal48(200.0L), 50.0L};
    state.observed.observedNext = 3;
    expectFinishedOrTooLarge(state, elements, "C327777777C327777777H12");
    state.observed = fresh.observed;
    EXPECT_EQ(run(state, "C6H12O6"), glucose);
}

// Fuzz finding: a damaged data file gave neon abundances adding up to a
// little over 1, so the per-atom passes of a count in the thousands never
// pruned their list empty.
TEST(RunComparisonChain, NonsenseIsotopeDataNeverHang) {
    ElementTable elements = testing::shippedElements();
    elements[10].slots[2].isotope.abundance = storeReal48(0.0954297L);
    CompareState state;
    expectFinishedOrTooLarge(state, elements, "Ne18582");

    // Ten isotopes 0.3 u apart, so none merge: slightly over 1 in all, the
    // lists only grow; at 1e30 each, two atoms already leave the Real48
    // range, which raises the runtime's overflow error.
    ElementRecord& xenon = elements[54];
    xenon.isotopeCount = 10;
    const auto setAbundances = [&xenon](long double abundance) {
        for (int j = 1; j <= 10; ++j) {
            Isotope& isotope = j == 10 ? xenon.lastIsotope : xenon.slots[static_cast<std::size_t>(j - 1)].isotope;
            isotope = {storeReal48(100.0L + 0.3L * j), storeReal48(abundance)};
        }
    };
    setAbundances(0.1001L);
    for (const char* text : {"Xe5", "Xe5000"}) expectFinishedOrTooLarge(state, elements, text);
    setAbundances(1e30L);
    EXPECT_THROW(runComparisonChain(state, elements, "Xe5"), FloatOverflowError);

    CompareState fresh;
    EXPECT_EQ(runComparisonChain(state, elements, "C6H12O6"), run(fresh, "C6H12O6"));
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, fresh.simulation.simPeaks));
}

// Many runs through one state, as a long session makes them, some of them
// ended by an error: every run that simulated leaves the merge tree without
// a node and gives exactly what a fresh state gives.
TEST(RunComparisonChain, RepeatedRunsReleaseTheTreeAndRecoverFromErrors) {
    ElementTable elements = testing::shippedElements();
    ElementRecord& xenon = elements[54];  // nonsense data: two atoms overflow
    for (int j = 1; j <= xenon.isotopeCount; ++j) {
        Isotope& isotope = j == 10 ? xenon.lastIsotope : xenon.slots[static_cast<std::size_t>(j - 1)].isotope;
        isotope.abundance = storeReal48(1e30L);
    }
    const std::vector<std::string> formulas = {"C6H12O6", "SnCl4", "C2934H4615N781O897S39", "Br2Hg", "C6h",
                                               "XxC6", "F9C12H5", "C100000H200000"};
    struct Expected {
        std::optional<long double> error;
        PeakList simPeaks;
    };
    std::vector<Expected> expected;
    for (const std::string& text : formulas) {
        CompareState fresh = withObservedGlucose();
        const auto error = runComparisonChain(fresh, elements, text);
        expected.push_back({error, fresh.simulation.simPeaks});
    }

    CompareState state = withObservedGlucose();
    for (int i = 0; i < 200; ++i) {
        if (i % 10 == 3) {
            EXPECT_THROW(runComparisonChain(state, elements, "Xe2"), FloatOverflowError);
            EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0);
            continue;
        }
        if (i % 100 == 57) {  // slow, so only now and then
            EXPECT_THROW(runComparisonChain(state, elements, "Sn1000000"), SimulationTooLargeError);
            EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0);
            continue;
        }
        const std::size_t k = static_cast<std::size_t>(i) % formulas.size();
        const auto error = runComparisonChain(state, elements, formulas[k]);
        ASSERT_EQ(error, expected[k].error) << formulas[k] << " in run " << i;
        EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0) << formulas[k];
        if (!error) continue;  // refused by the syntax check: nothing simulated
        EXPECT_TRUE(samePeaks(state.simulation.simPeaks, expected[k].simPeaks)) << formulas[k];
    }
}

}  // namespace
}  // namespace isoquill
