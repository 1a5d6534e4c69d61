// The element table as the shipped "PSE.DAT" fills it, loaded once per test run.
#pragma once

#include "chem/element_table.h"

namespace isoquill::testing {

const ElementTable& shippedElements();

}  // namespace isoquill::testing
