#include "compare/peak_list_text.h"

#include <gtest/gtest.h>

#include "peak_values.h"

namespace isoquill {
namespace {

using namespace testing;
using Pair = std::array<std::string, 2>;

TEST(PeakListText, SplitsALineIntoMassAndAbundanceTexts) {
    // Two fields take a decimal comma, one field is plain CSV; a run of separators is one.
    const std::pair<const char*, std::optional<Pair>> cases[] = {
        {"158\t51.4", Pair{"158", "51.4"}}, {"160;100", Pair{"160", "100"}}, {"  162   48,6 ", Pair{"162", "48.6"}},
        {"12;;\t 100", Pair{"12", "100"}},  {"161,5", Pair{"161", "5"}},     {"161,5;2", Pair{"161.5", "2"}},
        {"12,100,5", std::nullopt},         {"12\t100\t7", std::nullopt},   {"12", std::nullopt}, {" \t", std::nullopt},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(splitPeakLine(line), expected) << line;
}

TEST(PeakListText, OnlyALineBreakFollowedByTextMakesSeveralLines) {
    const std::pair<const char*, bool> cases[] = {{"12\t100", false}, {"12\t100\n", false}, {"12\t100\r\n", false},
                                                  {"", false}, {"12\n13", true}, {"12\r13", true}, {"12\n\n", true}};
    for (const auto& [text, several] : cases) EXPECT_EQ(holdsSeveralLines(text), several) << text;
}

// Line numbers count every line of the text, the header and blank ones too.
TEST(PeakListText, AddsEveryLineAsAddWouldAndCountsTheRefusedOnes) {
    ObservedPeaks observed;
    // Line 2 is a header, line 6 is not (only the first line can be); line 5
    // gives the mass as Add reads it; Add refuses line 7 (mass 0), 8 (rounds
    // to 0 as a Real48) and 9 (overflows a Real48).
    const PeakListPaste paste = addPeakList(observed, "\r\nm/z;Intensity\r\n160\t100\r\n\r\n158.7 51,4\r\n"
                                                      "Mass\tAbundance\n0\t5\n159\t1e-40\n159\t1e39\n162,48.6");
    EXPECT_EQ(paste.added, 3);
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

TEST(PeakListText, TheCopiedTableReadsBackToTheSamePeaks) {
    const ObservedPeaks observed = observedOf({{12, 100}, {12, 3.25L}, {13, 1.1L}, {2000000, 0.00001L}});
    const auto table = peakListTable(observed);
    EXPECT_EQ(table[0], (Pair{"Mass", "Abundance"}));
    EXPECT_EQ(table[1], (Pair{"12", "100.00000"}));
    std::string text;
    for (const auto& [mass, abundance] : table) text += mass + "\t" + abundance + "\n";
    ObservedPeaks pasted;
    EXPECT_EQ(addPeakList(pasted, text).refusedLines, std::vector<int>{});
    EXPECT_EQ(valuesOf(pasted), valuesOf(observed));
}

}  // namespace
}  // namespace isoquill
