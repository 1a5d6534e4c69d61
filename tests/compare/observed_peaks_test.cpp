#include "compare/observed_peaks.h"

#include <random>

#include <gtest/gtest.h>

#include "compare/peak_list_text.h"
#include "peak_values.h"

namespace isoquill {
namespace {

using namespace testing;
using Pair = std::array<std::string, 2>;

TEST(ObservedPeaks, AddStoresTheRoundedAbundanceAndRefusesWhatCannotBeStored) {
    ObservedPeaks observed;
    ASSERT_TRUE(addObservedPeak(observed, 180, 0.1L));
    EXPECT_EQ(observed.observedPeaks[1].abundance, roundReal48(0.1L));
    EXPECT_FALSE(addObservedPeak(observed, 181, 1e-40L));  // below the Real48 range: rounds to 0
    EXPECT_FALSE(addObservedPeak(observed, 0, 1.0L));
    EXPECT_THROW(addObservedPeak(observed, 12, 1e39L), FloatOverflowError);
    EXPECT_THROW(addObservedPeak(observed, 0, 1e39L), FloatOverflowError);
    EXPECT_EQ(observed.observedNext, 2);
    // The 255th peak is refused, so observedNext cannot wrap.
    for (int i = 2; i <= observedPeakLimit; ++i) ASSERT_TRUE(addObservedPeak(observed, 1000 - i, 1.0L));
    EXPECT_FALSE(addObservedPeak(observed, 5, 1.0L));
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
    EXPECT_FALSE(deleteObservedPeak(observed, 0));
    EXPECT_EQ(observed.observedNext, 1);
    // The slots after the last peak stay zero: the comparison finds the end
    // of the list there, not through a count.
    for (const Peak& slot : observed.observedPeaks) EXPECT_TRUE(slot.mass.isZero() && slot.abundance == 0);
    EXPECT_EQ(peakListLine({storeReal48(12345678.0L), 123456.0L}), "12345678   123456.00000");
}

// Two fields take a decimal comma, one field is plain CSV; a run of
// separators is one. Only a line break followed by text makes several lines.
TEST(PeakListText, SplitsALineIntoMassAndAbundanceTextsAndTellsSeveralLines) {
    const std::pair<const char*, std::optional<Pair>> cases[] = {
        {"158\t51.4", Pair{"158", "51.4"}}, {"160;100", Pair{"160", "100"}}, {"  162   48,6 ", Pair{"162", "48.6"}},
        {"12;;\t 100", Pair{"12", "100"}},  {"161,5", Pair{"161", "5"}},     {"161,5;2", Pair{"161.5", "2"}},
        {"12,100,5", std::nullopt},         {"12\t100\t7", std::nullopt},   {"12", std::nullopt}, {" \t", std::nullopt},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(splitPeakLine(line), expected) << line;
    const std::pair<const char*, bool> texts[] = {{"12\t100", false}, {"12\t100\n", false}, {"12\t100\r\n", false},
                                                  {"", false}, {"12\n13", true}, {"12\r13", true}, {"12\n\n", true}};
    for (const auto& [text, several] : texts) EXPECT_EQ(holdsSeveralLines(text), several) << text;
}

// Line numbers count every line of the text, the header and blank ones too.
TEST(PeakListText, AddsEveryLineAsAddWouldAndCountsTheRefusedOnes) {
    ObservedPeaks observed;
    // Line 2 is a header, line 6 is not (only the first line can be); line 5
    // gives the mass as Add reads it; Add refuses line 7 (mass 0), 8 (rounds
    // to 0 as a Real48) and 9 (overflows a Real48).
    const PeakListPaste paste = addPeakList(observed, "\r\nm/z;Intensity\r\n160\t100\r\n\r\n158.7 51,4\r\n"
                                                      "Mass\tAbundance\n0\t5\n159\t1e-40\n159\t1e39\n162,48.6");
    EXPECT_EQ(paste.refusedLines, (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(valuesOf(observed), (PeakValues{{158, roundReal48(51.4L)}, {160, 100}, {162, roundReal48(48.6L)}}));
    EXPECT_EQ(refusedLinesMessage(paste.refusedLines), "4 Zeilen nicht übernommen: 6, 7, 8, 9");
    EXPECT_EQ(refusedLinesMessage({12}), "1 Zeile nicht übernommen: 12");
    // Peaks past the limit are refused by their line.
    std::string text;
    for (int mass = 1; mass <= observedPeakLimit; ++mass) text += std::to_string(mass) + "\t1\n";
    EXPECT_EQ(addPeakList(observed, text).refusedLines,
              (std::vector<int>{observedPeakLimit - 2, observedPeakLimit - 1, observedPeakLimit}));
    EXPECT_EQ(observed.count(), observedPeakLimit);
}

}  // namespace
}  // namespace isoquill
