// The fragment search, checked against the plain enumeration, and what
// Generate makes of its candidates: result rows and comparison errors.
#include <fpu_control.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <random>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "chem/count_code.h"
#include "compare/peak_values.h"
#include "core_fixture.h"
#include "fragment/scoring.h"
#include "plain_enumeration.h"

namespace isoquill {
namespace {

using namespace testing;
using Rows = std::vector<ResultRow>;

// "C": 0 C lies exactly on the lower edge (kept), 2 C exactly on the upper
// one (never built). Target 0: only what is lighter than the tolerance. A
// count 0 entry ends the enumerated rows; with no entry at all, row 1 is
// still tried. Of sixteen entries only the fifteen rows that exist are
// filled and enumerated. Symbols without element data have mass 0: 201^3
// combinations of them lead nowhere when nitrogen alone reaches the limit.
TEST(Enumeration, ListsTheCombinationsWithinTheWindowFirstElementSlowest) {
    const long double carbon = loadReal48(shippedElements()[6].mass);
    struct Case { const char* formula; Ranges ranges; long double target, tolerance; std::vector<std::string> codes; };
    const Case cases[] = {
        {"CH", {{0, 2}, {0, 1}}, 15, 15, {"0.0", "0.1", "1.0", "1.1", "2.0", "2.1"}},
        {"C", {{0, 10}}, carbon, carbon, {"0", "1"}},
        {"CHO", {{1, 2}, {0, 0}, {0, 1}}, 30, 30, {"1.0.0", "1.0.1", "2.0.0", "2.0.1"}},
        {"CHO", {{1, 2}, {3, 2}, {0, 1}}, 30, 30, {}},
        {"CH", {{0, 5}, {0, 5}}, 0, 2.5, {"0.0", "0.1", "0.2"}},
        {"CH0O", {{1, 2}, {1, 1}, {1, 1}}, 20, 20, {"1", "2"}},
        {"", {{0, 2}}, 1, 1, {"0", "1", "2"}},
        {"CHNOSPFClBrINaKCaMgFeZn", Ranges(15, {1, 1}), 2000, 2000, {"1.1.1.1.1.1.1.1.1.1.1.1.1.1.1"}},
        {"XxXxXxN", {{0, 200}, {0, 200}, {0, 200}, {2, 50}}, 10, 0.5L, {}},
        {"XxXxXxN", {{0, 1}, {0, 0}, {0, 1}, {1, 3}}, 14, 0.5L, {"0.0.0.1", "0.0.1.1", "1.0.0.1", "1.0.1.1"}},
    };
    for (const Case& c : cases) {
        const Formula formula = parsed(c.formula);
        FragmentState state = prepared(formula, c.ranges, c.target, c.tolerance);
        std::vector<std::string> codes;
        for (const PlainCandidate& candidate : enumerated(state, formula)) codes.push_back(candidate.code);
        EXPECT_EQ(codes, c.codes) << c.formula;
    }
    // C + O alone lie above 21, but the hydrogen row's count masses, damaged
    // to k - 10, bring C1 H1 O1 and C1 H2 O1 back into the window.
    const Formula formula = parsed("CHO");
    FragmentState state = prepared(formula, {{0, 2}, {0, 10}, {0, 1}}, 20, 1);
    for (int k = 0; k <= 10; ++k) state.countMasses[1][k] = storeReal48(k - 10);
    EXPECT_EQ(enumerated(state, formula), plainEnumeration(state, formula));
    EXPECT_EQ(state.candidateList.size(), 2u);
}

// Over the limit nothing is kept. With no nitrogen every combination weighs
// exactly the limit 0 and none is a candidate; billions of them are refused,
// not walked through.
TEST(Enumeration, RefusesMoreCandidatesOrSearchStepsThanTheLimitAndKeepsNothing) {
    EXPECT_STREQ(TooManyCandidatesError().what(), "Zu viele Kandidaten: bitte die Bereiche oder die Toleranz einengen");
    const Formula formula = parsed("CH");
    FragmentState state = prepared(formula, {{0, 2}, {0, 1}}, 15, 15);
    state.candidateLimit = 6;
    EXPECT_EQ(enumerated(state, formula).size(), 6u);
    state.candidateLimit = 5;
    EXPECT_THROW(buildCandidates(state, formula), TooManyCandidatesError);
    EXPECT_EQ(state.previousList.capacity() + state.candidateList.capacity(), 0u);
    const Formula many = parsed("NXxXxXxXxXx");
    state = prepared(many, {{0, 1}, {0, 200}, {0, 200}, {0, 200}, {0, 200}, {0, 200}}, 0, 0);
    state.searchStepLimit = 1'000'000;
    EXPECT_THROW(buildCandidates(state, many), TooManyCandidatesError);
    EXPECT_TRUE(state.previousList.empty());
}

// The plain enumeration tries every combination with rounded arithmetic and
// no pruning from below, so it checks the search independently. Often the
// target is a candidate's mass and the tolerance (in u, or in ppm converting
// exactly to it) its distance to another, which puts candidates exactly on
// both edges. Some rows have no mass (an unknown symbol), a negative one (a
// damaged data file), or count masses that are not proportional to the count,
// which defeats the search's first guess. Half the runs search in ppm with a
// charge, most of them on monoisotopic masses.
TEST(Enumeration, MatchesThePlainEnumerationOnRandomRanges) {
    const std::vector<std::string> symbols{"C", "H", "N", "O", "S", "P", "Cl", "Br", "F", "Si", "Na", "Fe", "Xx"};
    std::mt19937 random(1);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    int exactPpmEdges = 0;
    for (int run = 0; run < 400; ++run) {
        std::string text;  // a formula of 1 to 5 entries
        Ranges ranges;
        const int elements = uniform(1, 5);
        for (int e = 0; e < elements; ++e) {
            text += symbols[uniform(0, int(symbols.size()) - 1)];
            const int von = uniform(-2, 12);
            ranges.push_back({von, uniform(0, 10) == 0 ? von - 1 : von + uniform(0, 15)});
        }
        const Formula formula = parsed(text);
        FragmentState state = prepared(formula, ranges, 0, 0);
        const bool ppm = uniform(0, 1) && text.find("Xx") == std::string::npos;  // Xx has no monoisotopic mass
        const int odd = uniform(0, elements - 1);
        if (ppm) {
            state.massMode = uniform(0, 3) ? MassMode::monoisotopic : MassMode::average;
            std::tie(state.toleranceUnit, state.ionCharge) = std::tuple(ToleranceUnit::ppm, uniform(-1, 1));
            applyMassMode(state, formula, shippedElements());
            initCountMasses(state, formula);
        } else if (uniform(0, 8) == 0) {
            state.rangeTable[odd].mass = storeReal48(-uniform(1, 40) * 0.7L);
            initCountMasses(state, formula);
        } else if (uniform(0, 8) == 0) {
            for (int k = 0; k <= maxAtomCount; ++k) state.countMasses[odd][k] = storeReal48(std::sqrt(k) * 9.5L);
        }
        long double heaviest = 0;
        for (int e = 0; e < elements; ++e) heaviest += loadReal48(state.countMasses[e][clampCount(ranges[e].second)]);
        state.targetMass = storeReal48(heaviest * uniform(ppm, 100) / 100);
        state.massTolerance = storeReal48(ppm ? 20'000 : 3);
        const std::vector<PlainCandidate> near = plainEnumeration(state, formula);
        state.massTolerance = storeReal48(ppm ? uniform(0, 5000) / 100.0L : uniform(0, 3000) / 1000.0L);
        if (near.size() >= 2 && uniform(0, 2) > 0) {
            const long double m = loadReal48(near[uniform(0, int(near.size()) - 1)].mass);
            const long double other = loadReal48(near[uniform(0, int(near.size()) - 1)].mass);
            const long double distance = roundReal48(std::fabs(other - m));
            state.targetMass = storeReal48(m);
            state.massTolerance = storeReal48(ppm ? distance / m * 1'000'000 : distance);
            exactPpmEdges += ppm && searchWindow(state).tolerance == distance && distance > 0;
        }
        EXPECT_EQ(enumerated(state, formula), plainEnumeration(state, formula)) << text << " run " << run;
    }
    EXPECT_GT(exactPpmEdges, 20);
}

// Observed glucose peaks, and the comparison that gives them a mean mass.
CompareState comparedGlucose() {
    CompareState compare = observing();
    runComparisonChain(compare, shippedElements(), "C6H12O6");
    return compare;
}

// The formula typed and its candidates within the window, by default ranges around glucose.
FragmentState fragmentRun(CompareState& compare, std::string_view formula = "C6H12O6",
                          const Ranges& ranges = {{5, 8}, {0, 16}, {4, 7}}, long double target = 180.16L,
                          long double tolerance = 0.5L) {
    compare.formula = parsed(formula);
    FragmentState fragment = prepared(compare.formula, ranges, target, tolerance);
    buildCandidates(fragment, compare.formula);
    filterByTolerance(fragment);
    return fragment;
}

Rows texts(const ResultTable& table) {
    Rows rows;
    for (std::size_t r = 0; r < table.rows.size(); ++r) rows.push_back(resultRowTexts(table, r));
    return rows;
}

// Only candidates closer to the target than the target itself are written;
// a long formula is written whole.
TEST(ResultTable, RowTextsFollowTheColumnFormats) {
    const Formula glucose = parsed("C6H12O6");
    FragmentState fragment;
    fragment.codeFields = 3;
    fragment.targetMass = storeReal48(180);
    // Not written: a tiny mass whose deviation rounds to -180, and one too heavy.
    fragment.candidateList = {{{6, 12, 6}, storeReal48(180.0634L), storeReal48(12.34L)},
                              {{1, 1, 1}, storeReal48(std::ldexp(1.0L, -40)), Real48{}},
                              {{6, 0, 6}, storeReal48(179.75L), storeReal48(1234.56L)},
                              {{200, 0, 0}, storeReal48(2402.14L), storeReal48(1e30L)}};
    EXPECT_EQ(texts(ausgebenRows(fragment, glucose)), (Rows{{"  180.063 : ", " 0.06 : ", "12.3", " C6  H12 O6 "},
                                                            {"  179.750 : ", "-0.25 : ", "1234.6", " C6  O6 "}}));
    fragment.codeFields = 15;
    fragment.candidateList = {{{150, 200, 30, 40, 5, 1, 10, 2, 3, 4, 5, 6, 7, 8, 9}, storeReal48(179.5L), Real48{}}};
    EXPECT_EQ(texts(ausgebenRows(fragment, parsed("CHNOSPClBrFSiNaKCaMgAl"))).at(0)[3],
              " C150 H200 N30 O40 S5  P1  Cl10 Br2  F3  Si4  Na5  K6  Ca7  Mg8  Al9 ");
}

// Each error must be what the comparison chain gives for the candidate's
// formula text on its own, in a state that never saw the other candidates.
// A symbol of a capital and a blank is written without the blank, so its
// text names another element. A text of 61 characters (Cl10, eleven Cl100,
// C2) is scored as the chain cuts it, "C" for "C2", not as its counts say.
TEST(Scoring, StoresEachCandidatesComparisonError) {
    CompareState glucose = comparedGlucose(), spaced = glucose, chlorine = observing(observedOf({{39370, 100}}));
    Ranges chlorineRanges(13, {100, 100});
    chlorineRanges.front() = {10, 10};
    chlorineRanges.back() = {2, 2};
    std::pair<CompareState*, FragmentState> runs[] = {
        {&glucose, fragmentRun(glucose)},
        {&spaced, fragmentRun(spaced, "C HO", {{5, 8}, {0, 16}, {4, 7}}, 108.1L, 1)},
        {&chlorine, fragmentRun(chlorine, "ClClClClClClClClClClClClC", chlorineRanges, 39370, 100)}};
    for (auto& [compare, fragment] : runs) {
        ASSERT_FALSE(fragment.candidateList.empty());
        ScoringOutcome outcome;
        scoreCandidates(fragment, *compare, shippedElements(), 1, outcome);
        applyScoring(*compare, shippedElements(), outcome);
        std::string plain;
        for (const Candidate& c : fragment.candidateList) {
            plain = countCodeToFormula(countCode(c, fragment.codeFields), compare->formula);
            std::erase(plain, ' ');
            CompareState alone = observing(compare->observed);
            EXPECT_EQ(c.error, storeReal48(*runComparisonChain(alone, shippedElements(), plain))) << plain;
        }
        EXPECT_EQ(compare->formula.formulaText, plain.substr(0, 60));
    }
}

// Generate, again and again over one state as a session runs it: each run,
// finished or failed, releases both candidate lists, leaves no node in the
// merge tree and the typed formula table, and a finished one gives the same rows.
TEST(Scoring, RepeatedGeneratesLeaveTheStateAsTheyFoundIt) {
    const auto generate = [](FragmentState& fragment, CompareState& compare) {
        GenerateResult result;
        generateCandidates(fragment, compare, shippedElements(), result);
        if (result.scoring) applyScoring(compare, shippedElements(), *result.scoring);
        return texts(result.table);
    };
    CompareState compare = comparedGlucose();
    FragmentState fragment = fragmentRun(compare);
    const FormulaTable typed = compare.formula.formulaTable;
    const Rows rows = generate(fragment, compare);
    ASSERT_GE(rows.size(), 3u);
    ASSERT_NE(rows.front()[2], " 0.0");
    std::string last = rows.back()[3];
    std::erase(last, ' ');
    // Runs 100 and 101 fail: too many candidates, then an observed peak too far off.
    for (int i = 0; i < 102; ++i) {
        fragment.candidateLimit = i == 100 ? 2 : defaultCandidateLimit;
        if (i == 101) compare.observed = observedOf({{180, 100}, {181, 6.6L}, {182, 1.2L}, {20000, 1}});
        if (i < 100) {
            ASSERT_EQ(generate(fragment, compare), rows) << "run " << i;
        } else {
            EXPECT_THROW(generate(fragment, compare), std::runtime_error) << "run " << i;
        }
        EXPECT_TRUE(fragment.previousList.empty() && fragment.candidateList.empty()) << i;
        EXPECT_EQ(compare.simulation.peakTree.liveNodeCount(), 0) << i;
        EXPECT_TRUE(sameFormulaTable(compare.formula.formulaTable, typed)) << i;
        EXPECT_EQ(compare.formula.formulaText, last) << i;
    }
}

// Sn40 costs most of a lowered work limit, and the candidates share their
// entries: whether one is refused must not depend on what its thread
// simulated before. 1, 2 and 4 threads, on fresh states and one after another
// on one state, give the same errors and refuse the same candidate, the one a
// state that never saw another refuses first; and the window's replay of the
// last candidate, from the window's own state, agrees.
TEST(Scoring, TheWorkLimitJudgesEachCandidateAloneWhateverRanBefore) {
    constexpr std::int64_t limit = 25'550;
    struct Run {
        std::vector<Real48> errors;
        std::optional<std::size_t> failed;
        bool operator==(const Run&) const = default;
    };
    FragmentState fragment;
    const auto score = [&](CompareState& compare, int threads) {
        compare.simulation.peakTree.workLimit = limit;
        fragment = fragmentRun(compare, "CHSn", {{0, 30}, {0, 60}, {40, 40}}, 4898.4L, 60);
        Run run;
        ScoringOutcome outcome;
        try {
            scoreCandidates(fragment, compare, shippedElements(), threads, outcome);
            EXPECT_EQ(applyScoring(compare, shippedElements(), outcome).error, outcome.last.error);
        } catch (const SimulationTooLargeError&) {
            run.failed = outcome.failed;
        }
        for (const Candidate& c : fragment.candidateList) run.errors.push_back(run.failed ? Real48{} : c.error);
        return run;
    };
    CompareState shared = comparedGlucose();
    std::vector<Run> runs;
    for (int threads : {1, 2, 4}) {
        CompareState fresh = comparedGlucose();
        runs.push_back(score(fresh, threads));
        runs.push_back(score(shared, threads));
    }
    for (std::size_t r = 1; r < runs.size(); ++r) EXPECT_TRUE(runs[r] == runs[0]) << "run " << r;
    ASSERT_EQ(fragment.candidateList.size(), 610u);
    for (std::size_t i = 0; i < fragment.candidateList.size(); ++i) {
        const std::string code = countCode(fragment.candidateList[i], fragment.codeFields);
        std::string plain = countCodeToFormula(code, shared.formula);
        std::erase(plain, ' ');
        CompareState alone = observing(shared.observed);
        alone.simulation.peakTree.workLimit = limit;
        bool refused = false;
        try {
            runComparisonChain(alone, shippedElements(), plain);
        } catch (const SimulationTooLargeError&) {
            refused = true;
        }
        EXPECT_EQ(refused, runs[0].failed == i) << plain;
        if (refused) break;
    }
}

// A thread may start with another x87 state than the program's: 53-bit
// precision control (which some runtimes set) or rounding towards zero.
// Generate on such a thread gives the same rows and errors to the bit, and
// leaves the thread's state as it found it.
TEST(Scoring, AThreadStartedWithAnotherPrecisionOrRoundingScoresTheSameBits) {
    CompareState compare = comparedGlucose();
    const FragmentState prepared = fragmentRun(compare, "CHNO", {{0, 30}, {0, 60}, {0, 4}, {0, 10}}, 300, 3);
    const auto generate = [&] {
        FragmentState fragment = prepared;
        GenerateResult result;
        generateCandidates(fragment, compare, shippedElements(), result, 2);
        std::vector<std::pair<Real48, Real48>> rows;
        for (const Candidate& c : result.table.rows) rows.emplace_back(c.mass, c.error);
        return rows;
    };
    const auto reference = generate();
    ASSERT_GT(reference.size(), 1000u);
    const struct { const char* name; fpu_control_t precision; int rounding; } starts[] = {
        {"53-bit precision", _FPU_DOUBLE, FE_TONEAREST}, {"rounding towards zero", _FPU_EXTENDED, FE_TOWARDZERO}};
    for (const auto& start : starts) {
        std::thread([&] {
            fpu_control_t control, after;
            _FPU_GETCW(control);
            control = (control & ~_FPU_EXTENDED) | start.precision;
            _FPU_SETCW(control);
            std::fesetround(start.rounding);
            _FPU_GETCW(control);
            EXPECT_TRUE(generate() == reference) << start.name;
            _FPU_GETCW(after);
            EXPECT_EQ(std::tuple(after, std::fegetround()), std::tuple(control, start.rounding)) << start.name;
        }).join();
    }
}

// Thousands of candidates, some with a symbol without data and some whose
// symbol the text path must take: the threads give the errors, the notices
// (each symbol without data once, in the order of its last notice) and the
// final comparison of one thread, bit for bit; and when a comparison fails,
// its error with the notices raised before it.
TEST(Scoring, ParallelScoresEqualSerialScores) {
    for (auto [formula, missing] : {std::pair{"CHXxOYy", 2u}, {"CHNOC(", 1u}}) {
        SCOPED_TRACE(formula);
        std::vector<std::vector<Candidate>> scored;
        std::vector<ScoringOutcome> outcomes, failed(2);
        for (int threads : {1, 3}) {
            CompareState compare = comparedGlucose();
            FragmentState fragment = fragmentRun(compare, formula, {{0, 30}, {0, 60}, {0, 4}, {0, 10}, {0, 1}}, 300, 3);
            scoreCandidates(fragment, compare, shippedElements(), threads, outcomes.emplace_back());
            scored.push_back(fragment.candidateList);
            // From the 601st candidate on, the simulations are too large.
            compare.simulation.peakTree.workLimit = 1500;
            for (std::size_t i = 600; i < fragment.candidateList.size(); ++i)
                std::fill_n(fragment.candidateList[i].counts.begin(), 4, 255);
            EXPECT_THROW(scoreCandidates(fragment, compare, shippedElements(), threads, failed[threads / 3]),
                         SimulationTooLargeError);
        }
        ASSERT_GT(scored[0].size(), 2000u);
        ASSERT_EQ(scored[0].size(), scored[1].size());
        for (std::size_t i = 0; i < scored[0].size(); ++i) ASSERT_EQ(scored[0][i].error, scored[1][i].error) << i;
        EXPECT_EQ(std::tuple(outcomes[0].notices.size(), failed[0].notices.empty(), outcomes[1].last.error.has_value()),
                  std::tuple(missing, false, true));
        EXPECT_EQ(std::tuple(outcomes[0].notices, failed[0].notices, outcomes[0].lastAccepted, outcomes[0].last.error),
                  std::tuple(outcomes[1].notices, failed[1].notices, outcomes[1].lastAccepted, outcomes[1].last.error));
    }
    // Only the last candidate notices Yy, before its Xx: by their last notices
    // Yy comes first.
    CompareState compare = comparedGlucose();
    FragmentState fragment = fragmentRun(compare, "YyCXx", {{0, 1}, {1, 1}, {1, 1}}, 12, 1);
    ScoringOutcome outcome;
    scoreCandidates(fragment, compare, shippedElements(), 1, outcome);
    std::vector<std::string_view> noticed;
    for (const Symbol& symbol : outcome.notices) noticed.push_back(symbol.text());
    EXPECT_EQ(noticed, (std::vector<std::string_view>{"Yy", "Xx"}));
}

}  // namespace
}  // namespace isoquill
