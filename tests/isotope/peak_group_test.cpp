#include "isotope/peak_group.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core_fixture.h"

namespace isoquill {
namespace {

using testing::elementWith;
using testing::exampleCarbon;
using testing::samePeaks;
using testing::tableWith;

struct Simulator {
    Simulation simulation;
    std::vector<std::string> notices;

    const PeakList& simulate(std::string_view text, const ElementTable& table = testing::shippedElements()) {
        simulatePeakGroup(simulation, testing::parsed(text, table), table,
                          [this](const Symbol& symbol) { notices.emplace_back(symbol.text()); });
        EXPECT_EQ(simulation.peakTree.liveNodeCount(), 0);
        return simulation.simPeaks;
    }
};

// A fresh simulation's peaks.
PeakList simulated(std::string_view text, const ElementTable& table = testing::shippedElements()) {
    return Simulator().simulate(text, table);
}

// FNV-1a over the bytes of every peak: mass (6) and abundance (10).
std::uint64_t fingerprint(const PeakList& peaks) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const Peak& peak : peaks) {
        unsigned char bytes[16];
        std::memcpy(bytes, &peak.mass, 6);
        std::memcpy(bytes + 6, &peak.abundance, 10);
        for (unsigned char b : bytes) hash = (hash ^ b) * 0x100000001b3u;
    }
    return hash;
}

TEST(SimulatePeakGroup, CountsUpTo255GiveTheSameBytesAsTheFixedArithmeticAlwaysGave) {
    // One formula per isotope class, fingerprinted from the program before
    // larger counts took their own path.
    const struct { const char* formula; int peaks; std::uint64_t fingerprint; } cases[] = {
        {"F255Na3", 1, 0xda53452fae359201u}, {"C100H202", 7, 0x49dbeb69bcf55f2eu}, {"O255", 6, 0x2c5e89de9e1b8362u},
        {"Sn255", 161, 0x87fd343177cb09c3u}, {"SnCl4", 18, 0xb17800a9856bf483u},
        {"C254H250N65O75S6", 15, 0xcf1ecb373996cb63u}, {"Cl60", 24, 0x7d0fbd690d473dc0u},
        {"Br120", 39, 0x6799b005089fc8dfu},
    };
    for (const auto& c : cases) {
        const PeakList peaks = simulated(c.formula);
        EXPECT_EQ(peaks.count(), c.peaks) << c.formula;
        EXPECT_EQ(fingerprint(peaks), c.fingerprint) << c.formula;
        EXPECT_FALSE(peaks.unitSteps) << c.formula;
    }
    // Beyond 255 a mono-isotopic entry is still one peak with the full count.
    const PeakList fluorine = simulated("F300");
    ASSERT_EQ(fluorine.count(), 1);
    EXPECT_EQ(fluorine[1].mass, storeReal48(300 * loadReal48(testing::shippedElements()[9].mass)));
    EXPECT_EQ(fluorine[1].abundance, 100.0L);
}

TEST(SimulatePeakGroup, WorkedExamplesAndMergesKeepingTheMassInsertedFirst) {
    const ElementTable carbon = tableWith({exampleCarbon()});
    const long double p1 = roundReal48(0.989L), p2 = roundReal48(0.011L), base = roundReal48(p1 * p1);
    const PeakList one = simulated("C2", carbon), two = simulated("CC", carbon);
    ASSERT_TRUE(one.count() == 3 && two.count() == 3);
    EXPECT_NEAR(one[2].abundance, 2.2245L, 1e-4L);
    // Inserted 25.00335, 26.0067, 24.0, then 25.00335 again, which merges.
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(two[i].mass, one[i].mass) << i;
    EXPECT_EQ(two[2].abundance, ((roundReal48(p2 * p1) + roundReal48(p1 * p2)) * 100) / base);
    EXPECT_EQ(two[3].abundance, (roundReal48(p2 * p2) * 100) / base);
    // 30.95 and 31.0 merge; the accumulated peaks, taken from the last,
    // decide which of them comes first. Equal maxima both become 100.
    const ElementTable table = tableWith({elementWith(" X", 1, {{10.0L, 0.5L}, {11.0L, 0.5L}}),
                                          elementWith(" Y", 2, {{20.0L, 0.5L}, {20.95L, 0.5L}})});
    const PeakList xy = simulated("XY", table), x = simulated("X", table);
    ASSERT_EQ(xy.count(), 3);
    EXPECT_EQ(loadReal48(xy[2].mass), 31.0L);
    EXPECT_TRUE(xy[2].abundance == 100.0L && xy[1].abundance == 50.0L);
    EXPECT_EQ(simulated("YX", table)[2].mass, storeReal48(30.95L));
    EXPECT_TRUE(x[1].abundance == 100.0L && x[2].abundance == 100.0L);
}

