#include "shipped_elements.h"

namespace isoquill::testing {

const char* shippedElementFile() { return ISOQUILL_ELEMENT_FILE; }

const ElementTable& shippedElements() {
    static const ElementTable table = [] {
        ElementTable t;
        clearElementTable(t);
        loadElementFile(t, shippedElementFile());
        return t;
    }();
    return table;
}

}  // namespace isoquill::testing
