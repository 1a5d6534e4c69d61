#include "ui/page_focus.h"

#include <QApplication>

namespace isoquill {

PageFocus::PageFocus(QWidget* page) : QObject(page), page_(page) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

bool PageFocus::inPage(const QWidget* widget) const {
    return widget && (widget == page_ || page_->isAncestorOf(widget));
}

void PageFocus::focusChanged(QWidget* now) {
    if (!now || now->window() != page_->window()) return;
    const bool wasIn = inPage(last_);
    const bool isIn = inPage(now);
    // Set before emitting: a handler that moves the focus re-enters here.
    last_ = now;
    if (isIn && !wasIn) Q_EMIT entered();
    else if (wasIn && !isIn) Q_EMIT left();
}

}  // namespace isoquill
