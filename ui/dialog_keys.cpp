#include "ui/dialog_keys.h"

#include <QAbstractButton>
#include <QShortcut>

namespace isoquill {

void pressOnEnterAndEscape(QWidget* window, QAbstractButton* button) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        auto* shortcut = new QShortcut(QKeySequence(key), window);
        QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    }
}

}  // namespace isoquill
