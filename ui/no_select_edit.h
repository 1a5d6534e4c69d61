// An edit field whose text is not selected when the focus enters it, so that
// tabbing into a formula field keeps the caret where it was instead of
// inviting the next key to replace the whole formula.
#pragma once

#include <QFocusEvent>
#include <QLineEdit>

class NoSelectEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override {
        // QLineEdit selects everything for exactly these reasons.
        const Qt::FocusReason reason = event->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
            QFocusEvent plain(event->type(), Qt::OtherFocusReason);
            QLineEdit::focusInEvent(&plain);
            return;
        }
        QLineEdit::focusInEvent(event);
    }
};
