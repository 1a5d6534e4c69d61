#include "ui/program_windows.h"

namespace isoquill {

// The missing-data message is a window of its own parented to the plot
// window, so the window manager keeps it above the plot (which is raised at
// every entry into the Compare page and overlaps its OK button). The plot's
// native window must exist before the message's is created for that.
ProgramWindows::ProgramWindows() : form12(form1.compareState().comparison), form7(&form12) {
    form12.winId();
    form1.setSecondaryWindows(form12, form10, form7);
}

}  // namespace isoquill
