#include "isotope/peak_group.h"

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "compare/compare_chain.h"
#include "core_fixture.h"
#include "exact_steps.h"

namespace isoquill::testing {

// Runs in one simulation, with the missing data they notice; no run leaves a node of the tree behind.
// A fresh Simulator gives what a simulation alone gives.
struct Simulator {
    Simulation simulation;
    std::vector<std::string> notices;

    const PeakList& simulate(std::string_view text, const ElementTable& table = shippedElements()) {
        simulatePeakGroup(simulation, parsed(text, table), table,
                          [this](const Symbol& symbol) { notices.emplace_back(symbol.text()); });
        EXPECT_EQ(simulation.peakTree.liveNodeCount(), 0);
        return simulation.simPeaks;
    }
};

// FNV-1a over the bytes of every peak: mass (6) and abundance (10).
static std::uint64_t fingerprint(const PeakList& peaks) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const Peak& peak : peaks) {
        const auto* abundance = reinterpret_cast<const unsigned char*>(&peak.abundance);
        for (int i = 0; i < 16; ++i) hash = (hash ^ (i < 6 ? peak.mass.bytes[i] : abundance[i - 6])) * 0x100000001b3u;
    }
    return hash;
}

TEST(SimulatePeakGroup, CountsUpTo255GiveTheSameBytesAsTheFixedArithmeticAlwaysGave) {
    // One formula per isotope class, fingerprinted from the program before
    // larger counts took their own path; and F300, beyond 255 still one peak:
    // 300 times the element mass, at 100.
    const struct { const char* formula; std::uint64_t fingerprint; } cases[] = {
        {"F255Na3", 0xda53452fae359201u}, {"C100H202", 0x49dbeb69bcf55f2eu}, {"O255", 0x2c5e89de9e1b8362u},
        {"Sn255", 0x87fd343177cb09c3u}, {"SnCl4", 0xb17800a9856bf483u}, {"C254H250N65O75S6", 0xcf1ecb373996cb63u},
        {"Cl60", 0x7d0fbd690d473dc0u}, {"Br120", 0x6799b005089fc8dfu}, {"F300", 0xc1141bf00ce191e0u},
    };
    for (const auto& c : cases) EXPECT_EQ(fingerprint(Simulator().simulate(c.formula)), c.fingerprint) << c.formula;
}

// Peaks of different entries merge keeping the mass inserted first. After an
// error or a change of data or formula, a run gives what a fresh simulation gives.
TEST(SimulatePeakGroup, MergesKeepTheMassInsertedFirstAndEveryRunGivesWhatItGivesAlone) {
    const ElementTable first = tableWith({exampleCarbon(), elementWith(" X", 2, {{10.0L, 0.5L}, {11.0L, 0.5L}}),
                                          elementWith(" Y", 3, {{20.0L, 0.5L}, {20.95L, 0.5L}}),
                                          elementWith(" W", 1, {{1.0L, 0.5L}, {2.0L, 0.3L}, {1.6e38L, 0.2L}})});
    const ElementTable second = tableWith({elementWith(" C", 6, {{12.0L, 0.9L}, {13.00335L, 0.1L}})});
    Simulator run;
    // 30.95 and 31.0 merge; the accumulated peaks, taken from the last,
    // decide which of them comes first. Equal maxima both become 100.
    const PeakList xy = run.simulate("XY", first), x = run.simulate("X", first);
    ASSERT_EQ(xy.count(), 3);
    EXPECT_EQ(loadReal48(xy[2].mass), 31.0L);
    EXPECT_TRUE(xy[2].abundance == 100.0L && xy[1].abundance == 50.0L);
    EXPECT_EQ(run.simulate("YX", first)[2].mass, storeReal48(30.95L));
    EXPECT_TRUE(x[1].abundance == 100.0L && x[2].abundance == 100.0L);
    // The last isotope pair overflows in the middle of the pass; the nodes
    // made so far are released with the error.
    EXPECT_THROW(run.simulate("W2", first), FloatOverflowError);
    EXPECT_EQ(run.simulation.peakTree.liveNodeCount(), 0);
    // Changed element data are never taken from an earlier run.
    for (const ElementTable* table : {&first, &second, &first})
        EXPECT_TRUE(samePeaks(run.simulate("C2", *table), Simulator().simulate("C2", *table)));
    // Two rows of thousands of peaks each: millions of combinations. The
    // limit counts per simulation, so a long session of ordinary formulas never reaches it.
    EXPECT_THROW(run.simulate("Cl1500000Cl1500000"), SimulationTooLargeError);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(run.simulate("C1000000H2000000").count(), 892);
    // Consecutive runs reuse the combination of their common leading entries;
    // a changed or missing row must not leave a later step standing.
    for (const char* formula : {"C6H12O6S", "C6H12O6S2", "C6H12O7S", "C6H11O7S", "C6H12O7S", "C6H12", "C6H12O6S",
                                "H12O6S", "QH12O6S", "C6H12O6S"})
        EXPECT_TRUE(samePeaks(run.simulate(formula), Simulator().simulate(formula))) << formula;
    // Reused steps count the work they once cost, so the work limit judges a
    // formula alike whether its steps are reused or not.
    run.simulate("C6H12O6S");  // every step reused
    const std::int64_t reusedWork = run.simulation.peakTree.work();
    run.simulation.combinedSteps.clear();
    run.simulate("C6H12O6S");
    EXPECT_EQ(run.simulation.peakTree.work(), reusedWork);
}

