// The widest peak group the comparison can place: the simulation refuses a
// wider one before it allocates it, rather than compute what can never be shown.
#pragma once

#include <stdexcept>

namespace isoquill {

// Grid positions and rows beyond this raise ComparisonTooWideError.
constexpr int maxComparisonRows = 10000;

class ComparisonTooWideError : public std::runtime_error {
public:
    ComparisonTooWideError();
};

}  // namespace isoquill
