// A long run on a worker thread, watched from the main thread: progress on
// standard error once it has taken a second (only when that is a terminal),
// and Ctrl+C cancels it through its RunControl.
#pragma once

#include <functional>

#include "fragment/enumeration.h"

namespace isoquill::cli {

// Runs `body` on a worker thread and waits for it. Ctrl+C meanwhile sets
// control.cancel (the run then raises RunCancelled); whatever `body` raises is
// raised here. The progress line is erased when the run ends.
void runWatched(RunControl& control, const std::function<void()>& body);

}  // namespace isoquill::cli
