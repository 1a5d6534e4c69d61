// Peak lists from files on the Compare page's list: a text file dropped on
// it, or "Peakliste öffnen…" in its context menu. The file is read by the
// core's checks; what to do with its text is the page's.
#pragma once

#include <functional>
#include <string>

class QListWidget;

namespace isoquill {

// `take` gets each file's text, in the order dropped, and runs guarded: its
// errors, like a file that cannot be read, is too large or is not text, go
// to the error box, and such a file never reaches `take`.
void installPeakListFileCommands(QListWidget* list, std::function<void(const std::string& text)> take);

}  // namespace isoquill
