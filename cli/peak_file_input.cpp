#include "cli/peak_file_input.h"

#include <cstdio>

#include "cli/session.h"
#include "compare/peak_list_file.h"
#include "compare/peak_list_text.h"

namespace isoquill::cli {

void addPeakFile(ObservedPeaks& observed, const std::string& file) {
    const std::string name = file == "-" ? "<stdin>" : file;
    std::string text;
    try {
        text = file == "-" ? readPeakListFile(stdin, name) : readPeakListFile(file);
    } catch (const PeakListFileError& error) {
        throw InputError(error.what());
    }
    const PeakListPaste paste = addPeakList(observed, text);
    if (!paste.refusedLines.empty()) throw InputError(name + ": " + refusedLinesMessage(paste.refusedLines));
    if (paste.added == 0) throw InputError(name + ": keine Peaks");
}

}  // namespace isoquill::cli
