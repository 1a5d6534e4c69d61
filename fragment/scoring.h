// Scoring of the fragment candidates against the observed peaks through the
// comparison chain, on a small pool of threads, and the order of the steps
// within "Generate".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chem/element_table.h"
#include "chem/formula.h"
#include "compare/compare_chain.h"
#include "fragment/enumeration.h"
#include "fragment/result_table.h"

namespace isoquill {

// The last comparison that scoring ran: the only one the Compare page's table
// and plot could ever show. `error` is empty when the syntax check refused
// the candidate's formula.
struct LastComparison {
    bool ran = false;
    std::optional<long double> error;
};

// What scoring leaves for the window's thread: the comparisons that scoring
// one candidate after another would have left in the shared state, and the
// missing-data notices it raised.
struct ScoringOutcome {
    LastComparison last;
    std::optional<std::string> lastAccepted;  // plain formula of the last candidate the syntax check took
    std::optional<std::string> lastRefused;   // plain formula of the last candidate, when it was refused
    // Each symbol once, in the order of its last notice: the missing-data
    // window ends on the symbol that one candidate after another leaves it
    // on, and a million equal notices would say nothing more.
    std::vector<Symbol> notices;
    // The earliest candidate whose comparison raised, when one did.
    std::optional<std::size_t> failed;
};

// Threads scoring uses: the hardware's, at least 1, at most 8.
int scoringThreadCount();

// For each candidate: with the formula table of `compare` (the backup) a
// complete code becomes a plain formula such as C6H12O6, the comparison chain
// runs on it and its least-square error is stored as the candidate's error.
// Incomplete codes keep error 0. The candidates are split over `threads`
// threads, each with its own copy of `compare`, which itself is only read; the
// errors are those of scoring them one after another, bit for bit. Where the
// text adds nothing the formula table is filled from the counts directly.
// An error raised by a comparison is the one of the earliest candidate that
// raises one; `outcome` then holds the notices raised up to it. Raises
// RunCancelled when the fragment state's control is cancelled. Every thread
// that scores, the calling one included, computes in ExtendedArithmetic's
// state whatever it had, and the caller's state comes back after.
void scoreCandidates(FragmentState& fragment, const CompareState& compare, const ElementTable& elementTable,
                     int threads, ScoringOutcome& outcome);

// On the window's thread, after scoring: `compare` as scoring one candidate
// after another leaves it (the last candidate's formula text, simulation and
// comparison; the formula table as before), then the notices raised through
// compare.showMissingData.
LastComparison applyScoring(CompareState& compare, const ElementTable& elementTable, const ScoringOutcome& outcome);

// On the window's thread: the notices through compare.showMissingData.
void showNotices(const CompareState& compare, const std::vector<Symbol>& notices);

struct GenerateResult {
    ResultTable table;
    std::optional<ScoringOutcome> scoring;  // set when the observed mean mass is above 0
};

// "Generate" once the range rows are taken, up to what touches the shared
// state: count masses, enumeration, tolerance filter, scoring when the observed
// mean mass is above 0, the result rows; the candidate lists released. Reads
// `compare` only, so it may run on another thread while the window repaints.
// On an error (too many candidates, one raised by a comparison, RunCancelled)
// no candidate is kept; result.scoring holds the notices raised before it.
// The range rows first take the mass mode's atom masses (applyMassMode, which
// may raise NoMonoisotopicMassError).
// Computes in ExtendedArithmetic's state, as scoreCandidates does.
void generateCandidates(FragmentState& fragment, const CompareState& compare, const ElementTable& elementTable,
                        GenerateResult& result, int threads = scoringThreadCount());

}  // namespace isoquill
