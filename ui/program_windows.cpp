#include "ui/program_windows.h"

namespace isoquill {

ProgramWindows::ProgramWindows() : form12(form1.compareState().comparison) {
    form1.setSecondaryWindows(form12, form10, form7);
}

}  // namespace isoquill
