// The fragment generator's enumeration: every combination of atom counts for
// the formula's leading elements whose mass lies within the tolerance of the
// target mass, in order of the counts with the first element's varying slowest.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "chem/element_table.h"
#include "chem/formula.h"
#include "chem/real48.h"
#include "fragment/mass_mode.h"

namespace isoquill {

constexpr int rangeRowCount = 15;   // elements a code can hold
constexpr int maxAtomCount = 200;   // highest count countMasses holds
constexpr std::size_t defaultCandidateLimit = 2'000'000;
// Combinations the search may look at in one run (about a second). Rows
// without mass can make it look at billions that lie exactly on the limit and
// so yield nothing; such a run is refused like one with too many candidates.
constexpr std::int64_t defaultSearchStepLimit = 200'000'000;

struct ElementRange {
    Real48 mass;           // u, one atom, in the run's mass mode; below 1.0 the row counts as new
    std::int32_t von = 0;  // lowest count tried, 0..200
    std::int32_t bis = 0;  // highest count tried, 0..200; below von: no candidate
};

// A combination of the search and, once it passed the tolerance filter, a
// candidate of the result list. Its count code is made from the counts when
// needed: a million candidates must not hold a million strings.
struct Candidate {
    std::array<std::uint8_t, rangeRowCount> counts{};  // range rows 1..codeFields at [0..codeFields-1]
    Real48 mass;   // running mass, rounded to Real48 after every element
    Real48 error;  // least-square error, 0 until scored
};

// The count code of a candidate with `fields` fields, e.g. "6.12.6".
std::string countCode(const Candidate& candidate, int fields);

// Raised inside a run whose RunControl was cancelled; nothing is kept.
class RunCancelled : public std::exception {
public:
    const char* what() const noexcept override;
};

// Shared between a run on a worker thread and the window that waits for it.
struct RunControl {
    std::atomic<bool> cancel{false};
    std::atomic<std::size_t> found{0};   // combinations the enumeration has kept so far
    std::atomic<std::size_t> toScore{0};  // candidates scoring started on; 0 before
    std::atomic<std::size_t> scored{0};   // candidates scored so far
};

// Raised when a run would hold more than candidateLimit candidates; nothing is
// kept. The message is shown to the user.
class TooManyCandidatesError : public std::runtime_error {
public:
    TooManyCandidatesError();
};

struct FragmentState {
    std::array<ElementRange, rangeRowCount> rangeTable{};  // row i at [i - 1]
    // [e - 1][k]: the mass of k atoms of row e; 0 outside the row's von..bis.
    std::array<std::array<Real48, maxAtomCount + 1>, rangeRowCount> countMasses{};
    Real48 targetMass;                         // u; the ion's m/z when ionCharge is not 0
    Real48 massTolerance = storeReal48(0.5L);  // in toleranceUnit
    MassMode massMode = MassMode::average;
    ToleranceUnit toleranceUnit = ToleranceUnit::u;
    int ionCharge = 0;  // -1, 0 or +1: candidate masses are m/z = mass - ionCharge x electronMass
    std::size_t candidateLimit = defaultCandidateLimit;
    std::int64_t searchStepLimit = defaultSearchStepLimit;

    RunControl* control = nullptr;  // when set, the run reports progress and can be cancelled

    int codeFields = 0;                   // fields per code of the last build
    std::vector<Candidate> previousList;  // built, before the tolerance filter
    std::vector<Candidate> candidateList; // the result list
};

// A count clamped to the 0..200 that countMasses holds.
std::int32_t clampCount(std::int32_t count);

// Takes the counts of range grid row `row` (1..15) clamped; the grid shows the
// returned row's values afterwards.
const ElementRange& setRangeCounts(FragmentState& state, int row, std::int32_t von, std::int32_t bis);

// A range grid row without an element: mass 0, counts 0..0.
void clearRangeRow(FragmentState& state, int row);

// For each row i whose formula entry i has a count above 0: a new row gets
// the counts 0..5, and every such row the mass of the entry's element.
void initRanges(FragmentState& state, const Formula& formula, const ElementTable& elementTable);

// countMasses from the ranges of the formula's entries (at most 15), each
// mass x count formed in extended precision and rounded to Real48.
void initCountMasses(FragmentState& state, const Formula& formula);

// Fills previousList with every combination of the leading entries whose
// count is above 0 (at least row 1, at most 15 rows) that the plain
// element-by-element enumeration keeps: every running mass, starting from the
// search window's start mass, strictly below its target + tolerance. Combinations that are certainly too light to
// pass filterByTolerance are left out. Raises TooManyCandidatesError, with
// both lists released, when more than candidateLimit would be held, and
// RunCancelled likewise when the state's control is cancelled.
void buildCandidates(FragmentState& state, const Formula& formula);

// Moves every combination whose |mass - target|, rounded to Real48, is at
// most the tolerance (both of the search window, mass_mode.h) into
// candidateList, in order, and empties previousList.
void filterByTolerance(FragmentState& state);

// Empties both lists; small ones keep their storage for the next run.
void freeCandidateLists(FragmentState& state);

}  // namespace isoquill
