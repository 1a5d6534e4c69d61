// The fragment search for high-resolution data: candidate masses from mean
// atomic masses or monoisotopic ones, the tolerance in u or in ppm of the
// target, and the ion's charge. The defaults are the search as laid out.
#pragma once

#include <optional>
#include <stdexcept>
#include <vector>

#include "chem/element_table.h"
#include "chem/formula.h"
#include "chem/real48.h"

namespace isoquill {

struct Candidate;
struct CompareState;
struct FragmentState;

enum class MassMode {
    average,       // the element record's mean atomic mass
    monoisotopic,  // the mass of the element's most abundant isotope
};

enum class ToleranceUnit {
    u,    // massTolerance is a mass
    ppm,  // massTolerance is parts per million of targetMass
};

constexpr long double electronMass = 0.000548579909L;  // u

// The mass of the element's most abundant isotope (the lighter of equally
// abundant ones), or nothing when the record has no usable isotope data:
// such an element has no monoisotopic mass, never a mass of 0.
std::optional<Real48> monoisotopicMass(const ElementRecord& element);

// Raised when the monoisotopic search meets elements without isotope data;
// the front end reports the symbols as missing data.
class NoMonoisotopicMassError : public std::runtime_error {
public:
    explicit NoMonoisotopicMassError(std::vector<Symbol> symbols);
    const std::vector<Symbol>& symbols() const { return symbols_; }

private:
    std::vector<Symbol> symbols_;
};

// The range rows of the formula's leading entries with a count above 0 take
// their element's mass in the state's mode, so the count masses are built
// from it: the mean atomic mass (record 0's for an unknown symbol), as
// initRanges gives it, or the monoisotopic mass. Rows whose range allows no
// atom need none and keep theirs. Raises NoMonoisotopicMassError, naming each
// symbol once, and changes nothing when an element that may occur has no
// monoisotopic mass.
void applyMassMode(FragmentState& state, const Formula& formula, const ElementTable& elementTable);

// What the enumeration compares with, for the state's settings: every
// candidate's mass starts at startMass, -charge x electron mass rounded to
// Real48, so it is the ion's m/z; the window is |mass - target| <= tolerance,
// with a ppm tolerance converted once, target x ppm / 10^6 rounded to Real48.
// With the defaults: start 0, targetMass and massTolerance unchanged.
struct SearchWindow {
    long double startMass = 0.0L;
    long double target = 0.0L;
    long double tolerance = 0.0L;
};
SearchWindow searchWindow(const FragmentState& state);

// A result row's deviation in ppm: its deviation in u (candidateDeviation,
// as the result grid writes it) over the target, x 10^6. 0 for a target of 0
// (no row is ever written then).
long double deviationPpm(const Candidate& candidate, const Real48& target);

// The target that entering the Fragment page takes from the observed peaks:
// their mean mass in average mode, their lightest mass in monoisotopic mode
// (for molecules up to a few thousand u the monoisotopic peak). 0 when no
// peaks are observed.
Real48 observedTargetMass(MassMode mode, const CompareState& compare);

}  // namespace isoquill