// Run through the comparison chain, so each group also shows in the comparison.
TEST(LargeMolecules, EveryVisibleStepMatchesTheExactReferenceAndHasItsOwnComparisonRow) {
    ElementTable table = shippedElements();
    // Es as an edited data file may list its isotopes: the heavier first.
    table[99] = elementWith("Es", 99, {{81.0L, 0.49L}, {79.0L, 0.51L}});
    // Qw's light isotope is so rare that the product of two drops its lightest step: one peak, where the
    // slots past the kept ones still hold what the product computed.
    table[96] = elementWith("Qw", 96, {{10.0L, 1e-7L}, {11.0L, 1.0L}});
    CompareState state;
    for (const char* text : {"O300", "O897", "S1000", "S10000", "Sn300", "Fe300", "C2934H4615N781O897S39",
                             "C1000H2000O500", "Br1000", "C10000H20000", "Hg3000", "C50000H80000N13000O15000S400",
                             "C1000F300", "F300I300", "Y477", "Es300", "F300QwQw"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(runComparisonChain(state, table, text));
        const PeakList& peaks = state.simulation.simPeaks;
        const Formula formula = parsed(text, table);
        const ExactSteps exact = exactGroup(formula, table);
        // Peak by peak, the steps whose exact weighted mean lies within 0.001 u
        // of its mass, in order; every other step is below 0.01.
        int i = 1;
        for (std::size_t slot = 0; slot < exact.p.size(); ++slot) {
            if (i <= peaks.count() && std::fabs(exact.mass(slot) - loadReal48(peaks[i].mass)) < 0.001L)
                EXPECT_NEAR(peaks[i++].abundance, exact.percent(slot), 0.02L) << slot;
            else
                EXPECT_LT(exact.percent(slot), 0.0100001L) << "missing step " << slot;
        }
        EXPECT_EQ(i, peaks.count() + 1);  // no peak off the reference's steps
        // Hg3000's step masses drift from the first peak's whole steps by up to
        // 0.78 u, so rounding the distance to the first peak would skip rows.
        for (int row = 1; std::string_view(text) == "Hg3000" && row <= state.comparison.rowCount; ++row)
            EXPECT_EQ(state.comparison.alignedSimulated[static_cast<std::size_t>(row)].mass,
                      row <= peaks.count() ? peaks[row].mass : Real48{}) << row;
    }
}

TEST(SimulatePeakGroup, SkipsEmptyRowsNoticesMissingDataOnceAndRefusesEmptyOrHugeGroups) {
    // Isotope counts of 0 or beyond the 10 slots count as missing data, and
    // nothing past the record is read even when it is the table's last: on
    // the heap by itself, so that the address sanitizer sees such a read.
    const auto table = std::make_unique<ElementTable>(shippedElements());
    ElementRecord tooMany = elementWith("Zz", 120, {{1.0L, 1.0L}});
    tooMany.isotopeCount = 11;
    (*table)[120] = (*table)[100] = tooMany;  // symbols match records 1 to 100 only: this one names record 120
    (*table)[90] = elementWith(" E", 90, {}, 5.0L);
    // Every isotope at or below 0.0001, or products of two entries that are.
    (*table)[91] = elementWith("Qx", 91, {{10.0L, 0.00005L}, {11.0L, 0.00005L}, {12.0L, 0.00005L}});
    (*table)[92] = elementWith("Qy", 92, {{20.0L, 0.005L}, {21.0L, 0.005L}});
    (*table)[93] = elementWith("Qz", 93, {{10.0L, 0.5L}, {10.0L, 0.5L}});
    (*table)[94] = elementWith("Qv", 94, {{1.0L, 0.5L}, {1000001.0L, 1e-30L}});
    (*table)[95] = elementWith("Qu", 95, {{1.0L, 0.5L}, {1000002.0L, 1e-30L}});
    // Isotopes 999,999 u apart: Qt's heavy one visible, Qs's never; Qr has three.
    (*table)[97] = elementWith("Qt", 97, {{1.0L, 0.9L}, {1000000.0L, 0.1L}});
    (*table)[98] = elementWith("Qs", 98, {{1.0L, 1.0L}, {1000000.0L, 1e-7L}});
    (*table)[89] = elementWith("Qr", 89, {{1.0L, 0.5L}, {500000.0L, 0.3L}, {1000000.0L, 0.2L}});
    Simulator run;
    const PeakList plain = Simulator().simulate("C6H12");
    EXPECT_TRUE(samePeaks(run.simulate("XxC6H12", *table), plain));
    EXPECT_TRUE(samePeaks(run.simulate("C6QH12Xx", *table), plain));
    // So do rows that a count of 0 leaves empty, whatever the method.
    EXPECT_TRUE(samePeaks(run.simulate("C0H12F0O0", *table), Simulator().simulate("H12")));
    EXPECT_EQ(run.simulate("EZzC", *table).count(), 2);
    EXPECT_EQ(run.notices, (std::vector<std::string>{"Xx", " Q", "Xx", " E", "Zz"}));
    const std::string tooWide = "Die Peakgruppen sind zu breit für den Vergleich (mehr als 10000 Zeilen)";
    const std::pair<const char*, std::string> cases[] = {
        {"C2Qx", "Die Simulation ergibt für Qx keine Peaks"}, {"QyQy", "Die Simulation ergibt keine Peaks"},
        {"Qy", ""}, {"C0", ""},  // a count of 0 adds nothing by design
        {"Qz300", ""},           // damaged data: two isotopes of one mass, no step between
        {"Qv300", ""},           // isotopes 10^6 u apart, the most a step may span
        {"Qu300", "Die Formel ist zu groß für die Simulation"}, {"C1000H2000", ""},
        {"S5000000", "Die Formel ist zu groß für die Simulation"},
        // Refused before the step arrays are made: tens of millions of slots.
        {"Qt256", tooWide}, {"Qr300", tooWide}, {"CQt256", tooWide},
        // Two million slots (k = 0, 1, 2 of 256), the second entry's product trillions of pairs.
        {"Qs256", ""}, {"Qs256Qs256", "Die Formel ist zu groß für die Simulation"},
    };
    for (const auto& [text, message] : cases) {
        std::string error;
        try {
            run.simulate(text, *table);
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, message) << text;
    }
    // Every slot made counts: Qs256's two million exceed a lowered limit.
    run.simulation.peakTree.workLimit = 1'000'000;
    EXPECT_THROW(run.simulate("Qs256", *table), SimulationTooLargeError);
}

}  // namespace isoquill::testing
