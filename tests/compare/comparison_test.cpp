// The comparison: the observed peaks as typed and pasted, alignment and error,
// table texts, plot geometry, and the chain that runs it from a formula text.
#include <cmath>
#include <random>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "chem/number_text.h"
#include "compare/comparison_table.h"
#include "compare/peak_list_text.h"
#include "compare/plot_layout.h"
#include "core_fixture.h"
#include "peak_values.h"

namespace isoquill {
namespace {

using namespace testing;

TEST(ObservedPeaks, AddStoresTheRoundedValuesAndSaysWhyItRefuses) {
    ObservedPeaks observed;
    ASSERT_EQ(addObservedPeak(observed, 180, 0.1L), PeakRefusal::none);
    ASSERT_EQ(addObservedPeak(observed, 158.6L, 1), PeakRefusal::none);
    EXPECT_EQ(valuesOf(observed), (PeakValues{{roundReal48(158.6L), 1}, {180, roundReal48(0.1L)}}));
    EXPECT_EQ(addObservedPeak(observed, 181, 1e-40L), PeakRefusal::abundanceNotPositive);  // rounds to 0
    EXPECT_EQ(addObservedPeak(observed, 1e-40L, 1), PeakRefusal::massNotPositive);
    for (auto [mass, abundance] : {std::pair{12.0L, 1e39L}, {0.0L, 1e39L}, {1e39L, 0.0L}})
        EXPECT_THROW(addObservedPeak(observed, mass, abundance), FloatOverflowError) << mass << " " << abundance;
    EXPECT_EQ(observed.observedNext, 3);
    // The 255th peak is refused, so observedNext cannot wrap.
    for (int i = 3; i <= observedPeakLimit; ++i) ASSERT_EQ(addObservedPeak(observed, 1000 - i, 1), PeakRefusal::none);
    EXPECT_EQ(addObservedPeak(observed, 5, 1.0L), PeakRefusal::listFull);
    EXPECT_EQ(observed.observedNext, 255);
}

// The sort as written, on plain numbers: equal masses end up in the order
// that its exchanges, and only they, leave them in.
PeakValues plainExchangeSort(PeakValues peaks) {
    for (std::size_t i = 0; i + 1 < peaks.size(); ++i)
        for (std::size_t j = peaks.size() - 1; j >= i && j < peaks.size(); --j)
            if (peaks[i].first > peaks[j].first) std::swap(peaks[i], peaks[j]);
    return peaks;
}

// Both ways in: a list in any order sorted once, and the same peaks added one
// by one, sorting after each. Abundances are unique, to tell equal masses apart.
TEST(ObservedPeaks, SortLeavesEqualMassesWhereTheExchangeSortLeavesThem) {
    std::mt19937 random(13);
    for (int trial = 0; trial < 300; ++trial) {
        ObservedPeaks added;
        PeakValues peaks, addedReference;
        for (int i = 1, n = static_cast<int>(random() % 41); i <= n; ++i) {
            const int mass = 1 + static_cast<int>(random() % 8);
            peaks.emplace_back(mass, i);
            addObservedPeak(added, mass, i);
            addedReference.emplace_back(mass, i);
            addedReference = plainExchangeSort(addedReference);
        }
        ObservedPeaks unordered = observedOf(peaks);
        sortObservedPeaks(unordered);
        ASSERT_EQ(valuesOf(unordered), plainExchangeSort(peaks)) << "trial " << trial;
        ASSERT_EQ(valuesOf(added), addedReference) << "trial " << trial;
    }
}

TEST(ObservedPeaks, DeleteRemovesOnlyAValidLineAndListLinesKeepWideNumbers) {
    ObservedPeaks observed = observedOf({{12, 100}, {13, 1.5L}, {14, 2}});
    EXPECT_FALSE(deleteObservedPeak(observed, -1) || deleteObservedPeak(observed, 3));
    EXPECT_TRUE(deleteObservedPeak(observed, 0));
    EXPECT_EQ(valuesOf(observed), (PeakValues{{13, 1.5L}, {14, 2}}));
    EXPECT_TRUE(deleteObservedPeak(observed, 1) && deleteObservedPeak(observed, 0));
    EXPECT_EQ(observed.observedNext, 1);
    // The slots after the last peak stay zero: the comparison finds the end
    // of the list there, not through a count.
    for (const Peak& slot : observed.observedPeaks) EXPECT_TRUE(slot.mass.isZero() && slot.abundance == 0);
}

// Whole numbers as ever; decimals as many as the stored value needs, the
// abundance kept in its column while the mass leaves room. The list copied
// as a table reads back to the same peaks.
TEST(ObservedPeaks, ListLinesShowTheDecimalsAMassNeedsAndACopyPastesBack) {
    const std::pair<long double, const char*> cases[] = {
        {158, "    158   100.00000"},        {158.6L, "  158.6   100.00000"},  {180.0634L, "180.0634  100.00000"},
        {66431.25L, "66431.25  100.00000"}, {0.1L, "    0.1   100.00000"},   {2000000000, "2000000000   100.00000"},
        {12345.678901L, "12345.678901 100.00000"}, {1.0L / 3, "0.3333333333335 100.00000"},
    };
    ObservedPeaks observed;
    for (const auto& [mass, line] : cases) {
        EXPECT_EQ(peakListLine({storeReal48(mass), 100}), line) << line;
        addObservedPeak(observed, mass, 51.4L);
    }
    EXPECT_EQ(peakListLine({storeReal48(12345678.0L), 123456.0L}), "12345678   123456.00000");
    std::string text;
    for (const auto& [mass, abundance] : peakListTable(observed)) text += mass + "\t" + abundance + "\n";
    EXPECT_EQ(text.substr(0, text.find('\n', 16)), "Mass\tAbundance\n0.1\t51.40000");
    ObservedPeaks pasted;
    addPeakList(pasted, text);
    EXPECT_EQ(valuesOf(pasted), valuesOf(observed));
}

// Line numbers count every line of the text, blank and header lines too.
// The peaks are in list order, each mass and abundance as a Real48 holds it.
// Only a line break followed by text makes several lines.
TEST(PeakListText, TakesMassAndAbundanceByTheListsColumnsAndSaysWhyALineIsRefused) {
    const std::pair<const char*, bool> texts[] = {{"12\t100", false}, {"12\t100\n", false}, {"12\t100\r\n", false},
                                                  {"", false}, {"12\n13", true}, {"12\r13", true}, {"12\n\n", true}};
    for (const auto& [text, several] : texts) EXPECT_EQ(holdsSeveralLines(text), several) << text;
    using Rule = PeakColumns::Rule;
    using F = PeakLineFault;
    struct Case { const char* name; std::string text; PeakValues peaks; std::vector<std::pair<int, F>> refused;
                  Rule rule; };
    const Case cases[] = {
        {"running index, decimal masses", "1\t179.9\t100\n2\t181.0\t6.8\n3\t182.0\t1.3\n",
         {{179.9L, 100}, {181, 6.8L}, {182, 1.3L}}, {}, Rule::runningIndex},
        {"index from 0; a short line counts on", "0,179.9,100\n1,181.0\n2,182.0,1.3", {{179.9L, 100}, {182, 1.3L}},
         {{2, F::oneNumber}}, Rule::runningIndex},
        {"whole masses in a row are no index", "180 100 12000\n181 6.6 11000", {{180, 100}, {181, 6.6L}}, {},
         Rule::leadingNumbers},
        {"trailing text and numbers", "160\t100\n162\t49\t(81Br81Br)\n158 51,4 M+ 3",
         {{158, 51.4L}, {160, 100}, {162, 49}}, {}, Rule::leadingNumbers},
        {"separators and decimal commas", "179,9;100\n12;;\t 100\n161,5\n161,5;2\n 13   48,6 ",
         {{12, 100}, {13, 48.6L}, {161, 5}, {161.5L, 2}, {179.9L, 100}}, {}, Rule::leadingNumbers},
        {"header picks named columns", "Peak\tRel. Intensity\tm/z\tNote\n1\t100\t179.9\tM\n2\t6,8\t181.0\t\nM+2\t\t182",
         {{179.9L, 100}, {181, 6.8L}}, {{4, F::oneNumber}}, Rule::header},
        {"preamble, then a blank-separated header", "Spectrum 12\nScan: 3\n\nm/z Area\n180 100\nx 5", {{180, 100}},
         {{6, F::noNumber}}, Rule::header},
        {"a header's separator missing from a line", "\r\nm/z;Intensity\r\n160\t100\r\n\r\n158.7 51,4\r\n",
         {{158.7L, 51.4L}, {160, 100}}, {}, Rule::header},
        {"reasons", "abc\n160 100\nMass\tAbundance\n161\n0 5\n159 1e-40\n159 1e39\n1e39 5\n-3 4\n\n162,48.6",
         {{160, 100}, {162, 48.6L}},
         {{3, F::noNumber}, {4, F::oneNumber}, {5, F::massNotPositive}, {6, F::abundanceNotPositive},
          {7, F::outOfRange}, {8, F::outOfRange}, {9, F::massNotPositive}},
         Rule::leadingNumbers},
    };
    for (const Case& c : cases) {
        ObservedPeaks observed;
        const PeakListPaste paste = addPeakList(observed, c.text);
        std::vector<std::pair<int, F>> refused;
        for (std::size_t i = 0; i < paste.refusedLines.size(); ++i)
            refused.emplace_back(paste.refusedLines[i], paste.refusedReasons.at(i));
        EXPECT_EQ(valuesOf(observed), valuesOf(observedOf(c.peaks))) << c.name;
        EXPECT_EQ(refused, c.refused) << c.name;
        EXPECT_EQ(paste.columns.rule, c.rule) << c.name;
        EXPECT_EQ(paste.added, observed.count()) << c.name;
    }
}

// The message names each refused line with its reason, ten at most; a full
// list is told once; it stays a few lines however long the text.
TEST(PeakListText, TheMessageSaysWhyAndStaysShort) {
    ObservedPeaks observed;
    EXPECT_EQ(peakListPasteMessage(addPeakList(observed, "m/z\tIntensity\n160\t100\n161\nabc")),
              "2 Zeilen nicht übernommen:\nZeile 3: nur eine Zahl\nZeile 4: keine Zahl");
    EXPECT_EQ(peakListPasteMessage(addPeakList(observed, "#;Area;m/z\n1;5;170\n2;;171")),
              "Spalten aus der Kopfzeile: m/z (3), Area (2)\nZeile 3 nicht übernommen: nur eine Zahl");
    EXPECT_EQ(peakListPasteMessage(addPeakList(observed, "1 170 5\n2 171 0")),
              "Erste Zahl jeder Zeile als laufende Nummer übergangen\nZeile 2 nicht übernommen: Abundance ≤ 0");
    EXPECT_EQ(peakListPasteMessage(addPeakList(observed, "162 5")), "");

    std::string text;
    for (int line = 1; line <= 3000; ++line) text += line % 100 == 0 ? "n/a\n" : std::to_string(line) + ".5\t1\n";
    observed = ObservedPeaks{};
    const std::string message = peakListPasteMessage(addPeakList(observed, text));
    EXPECT_EQ(observed.count(), observedPeakLimit);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 12) << message;
    EXPECT_EQ(message.substr(message.find("Zeile 1000")),
              "Zeile 1000: keine Zahl\nund 20 weitere\nListe voll (254 Peaks): 2716 Zeilen ab Zeile 257 nicht übernommen");
}

PeakList simulatedOf(const PeakValues& peaks) {
    PeakList list;
    for (auto [mass, abundance] : peaks) list.append({storeReal48(mass), abundance});
    return list;
}

// The rows that hold a peak, as "row:observed mass/abundance|simulated
// mass/abundance", masses as the list shows them, abundances cut to whole numbers.
std::string rowsText(const Comparison& c) {
    const auto values = [](const Peak& p) {
        return observedMassText(p.mass) + "/" + std::to_string(static_cast<int>(p.abundance));
    };
    std::string text;
    for (std::size_t k = 1; k <= static_cast<std::size_t>(c.rowCount); ++k) {
        if (c.alignedObserved[k].abundance == 0 && c.alignedSimulated[k].abundance == 0) continue;
        if (!text.empty()) text += ' ';
        text += std::to_string(k) + ":" + values(c.alignedObserved[k]) + "|" + values(c.alignedSimulated[k]);
    }
    return text;
}

constexpr long double unchecked = -1;  // error of a case not checked

// A group whose base lies beyond slot 25 is the sixty-peak test below.
TEST(AlignPeakGroups, PlacesBothGroupsOnTheBaseAndSumsTheSquaredErrors) {
    struct Case { PeakValues observed, simulated; int rowCount, observedBase, simulatedBase; std::string rows;
                  long double error, observedMax, meanMass; };
    const Case cases[] = {
        {{{100, 100}, {101, 50}, {102, 10}}, {{100, 100}, {101, 40}, {102, 5}}, 3, 1, 1,
         "1:100/100|100/100 2:101/50|101/40 3:102/10|102/5", 125, 100, 16070.0L / 160},
        // The simulated base moves onto the observed one.
        {{{100, 30}, {101, 100}}, {{100, 100}, {101, 30}}, 3, 2, 1, "1:100/30|0/0 2:101/100|100/100 3:0/0|101/30", 1800,
         100, 13100.0L / 130},
        // Observed abundances on any scale; a gap at 102.
        {{{100, 50}, {101, 25}, {103, 5}}, {{100, 100}, {101, 40}}, 4, 1, 1,
         "1:100/100|100/100 2:101/50|101/40 4:103/10|0/0", 200, 50, 16080.0L / 160},
        // A Br2-like group whose maximum misses 100 aligns across the gaps.
        {{{158, 50}, {160, 100}, {162, 49}}, {{158, 51.4L}, {160, 99.9999999L}, {162, 48.6L}}, 5, 3, 3,
         "1:158/50|158/51 3:160/100|160/99 5:162/49|162/48", unchecked, 100, 31838.0L / 199},
        // Equal maxima short of 100: the first is the base.
        {{{158, 50}, {160, 100}, {162, 49}}, {{158, 50}, {160, 50}}, 5, 3, 1,
         "1:158/50|0/0 3:160/100|158/50 5:162/49|160/50", 5001, 100, 31838.0L / 199},
        // An exact 100.0 decides even when another peak is larger.
        {{{200, 100}, {201, 50}}, {{200, 100}, {201, 100.5L}}, 3, 1, 1, "1:200/100|200/100 2:201/50|201/100",
         2550.25L, 100, 30050.0L / 150},
        {{}, {{100, 100}, {101, 40}}, 2, 0, 1, "1:0/0|100/100 2:0/0|101/40", 11600, 1, 0},
        {{}, {}, 0, 0, 0, "", 0, 1, 0},
        {{{1, 100}, {10000, 50}}, {}, 10000, 1, 0, "1:1/100|0/0 10000:10000/50|0/0", 12500, 100, 500100.0L / 150},
        // Decimal masses keep their rows: 179.9 lies within half a step of 180.063.
        {{{179.9L, 100}, {181, 6.75L}, {182, 1.25L}}, {{180.063L, 100}, {181.067L, 6.5L}, {182.068L, 1}}, 3, 1, 1,
         "1:179.9/100|180.063/100 2:181/6|181.067/6 3:182/1|182.068/1", 0.125L, 100, 19439.25L / 108},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const Case& expected = cases[i];
        Comparison c;
        alignPeakGroups(c, observedOf(expected.observed), simulatedOf(expected.simulated));
        EXPECT_EQ(std::tuple(c.rowCount, c.observedBase, c.simulatedBase, rowsText(c)),
                  std::tuple(expected.rowCount, expected.observedBase, expected.simulatedBase, expected.rows));
        if (expected.error != unchecked) { EXPECT_EQ(squaredErrorSum(c), expected.error); }
        EXPECT_EQ(std::pair(c.observedMax, c.observedMeanMass),
                  std::pair(storeReal48(expected.observedMax), storeReal48(expected.meanMass)));
    }
    Comparison c;
    EXPECT_THROW(alignPeakGroups(c, observedOf({{1, 100}, {10001, 50}}), PeakList{}), ComparisonTooWideError);
    EXPECT_THROW(alignPeakGroups(c, observedOf({{1, 100}, {2'000'000'000, 50}}), PeakList{}), ComparisonTooWideError);
    EXPECT_THROW(alignPeakGroups(c, ObservedPeaks{}, simulatedOf({{5, 100}, {3e30L, 50}})), ComparisonTooWideError);
    EXPECT_STREQ(ComparisonTooWideError().what(),
                 "Die Peakgruppen sind zu breit für den Vergleich (mehr als 10000 Zeilen)");
    // Abundances and every partial sum are rounded to Real48.
    c.alignedObserved = {Peak{}, {storeReal48(1.0L), 1.0L / 3}, Peak{}};
    c.alignedSimulated = {Peak{}, Peak{}, {storeReal48(2.0L), 0.1L}};
    const long double third = roundReal48(1.0L / 3), tenth = roundReal48(0.1L);
    EXPECT_EQ(squaredErrorSum(c), roundReal48(roundReal48(third * third) + tenth * tenth));
}

// A protein group as measured: 60 peaks 1.003 u apart on a scale of 0 to 50,
// the base at slot 35; the simulated group has the same shape on 0 to 100.
// Every peak counts, so the base rows meet, every abundance is scaled to
// the base and the error is 0; the mean mass weighs all 60, here summed plainly.
TEST(AlignPeakGroups, AMeasuredGroupOfSixtyPeaksAlignsOnItsBaseBeyondSlot25) {
    PeakValues observed, simulated;
    long double weights = 0, moments = 0;
    for (int i = 1; i <= 60; ++i) {
        const long double mass = 66431.2L + 1.003L * (i - 1), height = 50 - std::abs(i - 35);
        observed.emplace_back(mass, height);
        simulated.emplace_back(mass, 2 * height);
        weights += height;
        moments += roundReal48(mass) * height;
    }
    Comparison c;
    alignPeakGroups(c, observedOf(observed), simulatedOf(simulated));
    EXPECT_EQ(std::tuple(c.rowCount, c.observedBase, c.simulatedBase, loadReal48(c.observedMax), squaredErrorSum(c)),
              std::tuple(60, 35, 35, 50.0L, 0.0L));
    EXPECT_NEAR(loadReal48(c.observedMeanMass), moments / weights, 1e-6L);
}

// Aligned rows given as observed mass and abundance, simulated mass and abundance.
Comparison comparisonOf(std::initializer_list<std::array<long double, 4>> rows) {
    Comparison c;
    c.rowCount = static_cast<int>(rows.size());
    c.alignedObserved = c.alignedSimulated = {Peak{}};
    for (auto [observedMass, observed, simulatedMass, simulated] : rows) {
        c.alignedObserved.push_back({storeReal48(observedMass), observed});
        c.alignedSimulated.push_back({storeReal48(simulatedMass), simulated});
    }
    return c;
}

TEST(ComparisonTable, DataRowsShowBothGroupsAndTheirDifferenceCutToTheirColumns) {
    // Just below 0.125 the extended value writes as 0.12; Real48 has too few
    // bits to hold it apart from 0.125, which writes as 0.13.
    const long double justBelow = 0.125L - 1e-15L;
    Comparison c = comparisonOf({{100, 30, 0, 0}, {101, 100, 100.9995L, 100}, {0, 0, 102, 6.66L},
                                 {12, justBelow, 0, 0}, {1e12L, 1e13L, 0, 0}});
    c.rowCount = 123;
    c.alignedObserved.resize(124);
    c.alignedSimulated.resize(124);
    const std::pair<int, ComparisonRow> cases[] = {
        {1, {" 1", " 100.0", " 30.0", "   0.0", "  0.0", "  30.00"}},
        {2, {" 2", " 101.0", "100.0", " 101.0", "100.0", "   0.00"}},
        {3, {" 3", "   0.0", "  0.0", " 102.0", "  6.7", "  -6.66"}},
        {4, {" 4", "  12.0", "  0.1", "   0.0", "  0.0", "   0.13"}},
        {5, {" 5", "100000000000", "100000000000", "   0.0", "  0.0", "100000000000"}},
        {123, {"12", "   0.0", "  0.0", "   0.0", "  0.0", "   0.00"}},  // row numbers keep two characters
    };
    for (const auto& [row, texts] : cases) EXPECT_EQ(comparisonDataRow(c, row), texts) << "row " << row;
    EXPECT_EQ(comparisonErrorText(125.0L), " 125.00");
    EXPECT_EQ(comparisonErrorText(123456789012.5L), "123456789012");
}

// The design size: plot height 613 - 80 = 533, width 193 - 10 = 183,
// baseline 573, three rows in slots of 183 div 4 = 45 pixels centred at 32, 77, 122.
TEST(PlotLayout, BarsTicksAndAxisAtTheDesignSizeAndThePixelsTheyCover) {
    // Row 1: 533 x 30 % = 159.9, truncated; row 2: 100 % reaches 40 pixels
    // below the top; the axis runs from 45 div 2 + 5 to the last centre.
    const std::vector<PlotLine> expected = {
        {29, 573, 29, 414, plotRed},   {32, 573, 32, 578, plotGreen},  {74, 573, 74, 40, plotRed},
        {80, 573, 80, 40, plotBlue},   {77, 573, 77, 578, plotGreen},  {125, 573, 125, 414, plotBlue},
        {122, 573, 122, 578, plotGreen}, {27, 573, 122, 573, plotGreen}, {27, 573, 27, 578, plotGreen},
        {122, 573, 122, 578, plotGreen}};
    EXPECT_EQ(plotLines(comparisonOf({{0, 30, 0, 0}, {0, 100, 0, 100}, {0, 0, 0, 30}}), 193, 613), expected);
    EXPECT_TRUE(plotLines(Comparison{}, 193, 613).empty());
    // An observed peak above 100 is taller than the plot.
    EXPECT_EQ(plotLines(comparisonOf({{0, 150, 0, 0}}), 193, 613).front(), (PlotLine{52, 573, 52, 573 - 799, plotRed}));
    // Too many rows for the width fall on one slot.
    for (const PlotLine& line : plotLines(comparisonOf({{0, 100, 0, 100}, {0, 50, 0, 50}, {0, 10, 0, 10}}), 12, 200))
        if (line.rgb != plotGreen) { EXPECT_EQ(line.x1, line.rgb == plotRed ? 7 : 13); }
    // Pixel runs cover both ends of a line, whichever end comes first.
    const PixelRun bar = expected[0].pixels(), axis = PlotLine{122, 573, 27, 573, plotGreen}.pixels();
    EXPECT_EQ(std::tuple(bar.x, bar.y, bar.width, bar.height, axis.x, axis.y, axis.width, axis.height),
              std::tuple(29, 414, 1, 160, 27, 573, 96, 1));
}

// A refused text keeps the earlier results. Long texts are compared on their
// first sixty characters: glucose over and over, where every cut is a valid
// formula and a 61st character would turn the closing H1 into H12.
TEST(RunComparisonChain, EveryRunRecomputesFromTheTextAndARefusedTextKeepsTheResults) {
    const ElementTable& elements = shippedElements();
    CompareState state = observing();
    const auto first = runComparisonChain(state, elements, "C6H12O6");
    ASSERT_TRUE(first);
    const PeakList simPeaks = state.simulation.simPeaks;
    EXPECT_FALSE(runComparisonChain(state, elements, "C6h12"));
    EXPECT_EQ(state.formula.formulaText, "C6h12");
    EXPECT_EQ(std::pair(state.formula.formulaTable[0].count, squaredErrorSum(state.comparison)), std::pair(-1, *first));
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
    std::string text;
    while (text.size() < 10000) text += "C6H12O6";
    CompareState alone = observing();
    ASSERT_EQ(runComparisonChain(state, elements, text), runComparisonChain(alone, elements, text.substr(0, 60)));
    EXPECT_EQ(state.formula.formulaText, text.substr(0, 60));
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, alone.simulation.simPeaks));
    EXPECT_EQ(runComparisonChain(state, elements, "C6H12O6"), first);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
}

// Fuzz findings: two carbon entries of 327777777 atoms, thousands of peaks
// each, whose combination once ran for minutes (the observed peaks, a mass
// typed twice, play no part in it); and a damaged data file that gave neon
// abundances adding up to a little over 1, so the per-atom passes of a count
// in the thousands never pruned their list empty; so do ten xenon isotopes
// that never merge. Each finishes with a sound group (ascending masses,
// abundances finite and at most 100 up to Real48 rounding) or is refused as
// too large; any other error fails the test, and a hang never returns. That
// the merge tree is released after an error, and that a run gives what a
// fresh one gives, the simulation's own tests check.
TEST(RunComparisonChain, NonsenseIsotopeDataAndHugeCountsNeverHang) {
    ElementTable elements = shippedElements();
    elements[54].isotopeCount = 10;
    for (std::size_t j = 1; j <= 9; ++j)
        elements[54].slots[j - 1].isotope = {storeReal48(100.0L + 0.3L * j), storeReal48(0.1001L)};
    elements[54].lastIsotope = {storeReal48(103.0L), storeReal48(0.1001L)};
    elements[10].slots[2].isotope.abundance = storeReal48(0.0954297L);
    CompareState state = observing(observedOf({{200, 100}, {200, 50}}));
    for (const char* text : {"C327777777C327777777H12", "Ne18582", "Xe5", "Xe5000", "O2147483647"}) {
        try {
            if (!runComparisonChain(state, elements, text)) continue;
        } catch (const SimulationTooLargeError&) {
            continue;
        } catch (const ComparisonTooWideError&) {
            continue;
        }
        const PeakList& peaks = state.simulation.simPeaks;
        for (int i = 1; i <= peaks.count(); ++i) {
            EXPECT_GT(loadReal48(peaks[i].mass), i > 1 ? loadReal48(peaks[i - 1].mass) : 0.0L) << text << i;
            EXPECT_TRUE(std::isfinite(peaks[i].abundance) && peaks[i].abundance <= 100.000001L) << text << i;
        }
    }
}

}  // namespace
}  // namespace isoquill
