// Enter and Escape in a small message window press its one button, as they
// would in a dialog; Space on the focused button works as for any button.
#pragma once

class QAbstractButton;
class QWidget;

namespace isoquill {

// While `window` is active, Return, Enter and Escape click `button`.
void pressOnEnterAndEscape(QWidget* window, QAbstractButton* button);

}  // namespace isoquill
