#include "ui/program_windows.h"

#include "fragment/result_grid.h"

namespace isoquill {

ProgramWindows::ProgramWindows()
    : form12(form1.compareState().comparison),
      candidates(form1, *form1.findChild<ResultGrid*>(QStringLiteral("StringGrid2"))) {
    form1.setSecondaryWindows(form12, form10, form7);
}

}  // namespace isoquill
