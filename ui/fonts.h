// The fonts the windows are laid out for. Machines without them get fonts of
// the same metrics through Qt's font substitution: Liberation Mono for
// "Courier New" (fixed-pitch, so padded number columns line up) and
// Liberation Sans for "MS Sans Serif".
#pragma once

#include <QFont>

namespace isoquill {

// Registers the substitutes; the font functions below call it themselves.
void installFontSubstitutes();

QFont courierNew(int pixelSize);
QFont msSansSerif(int pixelSize);

}  // namespace isoquill