TEST(SimulatePeakGroup, EmptyRowsAreSkippedAndMissingDataNoticedOncePerEntry) {
    const PeakList plain = simulated("C6H12");
    Simulator run;
    EXPECT_TRUE(samePeaks(run.simulate("XxC6H12"), plain));
    EXPECT_TRUE(samePeaks(run.simulate("C6QH12Xx"), plain));
    EXPECT_EQ(run.notices, (std::vector<std::string>{"Xx", " Q", "Xx"}));
    // So do rows that a count of 0 leaves empty, whatever the method.
    EXPECT_TRUE(samePeaks(run.simulate("C0H12F0O0"), simulated("H12")));
    // Isotope counts of 0 or beyond the 10 slots count as missing data, and
    // nothing past the record is read even when it is the table's last: on
    // the heap by itself, so that the address sanitizer sees such a read.
    ElementRecord tooMany = elementWith("Zz", 120, {{1.0L, 1.0L}});
    tooMany.isotopeCount = 11;
    const auto table = std::make_unique<ElementTable>(tableWith({elementWith(" E", 1, {}, 5.0L), tooMany, exampleCarbon()}));
    (*table)[100] = tooMany;  // symbols match records 1 to 100 only: this one names record 120
    EXPECT_EQ(run.simulate("EZzC", *table).count(), 2);
    EXPECT_EQ(run.notices, (std::vector<std::string>{"Xx", " Q", "Xx", " E", "Zz"}));
}

TEST(SimulatePeakGroup, LongFormulasAndLongLists) {
    std::string text;  // sixty entries: the lightest peak is the all-light combination of 30 C and 30 H
    for (int i = 0; i < 30; ++i) text += "CH";
    EXPECT_NEAR(loadReal48(simulated(text)[1].mass), 30 * (12.0L + 1.0078250321L), 1e-6L);
    const PeakList many = simulated("C10000000H");
    ASSERT_GT(many.count(), 1000);
    for (int i = 2; i <= many.count(); ++i) ASSERT_GT(loadReal48(many[i].mass), loadReal48(many[i - 1].mass));
}

// After an error or a change of data or formula, a run gives what a fresh simulation gives.
TEST(SimulatePeakGroup, EveryRunGivesWhatItGivesAlone) {
    const ElementTable first = tableWith({exampleCarbon(), elementWith(" W", 1, {{1.0L, 0.5L}, {2.0L, 0.3L}, {1.6e38L, 0.2L}})});
    const ElementTable second = tableWith({elementWith(" C", 6, {{12.0L, 0.9L}, {13.00335L, 0.1L}})});
    Simulator run;
    // The last isotope pair overflows in the middle of the pass; the nodes
    // made so far are released with the error.
    EXPECT_THROW(run.simulate("W2", first), FloatOverflowError);
    EXPECT_EQ(run.simulation.peakTree.liveNodeCount(), 0);
    // Changed element data are never taken from an earlier run.
    for (const ElementTable* table : {&first, &second, &first})
        EXPECT_TRUE(samePeaks(run.simulate("C2", *table), simulated("C2", *table)));
    // Two rows of thousands of peaks each: millions of combinations. The
    // limit counts per simulation, so a long session of ordinary formulas never reaches it.
    EXPECT_THROW(run.simulate("Cl2420000Cl2420000"), SimulationTooLargeError);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(run.simulate("C1000000H2000000").count(), 892);
    // Consecutive runs reuse the combination of their common leading entries;
    // a changed or missing row must not leave a later step standing.
    for (const char* formula : {"C6H12O6S", "C6H12O6S2", "C6H12O7S", "C6H11O7S", "C6H12O7S", "C6H12", "C6H12O6S",
                                "H12O6S", "QH12O6S", "C6H12O6S"})
        EXPECT_TRUE(samePeaks(run.simulate(formula), simulated(formula))) << formula;
    // Reused steps count the work they once cost, so the work limit judges a
    // formula alike whether its steps are reused or not.
    run.simulate("C6H12O6S");  // every step reused
    const std::int64_t reusedWork = run.simulation.peakTree.work();
    run.simulation.combinedSteps.clear();
    run.simulate("C6H12O6S");
    EXPECT_EQ(run.simulation.peakTree.work(), reusedWork);
}

}  // namespace
}  // namespace isoquill
