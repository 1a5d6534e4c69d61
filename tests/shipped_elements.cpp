#include "shipped_elements.h"

namespace isoquill::testing {

const ElementTable& shippedElements() {
    static const ElementTable table = [] {
        ElementTable t;
        clearElementTable(t);
        loadElementFile(t, ISOQUILL_ELEMENT_FILE);
        return t;
    }();
    return table;
}

}  // namespace isoquill::testing
