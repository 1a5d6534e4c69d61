// The busy cursor over the program's windows while a handler that may take
// more than a moment runs (a comparison, a fragment search). Made at the top
// of the handler, it is restored on every way out, an error included, before
// the error box shows. Nested ones keep the busy cursor until the outermost ends.
#pragma once

namespace isoquill {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace isoquill
