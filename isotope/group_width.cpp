#include "isotope/group_width.h"

#include <string>

namespace isoquill {

ComparisonTooWideError::ComparisonTooWideError()
    : std::runtime_error("Die Peakgruppen sind zu breit für den Vergleich (mehr als " +
                         std::to_string(maxComparisonRows) + " Zeilen)") {}

}  // namespace isoquill
