#include "cli/peak_file_input.h"

#include <algorithm>
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
    // The window's message, each of its lines naming the file.
    if (const std::string message = peakListPasteMessage(paste); !message.empty()) {
        std::string named;
        for (std::size_t start = 0; start < message.size();) {
            const std::size_t end = std::min(message.find('\n', start), message.size());
            named += (named.empty() ? "" : "\n") + name + ": " + message.substr(start, end - start);
            start = end + 1;
        }
        throw InputError(named);
    }
    if (paste.added == 0) throw InputError(name + ": keine Peaks");
}

}  // namespace isoquill::cli
