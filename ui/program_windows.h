// The program's windows, created once in this order and kept for the whole
// run: the main window first (its creation loads "PSE.DAT"), then the plot,
// the About window, the missing-data message and the candidates window.
#pragma once

#include "compare/plot_window.h"
#include "fragment/candidates_window.h"
#include "ui/about_window.h"
#include "ui/main_window.h"
#include "ui/missing_data_window.h"

namespace isoquill {

struct ProgramWindows {
    ProgramWindows();

    TForm1 form1;
    TForm12 form12;
    TForm10 form10;
    TForm7 form7;
    CandidatesWindow candidates;
};

}  // namespace isoquill
